#pragma once
// Loading pictures off the event loop. A picture file may be slow to read or
// huge (a valid header in front of gigabytes of nothing); the saver must stay
// quick to end all the same, so pictures are decoded by one worker thread and
// handed back to their window on the event loop.
//
// One worker serves every window of the process, in the order they ask: the
// decoder's state is one record for the process (the global colour table of
// one file carries over to the next), so one decode runs at a time.
#include "config/PictureFolders.h"
#include "picture/PictureSink.h"
#include "platform/WinTypes.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A picture ready for drawing.
struct LoadedPicture {
    std::unique_ptr<BYTE[]> bits;  // 24-bit bottom-up rows padded to 4 bytes; null when unreadable
    int width = 0;
    int height = 0;
    std::string error;  // the decoder's text, as it was left
    // Set instead of a picture: the window's list with its folders expanded.
    std::unique_ptr<ExpandedPictureList> list;
};

class PictureWorker {
public:
    using Client = std::uint64_t;
    using Delivery = std::function<void(LoadedPicture)>;

    // The process's worker.
    static PictureWorker& Get();

    ~PictureWorker();

    // The calls below come from the event loop's thread. A client's pictures
    // are delivered to `deliver` there, one call each, in the order asked.
    Client Register(Delivery deliver);
    // Drops the client's waiting requests and abandons its picture in progress:
    // nothing is delivered to it any more. The last client to go ends the thread.
    void Unregister(Client client);
    // Asks for `path`, for `area` (its stop is the worker's own); `error` is
    // the GIF decoder's text so far. A picture request that is still waiting
    // is replaced: only the newest picture can be shown.
    void Request(Client client, std::string path, std::string error, PictureArea area = {});
    // Asks for `entries` with their folders expanded, delivered (after any
    // picture asked for before) only when some entry is a folder.
    void RequestList(Client client, std::vector<std::string> entries);

    // Abandons the picture in progress and ends the thread; requests that wait
    // are dropped. The next request starts it again.
    void Stop();
    // Waits until every request has been loaded and its delivery posted (for
    // tests and measurements).
    void WaitIdle();

private:
    struct Job {
        Client client = 0;
        std::string path;
        std::string error;
        PictureArea area;
        bool list = false;  // a list to expand, in `entries`
        std::vector<std::string> entries;
    };
    struct Finished {
        Client client;
        LoadedPicture picture;
    };

    PictureWorker() = default;
    void Queue(Job job);
    void Run();
    // Loads the next waiting picture, with the lock released meanwhile, and
    // files it for delivery; false when nothing waits.
    bool LoadNext(std::unique_lock<std::mutex>& lock);
    // On the event loop: hands the finished pictures to their clients.
    void DeliverFinished();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_thread;
    bool m_stopping = false;
    Client m_current = 0;                // whose picture is being loaded; 0: none
    std::atomic<bool> m_abandon{false};  // set to end the load in progress
    std::deque<Job> m_waiting;
    std::deque<Finished> m_finished;
    std::map<Client, Delivery> m_clients;
    Client m_nextClient = 1;
};

#include "saver/PictureWorker.h"

#include "platform/window/WindowSystem.h"
#include "saver/SaverWnd.h"

#include <algorithm>
#include <system_error>

PictureWorker& PictureWorker::Get() {
    static PictureWorker worker;
    return worker;
}

PictureWorker::~PictureWorker() { Stop(); }

PictureWorker::Client PictureWorker::Register(Delivery deliver) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const Client client = m_nextClient++;
    m_clients.emplace(client, std::move(deliver));
    return client;
}

void PictureWorker::Unregister(Client client) {
    bool last = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_clients.erase(client);
        const auto ofClient = [client](const auto& entry) { return entry.client == client; };
        m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(), ofClient), m_waiting.end());
        m_finished.erase(std::remove_if(m_finished.begin(), m_finished.end(), ofClient), m_finished.end());
        if (m_current == client)
            m_abandon = true;
        last = m_clients.empty();
    }
    if (last)
        Stop();
}

void PictureWorker::Request(Client client, std::string path, std::string error, PictureArea area) {
    area.stop = nullptr;
    Queue(Job{client, std::move(path), std::move(error), area, false, {}});
}

void PictureWorker::RequestList(Client client, std::vector<std::string> entries) {
    Queue(Job{client, {}, {}, {}, true, std::move(entries)});
}

void PictureWorker::Queue(Job job) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_clients.count(job.client))
        return;
    const auto waiting = std::find_if(m_waiting.begin(), m_waiting.end(), [&job](const Job& other) {
        return !job.list && !other.list && other.client == job.client;
    });
    if (waiting != m_waiting.end())
        *waiting = std::move(job);
    else
        m_waiting.push_back(std::move(job));
    if (!m_thread.joinable()) {
        try {
            m_thread = std::thread(&PictureWorker::Run, this);
        } catch (const std::system_error&) {
            // No thread to be had: load it here; it is still delivered on the
            // event loop, like any other.
            while (LoadNext(lock)) {
            }
            return;
        }
    }
    m_changed.notify_all();
}

void PictureWorker::Stop() {
    std::thread thread;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_abandon = true;
        m_waiting.clear();
        thread = std::move(m_thread);
    }
    m_changed.notify_all();
    if (thread.joinable())
        thread.join();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_finished.clear();
    m_stopping = false;
}

void PictureWorker::WaitIdle() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_waiting.empty() && m_current == 0; });
}

void PictureWorker::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_waiting.empty(); });
        if (m_stopping)
            return;
        LoadNext(lock);
    }
}

bool PictureWorker::LoadNext(std::unique_lock<std::mutex>& lock) {
    if (m_stopping || m_waiting.empty())
        return false;
    Job job = std::move(m_waiting.front());
    m_waiting.pop_front();
    m_current = job.client;
    m_abandon = false;
    lock.unlock();
    LoadedPicture picture;
    bool deliver = true;
    if (job.list) {
        auto list = std::make_unique<ExpandedPictureList>(ExpandPictureList(job.entries, &m_abandon));
        deliver = list->changed;
        picture.list = std::move(list);
    } else {
        job.area.stop = &m_abandon;
        picture = CSaverWnd::LoadPicture(job.path, std::move(job.error), job.area);
    }
    lock.lock();
    if (!m_abandon && deliver) {
        m_finished.push_back(Finished{job.client, std::move(picture)});
        // Posted before the worker counts as idle, so that whoever waits for
        // it finds the delivery queued.
        PostTaskToEventLoop([] { Get().DeliverFinished(); });
    }
    m_current = 0;
    m_changed.notify_all();
    return true;
}

void PictureWorker::DeliverFinished() {
    std::deque<Finished> finished;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        finished.swap(m_finished);
    }
    for (Finished& done : finished) {
        Delivery deliver;
        {
            // A client may have gone since, even during an earlier delivery.
            std::lock_guard<std::mutex> lock(m_mutex);
            const auto it = m_clients.find(done.client);
            if (it == m_clients.end())
                continue;
            deliver = it->second;
        }
        deliver(std::move(done.picture));
    }
}

#include "config/PictureFolders.h"

#include "config/GifListFile.h"
#include "picture/PictureLoader.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool Stopped(const std::atomic<bool>* stop) { return stop && stop->load(std::memory_order_relaxed); }

bool IsFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(fs::path(path), error);
}

class FolderScan {
public:
    FolderScan(std::size_t limit, std::vector<std::string>& out, const std::atomic<bool>* stop)
        : m_limit(limit), m_out(out), m_stop(stop) {}

    void Scan(const fs::path& folder, int depth = 0) {
        // Deeper than any real collection; bounds the stack however the
        // folders nest.
        if (depth > kMaxDepth)
            return;
        std::error_code error;
        // Each folder once, by where it really is: links cannot loop.
        const fs::path real = fs::canonical(folder, error);
        if (error || !m_seen.insert(real.string()).second)
            return;
        struct Entry {
            std::string name;
            fs::path path;
            bool folder;
        };
        std::vector<Entry> entries;
        fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
        for (; !error && it != fs::directory_iterator(); it.increment(error)) {
            if (Stopped(m_stop))
                return;
            std::string name = it->path().filename().string();
            if (name.empty() || name[0] == '.')
                continue;
            // The entry's own type is known without a look at the file; a link
            // is followed to what it names.
            std::error_code typeError;
            const bool folderEntry = it->is_directory(typeError);
            if (!folderEntry && !it->is_regular_file(typeError))
                continue;
            entries.push_back(Entry{std::move(name), it->path(), folderEntry});
        }
        std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
        for (const Entry& entry : entries) {
            if (m_out.size() >= m_limit || Stopped(m_stop))
                return;
            if (entry.folder)
                Scan(entry.path, depth + 1);
            else if (IsShownFormat(PeekPictureFormat(entry.path.string())))
                m_out.push_back(entry.path.string());
        }
    }

private:
    static constexpr int kMaxDepth = 128;
    std::size_t m_limit;
    std::vector<std::string>& m_out;
    const std::atomic<bool>* m_stop;
    std::set<std::string> m_seen;
};

}  // namespace

void ScanPictureFolder(const std::string& folder, std::size_t limit, std::vector<std::string>& out,
                       const std::atomic<bool>* stop) {
    FolderScan(limit, out, stop).Scan(fs::path(folder));
}

ExpandedPictureList ExpandPictureList(const std::vector<std::string>& entries, const std::atomic<bool>* stop) {
    ExpandedPictureList list;
    for (const std::string& entry : entries) {
        if (Stopped(stop))
            return {};
        list.starts.push_back(list.files.size());
        if (IsFolder(entry)) {
            list.changed = true;
            ScanPictureFolder(entry, kMaxGifListEntries, list.files, stop);
        } else if (list.files.size() < kMaxGifListEntries) {
            list.files.push_back(entry);
        }
    }
    if (Stopped(stop))
        return {};
    return list;
}

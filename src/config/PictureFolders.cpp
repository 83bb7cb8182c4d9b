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

// A name every picture reader would take for a picture. Such files are
// listed unopened (a folder of 100 000 photos would otherwise cost as many
// opens); their bytes still decide how they are read when their turn comes,
// and one that is no picture then shows black for its turn, as a broken GIF
// does. Files with other names are listed only when their first bytes are a
// picture's.
bool HasPictureName(const std::string& name) {
    static const char* const kExtensions[] = {".gif", ".jpg", ".jpeg", ".jpe", ".png", ".webp",
                                              ".bmp", ".heic", ".heif", ".avif"};
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    std::string extension = name.substr(dot);
    for (char& c : extension)
        c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    for (const char* known : kExtensions)
        if (extension == known)
            return true;
    return false;
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(fs::path(path), error);
}

class FolderScan {
public:
    FolderScan(std::size_t limit, std::vector<std::string>& out, const std::atomic<bool>* stop)
        : m_limit(limit), m_out(out), m_stop(stop) {}

    // Paths are made as folder + "/" + name, so that they read the same on
    // every system (Windows takes "/" as well).
    void Scan(const std::string& folder, int depth = 0) {
        // Deeper than any real collection; bounds the stack however the
        // folders nest.
        if (depth > kMaxDepth)
            return;
        std::error_code error;
        // Each folder once, by where it really is: links cannot loop.
        const fs::path real = fs::canonical(fs::path(folder), error);
        if (error || !m_seen.insert(real.string()).second)
            return;
        struct Entry {
            std::string name;
            bool folder;
        };
        std::vector<Entry> entries;
        fs::directory_iterator it(fs::path(folder), fs::directory_options::skip_permission_denied, error);
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
            entries.push_back(Entry{std::move(name), folderEntry});
        }
        std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
        const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
        for (const Entry& entry : entries) {
            if (m_out.size() >= m_limit || Stopped(m_stop))
                return;
            std::string path = prefix + entry.name;
            if (entry.folder)
                Scan(path, depth + 1);
            else if (HasPictureName(entry.name) || IsShownFormat(PeekPictureFormat(path)))
                m_out.push_back(std::move(path));
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
    FolderScan(limit, out, stop).Scan(folder);
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

#include "platform/qt/IniStore.h"

#include "platform/qt/IniDocument.h"
#include "platform/RegularFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// A settings file is a few hundred bytes; one far beyond that is something
// else, and is not read into memory.
constexpr long kMaxStoreBytes = 1 << 20;
// Saves take milliseconds; a holder that keeps the lock this long is stuck,
// and the save gives up rather than freeze the dialog.
constexpr auto kLockPatience = std::chrono::seconds(5);

void TellUnreadableOnce(const std::string& path) {
    static std::atomic<bool> told{false};
    if (!told.exchange(true))
        std::fprintf(stderr, "quorl: \"%s\" cannot be read as settings: the defaults are used and the file is left as it is\n",
                     path.c_str());
}

// The store's document: empty when the file is missing, nothing when it is
// no regular file or cannot be read as settings.
std::optional<IniDocument> LoadStore(const std::string& path) {
    if (!IsRegularFileOrMissing(path))
        return std::nullopt;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR))
        return IniDocument::Parse("");
    std::string bytes;
    UniqueFile file = OpenRegularFile(path);
    bool readable = file != nullptr;
    if (readable) {
        char buffer[8192];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0 && long(bytes.size()) <= kMaxStoreBytes)
            bytes.append(buffer, n);
        readable = !std::ferror(file.get()) && long(bytes.size()) <= kMaxStoreBytes;
    }
    std::optional<IniDocument> document;
    if (readable)
        document = IniDocument::Parse(bytes);
    if (!document)
        TellUnreadableOnce(path);
    return document;
}

// An exclusive flock on the store's folder, held while this lives. The
// folder rather than a lock file: it leaves nothing behind, and a lock file
// by the name QSettings used ("<file>.lock") would make an earlier version's
// QSettings wait for it to go stale.
class StoreLock {
public:
    explicit StoreLock(const std::string& folder) {
        m_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_fd < 0)
            return;
        const auto deadline = std::chrono::steady_clock::now() + kLockPatience;
        for (;;) {
            if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
                m_held = true;
                return;
            }
            const int error = errno;
            if (error == EINTR)
                continue;
            if (error != EWOULDBLOCK) {
                // A file system without locks: the rename alone keeps each save whole.
                m_held = true;
                return;
            }
            if (std::chrono::steady_clock::now() >= deadline)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    ~StoreLock() {
        if (m_fd >= 0)
            ::close(m_fd);  // and with it the lock
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;
    bool Held() const { return m_held; }

private:
    int m_fd = -1;
    bool m_held = false;
};

}  // namespace

std::optional<std::string> ReadIniValue(const std::string& path, const std::string& section, const std::string& key) {
    const std::optional<IniDocument> document = LoadStore(path);
    return document ? document->Value(section, key) : std::nullopt;
}

bool WriteIniValues(const std::string& path, const std::vector<IniChange>& changes) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path folder = fs::path(path).parent_path();
    fs::create_directories(folder, ec);
    StoreLock lock(folder.string());
    if (!lock.Held())
        return false;
    std::optional<IniDocument> document = LoadStore(path);
    if (!document)
        return false;
    for (const IniChange& change : changes)
        document->SetValue(change.section, change.key, change.escapedValue);
    // A store reached through a symbolic link is replaced where the link
    // points, and the link stays.
    std::string target = path;
    if (fs::is_symlink(path, ec)) {
        const fs::path real = fs::canonical(path, ec);
        if (!ec)
            target = real.string();
    }
    return WriteWholeFile(target, document->Bytes());
}

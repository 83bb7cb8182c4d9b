#include "platform/RegularFile.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

// The mode a new file gets: the old file's, else what the umask allows.
mode_t ModeForNewFile(const std::string& path) {
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0)
        return old.st_mode & 07777;
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A file being written is a hidden sibling named ".<name>.<pid>.XXXXXX". A
// writer killed before its rename leaves it behind (for a picture list,
// megabytes); the process id in the name tells a later writer whether the
// one that made it still runs.
std::string TempPrefix(const std::string& name) { return "." + name + "."; }

bool IsAlnum(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The writer's process id in the rest of a temporary's name after its
// prefix, or -1 when the name is no temporary's.
long TempWriter(const std::string& rest) {
    const std::size_t dot = rest.find('.');
    if (dot == 0 || dot == std::string::npos || rest.size() - dot - 1 != 6 ||
        rest.find_first_not_of("0123456789") != dot)
        return -1;
    for (std::size_t i = dot + 1; i < rest.size(); ++i)
        if (!IsAlnum(rest[i]))
            return -1;
    errno = 0;
    const long pid = std::strtol(rest.c_str(), nullptr, 10);
    return errno == 0 && pid > 0 && pid <= INT32_MAX ? pid : -1;
}

void RemoveStaleTemporaries(const std::string& dir, const std::string& prefix) {
    DIR* folder = ::opendir(dir.c_str());
    if (!folder)
        return;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const long writer = TempWriter(name.substr(prefix.size()));
        // kill(pid, 0) fails with ESRCH only when no such process exists.
        const bool stale = writer > 0 && writer != ::getpid() && ::kill(pid_t(writer), 0) != 0 && errno == ESRCH;
        if (stale)
            ::unlinkat(::dirfd(folder), name.c_str(), 0);
    }
    ::closedir(folder);
}

}  // namespace

UniqueFile OpenRegularFile(const std::string& path) {
    // O_NONBLOCK: opening a pipe without a writer returns at once instead of
    // waiting; it is then refused as not regular.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    std::FILE* file = nullptr;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        // Reads from here on block as usual.
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        file = ::fdopen(fd, "rb");
    }
    if (!file)
        ::close(fd);
    return UniqueFile(file);
}

bool IsRegularFileOrMissing(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR;
    return S_ISREG(info.st_mode);
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    const std::size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    const std::string prefix = TempPrefix(path.substr(slash == std::string::npos ? 0 : slash + 1));
    RemoveStaleTemporaries(dir, prefix);
    std::string temp = dir + "/" + prefix + std::to_string(::getpid()) + ".XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = ::fchmod(fd, ModeForNewFile(path)) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

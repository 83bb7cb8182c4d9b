#include "platform/RegularFile.h"

#include "platform/WinTypes.h"

#include <algorithm>
#include <fcntl.h>
#include <io.h>

namespace {

// Only a file on a disk counts: a folder, a device ("CON", "NUL", "COM1")
// or a pipe is none of ours.
bool IsDiskFile(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    return ::GetFileType(handle) == FILE_TYPE_DISK && ::GetFileInformationByHandle(handle, &info) &&
           !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

struct HandleCloser {
    HANDLE handle;
    ~HandleCloser() {
        if (handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle);
    }
};

}  // namespace

UniqueFile OpenRegularFile(const std::string& path) {
    // Others may go on reading, writing, renaming or deleting the file.
    HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    if (!IsDiskFile(handle)) {
        ::CloseHandle(handle);
        return nullptr;
    }
    const int fd = ::_open_osfhandle(intptr_t(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = ::_fdopen(fd, "rb");
    if (!file)
        ::_close(fd);  // closes the handle too
    return UniqueFile(file);
}

bool IsRegularFileOrMissing(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    return !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    const std::string temp = path + ".new";
    HandleCloser file{::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const DWORD chunk = DWORD(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        ok = ::WriteFile(file.handle, bytes.data() + done, chunk, &written, nullptr) && written > 0;
        done += written;
    }
    ok = ok && ::FlushFileBuffers(file.handle);
    ::CloseHandle(file.handle);
    file.handle = INVALID_HANDLE_VALUE;
    // Replaces the old file in one step, as rename does on POSIX systems.
    ok = ok && ::MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok)
        ::DeleteFileA(temp.c_str());
    return ok;
}

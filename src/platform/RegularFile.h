#pragma once
// Opening the files the user may have put anything at: line files, the
// picture list, pictures, the settings store.
#include <cstdio>
#include <memory>
#include <string>

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens `path` for binary reading when it is a regular file (links are
// followed); null for anything else. A named pipe would block the open until
// something writes to it, a device such as /dev/zero never ends, and a folder
// reads as nothing: none of them is a file of ours, so each counts as missing.
UniqueFile OpenRegularFile(const std::string& path);

// True when `path` names a regular file or nothing at all.
bool IsRegularFileOrMissing(const std::string& path);

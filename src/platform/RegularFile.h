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

// Replaces the file at `path` by one holding `bytes`: a sibling is written
// and renamed over it, so a reader sees the old contents or the new ones,
// never half of them. A new file takes the old one's permissions, else what
// the umask allows. False when anything failed; the old file is then as it was.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

#include "config/GifListFile.h"

#include "platform/Directories.h"
#include "platform/RegularFile.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

const char kListName[] = "GIFList.txt";

std::string ListPath() { return GetSystemDirectory() + "/" + kListName; }

// Reads the list file at `path` into `list` (left as it was when it is not
// a regular file that opens); relative entries are prefixed with `base`.
bool ReadListFile(const std::string& path, const std::string& base, std::vector<std::string>& list) {
    UniqueFile file = OpenRegularFile(path);
    if (!file)
        return false;
    // Lines of any length; LF or CR LF ends a line, and a last line without a
    // line end counts like the others. Empty lines are skipped; spaces stay.
    // Only the first kMaxGifListBytes are read: a line cut there is dropped.
    std::string line;
    auto take = [&] {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && list.size() < kMaxGifListEntries)
            list.push_back(line.front() == '/' ? line : base + line);
        line.clear();
    };
    std::size_t read = 0;
    for (int c; (c = std::fgetc(file.get())) != EOF;) {
        if (++read > kMaxGifListBytes) {
            line.clear();
            break;
        }
        if (c == '\n')
            take();
        else
            line.push_back(char(c));
    }
    take();
    return true;
}

}  // namespace

void ReadGifList(std::vector<std::string>& list) {
    list.clear();
    if (ReadListFile(ListPath(), "", list))
        return;
    // Without a list of their own the user sees the installed pictures, whose
    // relative entries name files beside that list.
    for (const std::string& dir : GetDefaultDataDirectories())
        if (ReadListFile(dir + "/" + kListName, dir + "/", list))
            return;
}

bool ReadGifListFile(const std::string& path, std::vector<std::string>& list) {
    list.clear();
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return ReadListFile(path, folder.empty() ? std::string() : folder + "/", list);
}

bool WriteGifList(const std::vector<std::string>& list) {
    const std::string dir = GetSystemDirectory();
    const std::string path = ListPath();
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);

    std::string bytes;
    for (const std::string& entry : list)
        bytes += entry + "\r\n";

    return WriteWholeFile(path, bytes);
}

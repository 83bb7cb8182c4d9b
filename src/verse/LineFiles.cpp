#include "verse/LineFiles.h"

#include "platform/Directories.h"
#include "platform/RegularFile.h"
#include "verse/VerseBook.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <strings.h>

namespace {

// A line is kept as a NUL-terminated copy, so it ends at its first NUL; the
// bytes after it still count towards the piece's length.
std::string EntryOf(std::string&& piece) {
    if (const std::size_t nul = piece.find('\0'); nul != std::string::npos)
        piece.resize(nul);
    return std::move(piece);
}

}  // namespace

std::vector<std::string> SplitIntoPieces(std::string_view text, std::size_t maxEntries) {
    std::vector<std::string> entries;
    std::string piece;
    bool pieceOpen = false;  // characters read since the last piece ended
    for (std::size_t i = 0; i < text.size() && entries.size() < maxEntries; ++i) {
        char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;  // CR LF reads as one line end
        pieceOpen = true;
        if (c == '\n') {
            entries.push_back(EntryOf(std::move(piece)));
            piece.clear();
            pieceOpen = false;
            continue;
        }
        piece.push_back(c);
        if (piece.size() == std::size_t(CVerseBook::kPieceLength)) {
            entries.push_back(EntryOf(std::move(piece)));
            piece.clear();
            pieceOpen = false;
        }
    }
    if (pieceOpen && entries.size() < maxEntries)
        entries.push_back(EntryOf(std::move(piece)));  // a last line without a line end
    return entries;
}

std::string FindFileIgnoringCase(const std::string& directory, const std::string& name) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_regular_file(fs::path(directory) / name, ec))
        return name;
    std::vector<std::string> matches;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        std::string candidate = it->path().filename().string();
        if (::strcasecmp(candidate.c_str(), name.c_str()) == 0)
            matches.push_back(candidate);
    }
    if (matches.empty())
        return {};
    return *std::min_element(matches.begin(), matches.end());
}

std::optional<std::vector<std::string>> ReadLineFile(const std::string& name, std::size_t maxEntries,
                                                     const std::string& directory) {
    std::string found = FindFileIgnoringCase(directory, name);
    if (found.empty())
        return std::nullopt;
    UniqueFile file = OpenRegularFile(directory + "/" + found);
    if (!file)
        return std::nullopt;
    // Every entry takes at most 249 bytes of the file (248 characters, or 247
    // and a CR LF), so this much holds all the entries that can be kept, and
    // a huge file costs no more than a small one.
    const std::size_t limit = maxEntries * (CVerseBook::kPieceLength + 1) + 1;
    std::string bytes;
    char buffer[16384];
    while (bytes.size() < limit) {
        std::size_t n = std::fread(buffer, 1, std::min(sizeof buffer, limit - bytes.size()), file.get());
        if (n == 0)
            break;
        bytes.append(buffer, n);
    }
    if (std::ferror(file.get()))
        return std::nullopt;
    return SplitIntoPieces(bytes, maxEntries);
}

std::optional<std::vector<std::string>> ReadLineFileOrDefault(const std::string& name, std::size_t maxEntries) {
    if (auto lines = ReadLineFile(name, maxEntries))
        return lines;
    for (const std::string& dir : GetDefaultDataDirectories())
        if (auto lines = ReadLineFile(name, maxEntries, dir))
            return lines;
    return std::nullopt;
}

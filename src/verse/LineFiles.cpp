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

bool Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Whether every lead byte has its continuation bytes, so the text is UTF-8
// as far as cutting it is concerned (a final sequence cut short by the read
// limit still counts).
bool SequencesComplete(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        if (length == 0 || lead > 0xF4)
            return false;
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
            if (!Continuation(text[i + k]))
                return false;
        i += length;
    }
    return true;
}

}  // namespace

std::vector<std::string> SplitIntoPieces(std::string_view text, std::size_t maxEntries) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);  // the byte-order mark some editors write
    // A long line of UTF-8 text is cut between characters, never inside one.
    const bool utf8 = SequencesComplete(text);
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
            std::string carried;
            if (utf8 && i + 1 < text.size() && Continuation(text[i + 1])) {
                std::size_t lead = piece.size() - 1;
                while (lead > 0 && Continuation(piece[lead]))
                    --lead;
                carried = piece.substr(lead);
                piece.resize(lead);
            }
            entries.push_back(EntryOf(std::move(piece)));
            piece = std::move(carried);
            pieceOpen = !piece.empty();
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
    // a huge file costs no more than a small one
    // (and a byte-order mark).
    const std::size_t limit = maxEntries * (CVerseBook::kPieceLength + 1) + 1 + 3;
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

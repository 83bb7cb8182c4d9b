#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reading the line files of the verse book.

// Splits text into entries: a CR LF pair counts as one line end; a piece ends
// after a line end or after 248 characters, whichever comes first, and is one
// entry without its line end. A line end at the very end adds no entry; blank
// lines give empty entries; an entry ends at its first NUL. At most
// `maxEntries` are returned. A UTF-8 byte-order mark at the start is skipped,
// and in UTF-8 text a piece that would end inside a character ends before it.
std::vector<std::string> SplitIntoPieces(std::string_view text, std::size_t maxEntries);

// The name of the file in `directory` that matches `name`: the exact name when
// it exists, else the first (in sorted order) that matches ignoring case, so
// "FIVES.TXT" is found for "fives.txt". Empty when none matches.
std::string FindFileIgnoringCase(const std::string& directory, const std::string& name);

// Reads the line file `name` from `directory` (by default the current one).
// Nothing when it is missing, unreadable or not a regular file.
std::optional<std::vector<std::string>> ReadLineFile(const std::string& name, std::size_t maxEntries,
                                                     const std::string& directory = ".");

// Reads the line file `name` from the current directory or, when it is not
// there, from the first folder of the installed defaults that has it.
std::optional<std::vector<std::string>> ReadLineFileOrDefault(const std::string& name, std::size_t maxEntries);

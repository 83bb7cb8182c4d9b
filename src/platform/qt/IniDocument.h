#pragma once
// The settings file's text, read and changed line by line, so that a file
// the user edited by hand keeps every line it had: comments, blank lines,
// other sections, unknown keys and their order, a byte-order mark, the line
// ends. Values are read by the rules the store's earlier writer (QSettings'
// INI format) used, so the files it wrote read the same.
//
// Plain C++: no toolkit, no file system.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IniDocument {
public:
    // The document in `bytes`, or nothing when they are no settings text:
    // anything but UTF-8 (an optional byte-order mark first), or control
    // characters other than tab, CR and LF. Such a file is no file of ours
    // and no text a user typed, and must never be rewritten.
    static std::optional<IniDocument> Parse(std::string_view bytes);

    // The value of `key` in `section` (UTF-8 names, as the program uses
    // them), unescaped; the last such line counts.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    // Gives `key` in `section` the already escaped value text `escaped`:
    // every line holding the key is rewritten in place; a new key goes after
    // the last entry of the section's last block, a new section at the end.
    void SetValue(std::string_view section, std::string_view key, std::string_view escaped);

    std::string Bytes() const;

private:
    enum class Kind { kBlank, kComment, kSection, kEntry, kOther };
    struct Line {
        std::string text;  // without its line end
        std::string end;   // "\n", "\r\n", or "" for a last line without one
        Kind kind = Kind::kOther;
        std::string name;  // the section's or the key's name, unescaped
    };
    static Line Classify(std::string text, std::string end);

    std::string m_bom;
    std::string m_lineEnd = "\n";  // what new lines end with: the file's own line end
    std::vector<Line> m_lines;
};

// A text value as the store writes it: control characters, quotes and
// backslashes escaped; quoted when it holds ';', ',' or '=' or begins or ends
// with a space; a leading '@' doubled.
std::string IniEscapedValue(std::string_view text);
// A section or key name as the store writes it: letters, digits, '_', '-'
// and '.' as they are, '/' as '\', anything else as %XX or %UXXXX (UTF-16).
std::string IniEscapedName(std::string_view name);

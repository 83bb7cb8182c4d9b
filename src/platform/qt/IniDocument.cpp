#include "platform/qt/IniDocument.h"

#include <cstdint>

// The reading rules are those of QSettings' INI format, which wrote the
// stores that exist: a value may be quoted, backslash escapes (\n, \x1f, \0,
// \") stand for characters, an unquoted ',' makes a list (read here as its
// items joined by ','), an unquoted ';' starts a comment, spaces around an
// unquoted value are dropped, and a leading "@@" stands for '@'. Names escape
// what is not a letter, a digit, '_', '-' or '.' as %XX or %UXXXX, counted in
// UTF-16 units. Lines starting with '#' are comments too, as in most INI
// files a user may have met; QSettings called them errors.

namespace {

const char kBom[] = "\xEF\xBB\xBF";

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = char(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

constexpr char32_t kInvalid = 0xFFFFFFFF;

// One code point of UTF-8 at `s[i]`, or kInvalid (one byte consumed) where
// the bytes are no UTF-8. Advances `i`.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
    const unsigned char lead = static_cast<unsigned char>(s[i++]);
    if (lead < 0x80)
        return lead;
    const int count = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 && lead < 0xF0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
    if (count < 0 || i + std::size_t(count) > s.size())
        return kInvalid;
    char32_t cp = lead & (0x3F >> count);
    for (int k = 0; k < count; ++k) {
        const unsigned char next = static_cast<unsigned char>(s[i + std::size_t(k)]);
        if ((next & 0xC0) != 0x80)
            return kInvalid;
        cp = (cp << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    static const char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[count] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
        return kInvalid;
    i += std::size_t(count);
    return cp;
}

bool IsValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();)
        if (NextCodePoint(s, i) == kInvalid)
            return false;
    return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Text as UTF-16 units, the units the escapes count in, and back.
std::u16string ToUtf16(std::string_view s) {
    std::u16string out;
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp = NextCodePoint(s, i);
        if (cp == kInvalid)
            cp = 0xFFFD;
        if (cp >= 0x10000) {
            out += char16_t(0xD800 + ((cp - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += char16_t(cp);
        }
    }
    return out;
}

std::string ToUtf8(const std::u16string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF)
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[++i] - 0xDC00);
        else if (cp >= 0xD800 && cp <= 0xDFFF)
            cp = 0xFFFD;  // half a pair
        AppendUtf8(out, cp);
    }
    return out;
}

std::string UnescapedName(std::string_view raw) {
    std::u16string out;
    for (std::size_t i = 0; i < raw.size();) {
        if (raw[i] == '\\') {
            out += u'/';
            ++i;
            continue;
        }
        if (raw[i] == '%') {
            const bool wide = i + 1 < raw.size() && raw[i + 1] == 'U';
            const std::size_t digits = wide ? 4 : 2, first = i + (wide ? 2 : 1);
            unsigned value = 0;
            bool ok = first + digits <= raw.size();
            for (std::size_t k = 0; ok && k < digits; ++k) {
                const int h = HexValue(raw[first + k]);
                ok = h >= 0;
                value = value * 16 + unsigned(h);
            }
            if (ok) {
                out += char16_t(value);
                i = first + digits;
                continue;
            }
        }
        std::size_t j = i + 1;
        while (j < raw.size() && raw[j] != '%' && raw[j] != '\\')
            ++j;
        out += ToUtf16(raw.substr(i, j - i));
        i = j;
    }
    return ToUtf8(out);
}

std::string SectionName(std::string_view raw) {
    if (EqualsIgnoringCase(raw, "general"))
        return {};  // the entries before any section
    if (EqualsIgnoringCase(raw, "%general"))
        return std::string(raw.substr(1));
    return UnescapedName(raw);
}

// A value's text after its '=', read as the escaped string (or list) it is.
std::string UnescapedValue(std::string_view raw) {
    static const char kEscapes[][2] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'},  {'r', '\r'}, {'t', '\t'},
                                       {'v', '\v'}, {'"', '"'},  {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    std::u16string current, joined;
    bool isList = false, inQuotes = false, quoted = false;
    std::size_t i = 0, chopLimit = 0;
    auto skipSpaces = [&] {
        while (i < raw.size() && IsSpace(raw[i]))
            ++i;
        chopLimit = current.size();
    };
    auto chopSpaces = [&] {
        while (current.size() > chopLimit && (current.back() == u' ' || current.back() == u'\t'))
            current.pop_back();
    };
    skipSpaces();
    while (i < raw.size()) {
        const char c = raw[i];
        if (c == '\\') {
            if (++i >= raw.size())
                break;
            const char e = raw[i++];
            bool known = false;
            for (const auto& escape : kEscapes)
                if (e == escape[0]) {
                    current += char16_t(escape[1]);
                    known = true;
                }
            if (!known && e == 'x') {
                char16_t unit = 0;
                bool any = false;
                for (; i < raw.size() && HexValue(raw[i]) >= 0; ++i, any = true)
                    unit = char16_t(unit * 16 + HexValue(raw[i]));
                if (any)
                    current += unit;
            } else if (!known && e >= '0' && e <= '7') {
                char16_t unit = char16_t(e - '0');
                for (; i < raw.size() && raw[i] >= '0' && raw[i] <= '7'; ++i)
                    unit = char16_t(unit * 8 + (raw[i] - '0'));
                current += unit;
            }  // any other escaped character is dropped
            chopLimit = current.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipSpaces();
        } else if (!inQuotes && c == ';') {
            break;  // a comment to the line's end
        } else if (!inQuotes && c == ',') {
            if (!quoted)
                chopSpaces();
            if (isList)
                joined += u',';
            joined += current;
            isList = true;
            current.clear();
            quoted = false;
            ++i;
            skipSpaces();
        } else {
            std::size_t j = i + 1;
            while (j < raw.size() && raw[j] != '\\' && raw[j] != '"' && raw[j] != ',' && raw[j] != ';')
                ++j;
            current += ToUtf16(raw.substr(i, j - i));
            i = j;
        }
    }
    if (!quoted)
        chopSpaces();
    if (isList)
        return ToUtf8(joined + u',' + current);
    std::string text = ToUtf8(current);
    if (text.rfind("@@", 0) == 0)
        text.erase(0, 1);
    return text;
}

// The text after a line's first '=' (an entry's raw value).
std::string_view RawValue(std::string_view text) { return text.substr(text.find('=') + 1); }

const char kHexDigits[] = "0123456789ABCDEF";
const char kLowerHexDigits[] = "0123456789abcdef";

}  // namespace

std::string IniEscapedValue(std::string_view text) {
    std::string out;
    if (!text.empty() && text.front() == '@')
        out += '@';
    bool needsQuotes = false, escapeNextIfHex = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x80) {
            // Text that is no UTF-8 (a name cut inside a character) is
            // written as the reader would take it, so the file stays
            // readable: a replacement character for each stray byte.
            std::size_t next = i;
            if (NextCodePoint(text, next) == kInvalid)
                out += "\xEF\xBF\xBD";
            else
                out += text.substr(i, next - i);
            i = next - 1;
            escapeNextIfHex = false;
            continue;
        }
        if (c == ';' || c == ',' || c == '=')
            needsQuotes = true;
        // A hex digit after a numeric escape would be read as part of it.
        if (escapeNextIfHex && HexValue(c) >= 0) {
            out += "\\x";
            out += kLowerHexDigits[u >> 4];
            out += kLowerHexDigits[u & 15];
            continue;
        }
        escapeNextIfHex = false;
        switch (c) {
        case '\0': out += "\\0"; escapeNextIfHex = true; break;
        case '\a': out += "\\a"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\v': out += "\\v"; break;
        case '"':
        case '\\': out += '\\'; out += c; break;
        default:
            if (u <= 0x1F) {
                out += "\\x";
                if (u >= 16)
                    out += kLowerHexDigits[u >> 4];
                out += kLowerHexDigits[u & 15];
                escapeNextIfHex = true;
            } else {
                out += c;
            }
        }
    }
    if (needsQuotes || (!out.empty() && (out.front() == ' ' || out.back() == ' ')))
        out = '"' + out + '"';
    return out;
}

std::string IniEscapedName(std::string_view name) {
    std::string out;
    for (const char16_t unit : ToUtf16(name)) {
        if (unit == u'/') {
            out += '\\';
        } else if ((unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') ||
                   (unit >= u'0' && unit <= u'9') || unit == u'_' || unit == u'-' || unit == u'.') {
            out += char(unit);
        } else if (unit <= 0xFF) {
            out += '%';
            out += kHexDigits[unit >> 4];
            out += kHexDigits[unit & 15];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += kHexDigits[(unit >> shift) & 15];
        }
    }
    return out;
}

std::optional<IniDocument> IniDocument::Parse(std::string_view bytes) {
    IniDocument document;
    if (bytes.substr(0, 3) == kBom) {
        document.m_bom = kBom;
        bytes.remove_prefix(3);
    }
    if (!IsValidUtf8(bytes))
        return std::nullopt;
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r' && c != '\n')
            return std::nullopt;
    bool endSeen = false;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t newline = bytes.find('\n', pos);
        const std::size_t stop = newline == std::string_view::npos ? bytes.size() : newline;
        std::string text(bytes.substr(pos, stop - pos));
        std::string end = newline == std::string_view::npos ? "" : "\n";
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
            end.insert(0, "\r");
        }
        if (!endSeen && !end.empty()) {
            document.m_lineEnd = end;
            endSeen = true;
        }
        document.m_lines.push_back(Classify(std::move(text), std::move(end)));
        pos = stop + 1;
    }
    return document;
}

IniDocument::Line IniDocument::Classify(std::string text, std::string end) {
    Line line{std::move(text), std::move(end), Kind::kOther, {}};
    std::string_view t = line.text;
    while (!t.empty() && IsSpace(t.front()))
        t.remove_prefix(1);
    if (t.empty()) {
        line.kind = Kind::kBlank;
    } else if (t.front() == ';' || t.front() == '#') {
        line.kind = Kind::kComment;
    } else if (t.front() == '[') {
        if (const std::size_t close = t.find(']'); close != std::string_view::npos) {
            line.kind = Kind::kSection;
            line.name = SectionName(t.substr(1, close - 1));
        }
    } else if (const std::size_t equals = t.find('='); equals != std::string_view::npos) {
        line.kind = Kind::kEntry;
        line.name = UnescapedName(Trimmed(t.substr(0, equals)));
    }
    return line;
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const {
    std::string current;  // the entries before any section belong to none
    const Line* found = nullptr;
    for (const Line& line : m_lines) {
        if (line.kind == Kind::kSection)
            current = line.name;
        else if (line.kind == Kind::kEntry && current == section && line.name == key)
            found = &line;
    }
    if (!found)
        return std::nullopt;
    return UnescapedValue(RawValue(found->text));
}

void IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view escaped) {
    const std::string text = IniEscapedName(key) + "=" + std::string(escaped);
    std::string current;
    bool rewritten = false;
    std::optional<std::size_t> anchor;  // the line a new entry goes after
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        Line& line = m_lines[i];
        if (line.kind == Kind::kSection) {
            current = line.name;
            if (current == section)
                anchor = i;
            continue;
        }
        if (current != section)
            continue;
        if (line.kind == Kind::kEntry && line.name == key) {
            line.text = text;
            rewritten = true;
        }
        if (line.kind == Kind::kEntry || line.kind == Kind::kOther)
            anchor = i;
    }
    if (rewritten)
        return;
    if (!m_lines.empty() && m_lines.back().end.empty())
        m_lines.back().end = m_lineEnd;  // the new lines go after a complete line
    if (!anchor) {
        if (!m_lines.empty() && m_lines.back().kind != Kind::kBlank)
            m_lines.push_back(Line{"", m_lineEnd, Kind::kBlank, {}});
        std::string header = EqualsIgnoringCase(section, "general") ? "%" + std::string(section)
                                                                    : IniEscapedName(section);
        m_lines.push_back(Line{"[" + header + "]", m_lineEnd, Kind::kSection, std::string(section)});
        anchor = m_lines.size() - 1;
    }
    m_lines.insert(m_lines.begin() + std::ptrdiff_t(*anchor + 1), Line{text, m_lineEnd, Kind::kEntry, std::string(key)});
}

std::string IniDocument::Bytes() const {
    std::string out = m_bom;
    for (const Line& line : m_lines)
        out += line.text + line.end;
    return out;
}

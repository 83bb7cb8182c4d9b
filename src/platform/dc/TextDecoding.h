#pragma once
// The saver's text is 8-bit bytes from line files that users write in whatever
// editor they have: today's files are UTF-8, older ones Windows-1252. A byte
// string that is valid UTF-8 is read as UTF-8, anything else as Windows-1252,
// so both kinds show their accented letters and no byte is ever dropped.
#include <string>
#include <string_view>

bool IsValidUtf8(std::string_view bytes);

// Windows-1252 byte to Unicode; the five bytes that code page leaves undefined
// map to the C1 controls of the same value, as Windows' own conversion does.
char32_t CodePointFromCp1252(unsigned char byte);

std::u32string DecodeText(std::string_view bytes);

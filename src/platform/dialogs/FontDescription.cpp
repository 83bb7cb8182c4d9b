#include "platform/dialogs/FontPicker.h"

#include <algorithm>
#include <cstring>

void SetFaceName(LOGFONT& lf, const std::string& face) {
    std::size_t n = std::min(face.size(), sizeof lf.lfFaceName - 1);
    // Never cut a UTF-8 sequence in two.
    while (n > 0 && n < face.size() && (static_cast<unsigned char>(face[n]) & 0xC0) == 0x80)
        --n;
    std::memcpy(lf.lfFaceName, face.data(), n);
    lf.lfFaceName[n] = '\0';
}

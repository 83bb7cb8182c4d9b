#include "app/Usage.h"

#include <cstring>

namespace {

const char kUsage[] =
    "Usage: quorl [s | p <window id> | c]\n"
    "       quorl --root | --window-id <id> | -window  [-delay N] [-picture-delay N] [-pictures PATH]\n"
    "\n"
    "  s               run the saver full screen\n"
    "  p <window id>   draw the preview inside that X11 window\n"
    "  c               show the configuration dialog (also with no word at all)\n"
    "  --root          run inside $XSCREENSAVER_WINDOW, or over the whole screen\n"
    "  --window-id ID  run inside that X11 window (0x60000F or decimal)\n"
    "  -window         run in an ordinary window of its own, for trying it out\n"
    "  -delay N        seconds between verses, for this run only\n"
    "  -picture-delay N  seconds between pictures, for this run only\n"
    "  -pictures PATH  a picture, a folder of pictures or a picture list, for this run only\n"
    "  --help, -h      show this text\n"
    "  --version       show the version\n"
    "\n"
    "In a Wayland session that offers layer shell, s covers every output natively;\n"
    "QUORL_DISPLAY=wayland or QUORL_DISPLAY=x11 forces either.\n"
    "The files it reads and where they live: quorl(6).\n";

}  // namespace

std::optional<std::string> InformationRequested(int argc, const char* const* argv) {
    if (argc < 2 || !argv[1])
        return std::nullopt;
    const char* word = argv[1];
    if (std::strcmp(word, "--help") == 0 || std::strcmp(word, "-h") == 0)
        return std::string(kUsage);
    if (std::strcmp(word, "--version") == 0)
        return std::string("quorl " QUORL_VERSION "\n");
    return std::nullopt;
}

// set_display_mode DEVICE WIDTH HEIGHT: changes one monitor's mode the way a
// user's display settings do, so that every window hears of it; status 0
// when the system took the change.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    if (argc < 4 || !EnumDisplaySettingsA(argv[1], ENUM_CURRENT_SETTINGS, &mode))
        return 2;
    mode.dmPelsWidth = DWORD(std::atoi(argv[2]));
    mode.dmPelsHeight = DWORD(std::atoi(argv[3]));
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    const LONG result = ChangeDisplaySettingsExA(argv[1], &mode, nullptr, 0, nullptr);
    std::printf("%ld\n", result);
    return result == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
}

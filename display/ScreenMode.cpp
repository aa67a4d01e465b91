#include "display/ScreenMode.h"

namespace display {
namespace {

// How long the settings broadcast waits for any one window.
constexpr UINT kBroadcastWaitMs = 500;

template <typename SetValue>
LONG ChangeCurrentMode(DWORD field, SetValue setValue) {
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    mode.dmDriverExtra = 0;
    if (!::EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) {
        return DISP_CHANGE_FAILED;
    }
    setValue(mode);
    mode.dmFields = field;
    return ::ChangeDisplaySettingsW(&mode, 0);
}

}  // namespace

LONG ChangeResolution(int width, int height) {
    return ChangeCurrentMode(DM_PELSWIDTH | DM_PELSHEIGHT, [&](DEVMODEW& mode) {
        mode.dmPelsWidth = static_cast<DWORD>(width);
        mode.dmPelsHeight = static_cast<DWORD>(height);
    });
}

LONG ChangeColourDepth(int bitsPerPixel) {
    return ChangeCurrentMode(DM_BITSPERPEL, [&](DEVMODEW& mode) {
        mode.dmBitsPerPel = static_cast<DWORD>(bitsPerPixel);
    });
}

LONG ChangeRefreshRate(int hertz) {
    return ChangeCurrentMode(DM_DISPLAYFREQUENCY, [&](DEVMODEW& mode) {
        mode.dmDisplayFrequency = static_cast<DWORD>(hertz);
    });
}

void BroadcastSettingChange() {
    // A plain send would wait for as long as any window of any program does not answer: each
    // window gets a bounded wait, and one the system already knows as hung is skipped.
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(HWND_BROADCAST, WM_WININICHANGE, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                          kBroadcastWaitMs, &ignored);
}

}  // namespace display

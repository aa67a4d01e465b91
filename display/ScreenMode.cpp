#include "display/ScreenMode.h"

namespace display {
namespace {

// How long the settings broadcast waits for any one window.
constexpr UINT kBroadcastWaitMs = 500;

static_assert(kFieldOrientation == DM_DISPLAYORIENTATION && kFieldBitsPerPixel == DM_BITSPERPEL &&
              kFieldWidth == DM_PELSWIDTH && kFieldHeight == DM_PELSHEIGHT &&
              kFieldFrequency == DM_DISPLAYFREQUENCY);
static_assert(DMDO_DEFAULT == 0 && DMDO_90 == 1 && DMDO_180 == 2 && DMDO_270 == 3);

}  // namespace

std::optional<DEVMODEW> DisplaySettingsApi::CurrentMode() {
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    mode.dmDriverExtra = 0;
    if (!::EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) {
        return std::nullopt;
    }
    return mode;
}

LONG DisplaySettingsApi::Change(const DEVMODEW& mode, DWORD flags) {
    DEVMODEW copy = mode;  // the system's parameter is not const
    return ::ChangeDisplaySettingsW(&copy, flags);
}

ModeValues ValuesOf(const DEVMODEW& mode) {
    ModeValues values;
    values.width = mode.dmPelsWidth;
    values.height = mode.dmPelsHeight;
    values.bitsPerPixel = mode.dmBitsPerPel;
    values.hertz = mode.dmDisplayFrequency;
    values.orientation = (mode.dmFields & DM_DISPLAYORIENTATION) != 0
                             ? mode.dmDisplayOrientation
                             : static_cast<DWORD>(DMDO_DEFAULT);
    return values;
}

DEVMODEW Requested(const DEVMODEW& current, const ModeRequest& request) {
    DEVMODEW mode = current;
    mode.dmPelsWidth = request.mode.width;
    mode.dmPelsHeight = request.mode.height;
    mode.dmBitsPerPel = request.mode.bitsPerPixel;
    mode.dmDisplayFrequency = request.mode.hertz;
    mode.dmDisplayOrientation = request.mode.orientation;
    mode.dmFields = request.fields;
    return mode;
}

DEVMODEW Restorable(const DEVMODEW& before) {
    DEVMODEW mode = before;
    if ((mode.dmFields & DM_DISPLAYORIENTATION) == 0) {
        mode.dmDisplayOrientation = DMDO_DEFAULT;
    }
    mode.dmFields |= kRestoredFields;
    return mode;
}

void BroadcastSettingChange() {
    // A plain send would wait for as long as any window of any program does not answer: each
    // window gets a bounded wait, and one the system already knows as hung is skipped.
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(HWND_BROADCAST, WM_WININICHANGE, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                          kBroadcastWaitMs, &ignored);
}

}  // namespace display

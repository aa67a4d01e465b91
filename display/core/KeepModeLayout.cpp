#include "display/core/KeepModeLayout.h"

#include <algorithm>

namespace display {

KeepButton KeepButtonAt(int x, int y) {
    if (kKeepButton.Contains(x, y)) {
        return KeepButton::Keep;
    }
    if (kRevertButton.Contains(x, y)) {
        return KeepButton::Revert;
    }
    return KeepButton::None;
}

KeepOrigin CentredKeepOrigin(int screenWidth, int screenHeight) {
    return {std::max(0, (screenWidth - kKeepWidth) / 2),
            std::max(0, (screenHeight - kKeepHeight) / 2)};
}

int SecondsLeft(std::uint64_t elapsedMs, std::uint64_t totalMs) {
    if (elapsedMs >= totalMs) {
        return 0;
    }
    return static_cast<int>((totalMs - elapsedMs + 999) / 1000);
}

std::wstring CountdownText(int seconds) {
    return std::to_wstring(std::max(0, seconds)) + L" 秒后将还原为先前的显示设置";
}

}  // namespace display

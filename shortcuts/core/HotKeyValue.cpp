#include "shortcuts/core/HotKeyValue.h"

namespace shortcuts {
namespace {

constexpr std::uint64_t kLeft = 0x25;
constexpr std::uint64_t kDown = 0x28;
constexpr std::uint64_t kDigit0 = 0x30;
constexpr std::uint64_t kDigit9 = 0x39;
constexpr std::uint64_t kLetterA = 0x41;
constexpr std::uint64_t kLetterZ = 0x5A;
constexpr std::uint64_t kNumpad0 = 0x60;
constexpr std::uint64_t kNumpad9 = 0x69;
constexpr std::uint64_t kF1 = 0x70;
constexpr std::uint64_t kF12 = 0x7B;
constexpr const wchar_t* kArrowNames[] = {L"LEFT", L"UP", L"RIGHT", L"DOWN"};

constexpr bool InRange(std::uint64_t key, std::uint64_t first, std::uint64_t last) {
    return key >= first && key <= last;
}

void Join(std::wstring& text, const wchar_t* part) {
    if (!text.empty()) {
        text += L'+';
    }
    text += part;
}

}  // namespace

std::wstring GetKeyName(std::uint64_t key) {
    if (InRange(key, kLeft, kDown)) {
        return kArrowNames[key - kLeft];
    }
    if (InRange(key, kDigit0, kDigit9) || InRange(key, kLetterA, kLetterZ)) {
        return std::wstring(1, static_cast<wchar_t>(key));
    }
    if (InRange(key, kNumpad0, kNumpad9)) {
        return L"NUM" + std::to_wstring(key - kNumpad0);
    }
    if (InRange(key, kF1, kF12)) {
        return L"F" + std::to_wstring(key - kF1 + 1);
    }
    return {};
}

HotKeyText FormatHotKey(HotKeyValue value) {
    HotKeyText result{{}, value};
    if (HasShift(value)) {
        Join(result.text, L"SHIFT");
    }
    if (HasCtrl(value)) {
        Join(result.text, L"CTRL");
    }
    if (HasAlt(value)) {
        if (HasShift(value) && HasCtrl(value)) {
            return {{}, 0};
        }
        Join(result.text, L"ALT");
    }
    const std::wstring name = GetKeyName(KeyOf(value));
    if (!name.empty()) {
        Join(result.text, name.c_str());
    }
    return result;
}

bool IsRegistrableHotKey(HotKeyValue value) {
    const bool any = HasShift(value) || HasCtrl(value) || HasAlt(value);
    const bool all = HasShift(value) && HasCtrl(value) && HasAlt(value);
    return any && !all && !GetKeyName(KeyOf(value)).empty();
}

HotKeyValue BoundHotKey(std::int64_t stored) {
    // The file holds a signed 32-bit number; anything wider has no meaning as a hotkey.
    if (stored < INT32_MIN || stored > UINT32_MAX) {
        return 0;
    }
    const auto value = static_cast<HotKeyValue>(stored);
    const HotKeyValue bounded =
        ModifierPart(HasShift(value), HasCtrl(value), HasAlt(value)) | KeyOf(value);
    return IsRegistrableHotKey(bounded) ? bounded : 0;
}

std::optional<HotKeyValue> CaptureKeyDown(std::uint64_t key, bool shift, bool ctrl, bool alt) {
    if (GetKeyName(key).empty()) {
        return std::nullopt;
    }
    HotKeyValue modifiers = ModifierPart(shift, ctrl, alt);
    if (modifiers == 0) {
        modifiers = kAloneModifiers;
    }
    return modifiers + static_cast<HotKeyValue>(key);
}

std::optional<HotKeyValue> CaptureAltCharacter(std::int64_t character, bool shift, bool alt) {
    if (character >= 'a' && character <= 'z') {
        character -= 'a' - 'A';
    }
    // Only letters and digits are their own key codes: a punctuation character that shares its
    // number with an arrow, keypad or function key must not become that key.
    const bool letterOrDigit =
        (character >= 'A' && character <= 'Z') || (character >= '0' && character <= '9');
    if (!alt || !letterOrDigit) {
        return std::nullopt;
    }
    return ModifierPart(shift, false, true) + static_cast<HotKeyValue>(character);
}

}  // namespace shortcuts

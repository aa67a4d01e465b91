// The autostart value the options dialog writes under the Run key: its name, its data and the
// start-mode switch each choice carries.
#pragma once

#include <string>
#include <string_view>

namespace options {

// The five choices of the dialog, in the order of their buttons.
constexpr int kNotStarted = 0;
constexpr int kStartChoices = 5;

constexpr bool IsStartChoice(int mode) {
    return mode >= 0 && mode < kStartChoices;
}

// The switch start-up parses for a choice: "" for 0 (no value) and 1 (normal), "Min",
// "MinTray", "Apply_Exit" for 2 to 4, "" outside 0–4.
std::wstring_view StartSwitch(int mode);

// The value's name: the executable's file name without its folder and extension.
std::wstring RunValueName(std::wstring_view modulePath);

// The value's data: the quoted path (a path with blanks must not be split by Windows), then a
// blank, a slash and the switch when there is one.
std::wstring RunValueData(std::wstring_view modulePath, std::wstring_view switchName);

}  // namespace options

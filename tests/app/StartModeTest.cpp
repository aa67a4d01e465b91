// The start-mode parse of complete command lines (built natively and for Windows).
#include "app/core/CommandLine.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

struct Case {
    std::wstring_view line;
    StartMode expected;
};

void ExpectModes(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(ParseStartMode(c.line), c.expected)
            << std::string(c.line.begin(), c.line.end());  // ASCII test lines
    }
}

TEST(StartMode, RecognisesTheThreeSwitchesInAnyLetterCase) {
    ExpectModes({
        {LR"(C:\Velmora\Velmora.exe /Min)", StartMode::Minimized},
        {LR"(C:\Velmora\Velmora.exe /min)", StartMode::Minimized},
        {LR"(C:\Velmora\Velmora.exe /MINTRAY)", StartMode::TrayOnly},
        {LR"(C:\Velmora\Velmora.exe /MinTray)", StartMode::TrayOnly},
        {LR"(C:\Velmora\Velmora.exe /apply_exit)", StartMode::ApplyAndExit},
        {LR"("C:\Program Files\Velmora\Velmora.exe" /Apply_Exit)", StartMode::ApplyAndExit},
        {LR"("C:\Program Files\Velmora\Velmora.exe"/MinTray)", StartMode::TrayOnly},
    });
}

TEST(StartMode, AnythingElseIsANormalStart) {
    ExpectModes({
        {L"", StartMode::Normal},
        {L"Velmora.exe", StartMode::Normal},
        {L"Velmora.exe /Min x", StartMode::Normal},
        {L"Velmora.exe /Min ", StartMode::Normal},
        {L"Velmora.exe -Min", StartMode::Normal},
        {L"Velmora.exe /", StartMode::Normal},
        {L"Velmora.exe /Mini", StartMode::Normal},
        {L"Velmora.exe /Apply Exit", StartMode::Normal},
        {L"/Min", StartMode::Normal},               // a line that begins with the slash
        {L"Velmora.exe /Ｍin", StartMode::Normal},  // only ASCII letters fold
    });
}

TEST(StartMode, SlashesInTheProgramPathAreNeverTakenForTheSwitch) {
    ExpectModes({
        {L"C:/Velmora/Min", StartMode::Normal},
        {L"C:/tools/Velmora.exe", StartMode::Normal},
        {L"\"C:/Program Files/Velmora/Min\"", StartMode::Normal},
        {L"\"C:/Program Files/Velmora/Velmora.exe\" /Min", StartMode::Minimized},
        {L"C:/tools/Velmora.exe /MinTray", StartMode::TrayOnly},
        {L"  C:/tools/Velmora.exe /Min", StartMode::Minimized},
        {L"\"C:/unclosed/quote /Min", StartMode::Normal},
    });
}

}  // namespace

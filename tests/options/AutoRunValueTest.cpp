// The autostart value: its name, its quoted data, and the round trip through start-up's parsing
// of the command line Windows runs from it.
#include <gtest/gtest.h>

#include "app/core/CommandLine.h"
#include "options/core/AutoRunValue.h"

namespace {

using options::RunValueData;
using options::RunValueName;
using options::StartSwitch;

TEST(AutoRunValue, IsNamedAfterTheExecutableWithoutFolderOrExtension) {
    EXPECT_EQ(RunValueName(L"C:\\Program Files\\Velmora\\Velmora.exe"), L"Velmora");
    EXPECT_EQ(RunValueName(L"C:\\my.tools\\Velmora"), L"Velmora");
    EXPECT_EQ(RunValueName(L"D:/portable/velmora.v2.exe"), L"velmora.v2");
    EXPECT_EQ(RunValueName(L"Velmora.exe"), L"Velmora");
}

TEST(AutoRunValue, QuotesThePathSoABlankCannotStartAnotherProgram) {
    EXPECT_EQ(RunValueData(L"C:\\Program Files\\Velmora\\Velmora.exe", L""),
              L"\"C:\\Program Files\\Velmora\\Velmora.exe\"");
    EXPECT_EQ(RunValueData(L"C:\\Program Files\\Velmora\\Velmora.exe", L"MinTray"),
              L"\"C:\\Program Files\\Velmora\\Velmora.exe\" /MinTray");
}

TEST(AutoRunValue, EveryChoiceStartsInTheModeItNames) {
    const wchar_t* const paths[] = {L"C:\\Program Files (x86)\\Velmora\\Velmora.exe",
                                    L"C:\\Velmora\\Velmora.exe", L"D:\\a b\\c d\\Velmora.exe"};
    const StartMode expected[] = {StartMode::Normal, StartMode::Normal, StartMode::Minimized,
                                  StartMode::TrayOnly, StartMode::ApplyAndExit};
    for (const wchar_t* path : paths) {
        for (int mode = 1; mode < options::kStartChoices; ++mode) {
            EXPECT_EQ(ParseStartMode(RunValueData(path, StartSwitch(mode))), expected[mode])
                << mode;
        }
    }
}

TEST(AutoRunValue, UnknownChoicesCarryNoSwitch) {
    EXPECT_EQ(StartSwitch(0), L"");
    EXPECT_EQ(StartSwitch(1), L"");
    EXPECT_EQ(StartSwitch(-1), L"");
    EXPECT_EQ(StartSwitch(5), L"");
    EXPECT_EQ(StartSwitch(7), L"");
}

}  // namespace

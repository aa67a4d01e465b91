// The browser command line built from a registered "open" command.
#include "mainwindow/core/BrowserCommand.h"

#include <gtest/gtest.h>

namespace {

constexpr wchar_t kAddress[] = L"http://www.velmora.net/";

TEST(BrowserCommandLine, CutsAtTheQuotedPlaceholderAndAppendsTheAddress) {
    EXPECT_EQ(velmora::BrowserCommandLine(LR"("C:\Web\browser.exe" -new "%1" -x)", kAddress),
              LR"("C:\Web\browser.exe" -new  http://www.velmora.net/)");
}

TEST(BrowserCommandLine, FallsBackToABarePlaceholder) {
    EXPECT_EQ(velmora::BrowserCommandLine(LR"(C:\Web\browser.exe %1)", kAddress),
              LR"(C:\Web\browser.exe  http://www.velmora.net/)");
}

TEST(BrowserCommandLine, WithoutPlaceholderKeepsTheWholeCommand) {
    EXPECT_EQ(velmora::BrowserCommandLine(LR"(C:\Web\browser.exe)", kAddress),
              LR"(C:\Web\browser.exe http://www.velmora.net/)");
    EXPECT_EQ(velmora::BrowserCommandLine(L"", kAddress), L" http://www.velmora.net/");
}

TEST(BrowserCommandLine, QuotedPlaceholderWinsOverAnEarlierBareOne) {
    EXPECT_EQ(velmora::BrowserCommandLine(LR"(run.exe %1x "%1")", kAddress),
              LR"(run.exe %1x  http://www.velmora.net/)");
}

}  // namespace

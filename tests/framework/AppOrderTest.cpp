// The application object runs InitApplication -> InitInstance -> ExitInstance in order.
#include "framework/WinApp.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class RecordingApp : public fw::CWinApp {
  public:
    RecordingApp(bool initApplication, bool initInstance)
        : initApplication_(initApplication), initInstance_(initInstance) {}
    std::string calls;

  protected:
    BOOL InitApplication() override {
        calls += "A";
        return initApplication_;
    }
    BOOL InitInstance() override {
        calls += "I";
        if (initInstance_) {
            ::PostQuitMessage(7);  // the plain loop ends at once with this code
        }
        return initInstance_;
    }
    int ExitInstance() override {
        calls += "E";
        return fw::CWinApp::ExitInstance() + 100;
    }

  private:
    bool initApplication_;
    bool initInstance_;
};

TEST(ApplicationOrder, FalseInitApplicationSkipsInstanceAndExit) {
    RecordingApp app(false, true);
    EXPECT_EQ(app.Main(::GetModuleHandleW(nullptr)), -1);
    EXPECT_EQ(app.calls, "A");
}

TEST(ApplicationOrder, FalseInitInstanceGoesStraightToExitInstance) {
    RecordingApp app(true, false);
    EXPECT_EQ(app.Main(::GetModuleHandleW(nullptr)), 100);
    EXPECT_EQ(app.calls, "AIE");
}

TEST(ApplicationOrder, TrueInitInstanceRunsTheLoopAndExitsWithItsCode) {
    RecordingApp app(true, true);
    EXPECT_EQ(app.Main(::GetModuleHandleW(nullptr)), 107);
    EXPECT_EQ(app.calls, "AIE");
}

}  // namespace

// A background check that hangs in its lookup never holds the process up at exit. The scenario
// runs in a child process (this executable started again with kChildSwitch).
#include "tests/update/StandInLog.h"
#include "update/UpdateCheck.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kChildSwitch[] = L"--child-exits-during-hung-lookup";

bool HangForever(const char*, std::string&) {
    ::Sleep(INFINITE);
    return false;
}

}  // namespace

// The child: starts a check whose lookup never returns, then leaves main as the program does.
int RunExitChildIfAsked(int argc, wchar_t** argv) {
    if (argc < 2 || std::wcscmp(argv[1], kChildSwitch) != 0) {
        return -1;
    }
    static UpdaterBinding binding;  // unbound by static destruction, as in the program
    if (!binding.Bind(StandInLibrary(L"full"))) {
        return 2;
    }
    UpdateCheckRequest request;
    request.executableDirectory = R"(C:\app)";
    request.updateDirectory = R"(C:\app\update)";
    request.resolve = HangForever;
    fw::KernelHandle thread = StartUpdateCheckThread(binding, request);
    return thread ? 0 : 3;
}

TEST(ProcessExit, HungBackgroundLookupDoesNotHoldUpExit) {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" " + kChildSwitch;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &child));
    fw::KernelHandle process(child.hProcess);
    fw::KernelHandle thread(child.hThread);
    const DWORD waited = ::WaitForSingleObject(process.get(), 20000);
    if (waited != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 99);
    }
    ASSERT_EQ(waited, WAIT_OBJECT_0);
    DWORD code = 1;
    ::GetExitCodeProcess(process.get(), &code);
    EXPECT_EQ(code, 0u);
}

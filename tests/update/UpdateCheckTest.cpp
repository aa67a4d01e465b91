// The update check against the recording stand-in of the update library: binding, call order and
// arguments, missing pieces, and the background thread's independence from its starter.
#include "framework/ModuleEntry.h"
#include "tests/support/ScratchFolder.h"
#include "tests/update/StandInLog.h"
#include "update/PrivateLibrary.h"
#include "update/UpdateCheck.h"
#include "update/WinsockSession.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

const std::vector<std::string> kFullConfiguration = {
    R"(UCSetProcessRootPath("C:\app"))",
    R"(UCSetProcessFileName("584Qbmzta7261k.wxyz"))",
    R"(UCSetUpdateRootPath("C:\app\update"))",
    R"(UCSetUpdateFileName("TVUpdater.exe"))",
    R"(UCSetMachineId("ID42"))",
    R"(UCSetUnionID(8899))",
    R"(UCSetSoftwareMark("tvcm"))",
    R"(UCSetUpdateCfgFileName("Update.xml"))",
    R"(UCSetUpdateServer("10.1.2.3", 4040))",
    R"(UCAutoVersync())",
};

bool ResolveToFixedAddress(const char*, std::string& address) {
    address = "10.1.2.3";
    return true;
}

bool FailToResolve(const char*, std::string&) {
    return false;
}

// A lookup that hangs until the test lets it go.
HANDLE g_releaseLookup = nullptr;
bool SlowResolve(const char* host, std::string& address) {
    ::WaitForSingleObject(g_releaseLookup, INFINITE);
    return ResolveToFixedAddress(host, address);
}

UpdateCheckRequest Request(HostResolver resolve) {
    UpdateCheckRequest request;
    request.executableDirectory = R"(C:\app)";
    request.updateDirectory = R"(C:\app\update)";
    request.machineId = "ID42";
    request.resolve = resolve;
    return request;
}

class UpdateCheckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearCalls(full_);
        ClearCalls(partial_);
    }
    void TearDown() override {
        ClearCalls(full_);
        ClearCalls(partial_);
    }

    const std::wstring full_ = StandInDirectory(L"full");
    const std::wstring partial_ = StandInDirectory(L"partial");
};

TEST_F(UpdateCheckTest, ConfiguresTheLibraryInItsFixedOrderThenStartsTheCheck) {
    UpdaterBinding binding;
    ASSERT_TRUE(binding.Bind(StandInLibrary(L"full")));
    RunUpdateCheck(binding.entries(), R"(C:\app)", R"(C:\app\update)", "ID42", "any",
                   ResolveToFixedAddress);
    EXPECT_THAT(CallTexts(ReadCalls(full_)), ElementsAreArray(kFullConfiguration));
}

TEST_F(UpdateCheckTest, FailedLookupPassesAnEmptyAddressAndStillStartsTheCheck) {
    UpdaterBinding binding;
    ASSERT_TRUE(binding.Bind(StandInLibrary(L"full")));
    RunUpdateCheck(binding.entries(), R"(C:\app)", R"(C:\app\update)", "ID42", "any",
                   FailToResolve);
    std::vector<std::string> expected = kFullConfiguration;
    expected[8] = R"(UCSetUpdateServer("", 4040))";
    EXPECT_THAT(CallTexts(ReadCalls(full_)), ElementsAreArray(expected));
}

TEST_F(UpdateCheckTest, RealLookupHandsTheLibraryTheDottedAddress) {
    UpdaterBinding binding;
    ASSERT_TRUE(binding.Bind(StandInLibrary(L"full")));
    RunUpdateCheck(binding.entries(), R"(C:\app)", R"(C:\app\update)", "ID42", "localhost");
    std::vector<std::string> expected = kFullConfiguration;
    expected[8] = R"(UCSetUpdateServer("127.0.0.1", 4040))";
    EXPECT_THAT(CallTexts(ReadCalls(full_)), ElementsAreArray(expected));
}

TEST_F(UpdateCheckTest, LibraryWithoutMachineIdEntryGetsEveryOtherCallInOrder) {
    UpdaterBinding binding;
    ASSERT_TRUE(binding.Bind(StandInLibrary(L"partial")));
    EXPECT_EQ(binding.entries().UCSetMachineId, nullptr);
    RunUpdateCheck(binding.entries(), R"(C:\app)", R"(C:\app\update)", "ID42", "any",
                   ResolveToFixedAddress);
    std::vector<std::string> expected = kFullConfiguration;
    expected.erase(expected.begin() + 4);
    EXPECT_THAT(CallTexts(ReadCalls(partial_)), ElementsAreArray(expected));
}

TEST_F(UpdateCheckTest, MissingDirectoryConfiguresNothing) {
    UpdaterBinding binding;
    ASSERT_TRUE(binding.Bind(StandInLibrary(L"full")));
    RunUpdateCheck(binding.entries(), nullptr, R"(C:\app\update)", "ID42", "any",
                   ResolveToFixedAddress);
    RunUpdateCheck(binding.entries(), R"(C:\app)", nullptr, "ID42", "any", ResolveToFixedAddress);
    EXPECT_THAT(ReadCalls(full_), IsEmpty());
}

TEST_F(UpdateCheckTest, BindingFindsEveryEntryAndUnbindingClearsThemAndFreesTheLibrary) {
    UpdaterBinding binding;
    ASSERT_TRUE(binding.Bind(StandInLibrary(L"full")));
    const UpdaterEntries& e = binding.entries();
    const void* entries[] = {
        reinterpret_cast<const void*>(e.UCSetProcessRootPath),
        reinterpret_cast<const void*>(e.UCSetProcessFileName),
        reinterpret_cast<const void*>(e.UCSetUpdateRootPath),
        reinterpret_cast<const void*>(e.UCSetUpdateFileName),
        reinterpret_cast<const void*>(e.UCSetUpdateCfgFileName),
        reinterpret_cast<const void*>(e.UCSetSoftwareMark),
        reinterpret_cast<const void*>(e.UCSetUnionID),
        reinterpret_cast<const void*>(e.UCSetMachineId),
        reinterpret_cast<const void*>(e.UCSetUpdateServer),
        reinterpret_cast<const void*>(e.UCManualVersync),
        reinterpret_cast<const void*>(e.UCAutoVersync),
        reinterpret_cast<const void*>(e.UCStopVersync),
    };
    for (const void* entry : entries) {
        EXPECT_NE(entry, nullptr);
    }
    EXPECT_TRUE(binding.loaded());

    binding.Unbind();
    EXPECT_FALSE(binding.loaded());
    EXPECT_EQ(binding.module(), nullptr);
    EXPECT_EQ(binding.entries().UCAutoVersync, nullptr);
    EXPECT_EQ(::GetModuleHandleW(StandInLibrary(L"full").c_str()), nullptr);
}

TEST_F(UpdateCheckTest, MissingLibraryLeavesEveryEntryEmptyAndStartsNothing) {
    UpdaterBinding binding;
    EXPECT_FALSE(binding.Bind(StandInDirectory(L"full") + L"absent\\versync.dll"));
    EXPECT_FALSE(binding.loaded());
    EXPECT_EQ(binding.entries().UCSetProcessRootPath, nullptr);
    EXPECT_EQ(binding.entries().UCAutoVersync, nullptr);
    EXPECT_FALSE(StartUpdateCheckThread(binding, Request(ResolveToFixedAddress)));
    RunUpdateCheck(binding.entries(), R"(C:\app)", R"(C:\app\update)", "ID42", "any",
                   ResolveToFixedAddress);
}

TEST_F(UpdateCheckTest, LibraryNamedRelativeToTheCurrentDirectoryIsNeverLoaded) {
    {
        const testkit::CurrentFolder current(full_);
        UpdaterBinding binding;
        EXPECT_FALSE(binding.Bind(L"versync.dll"));
        EXPECT_FALSE(binding.Bind(L".\\versync.dll"));
    }
    EXPECT_THAT(ReadCalls(full_, true), IsEmpty());
}

TEST_F(UpdateCheckTest, BackgroundCheckReturnsAtOnceAndCallsInOrderOnItsOwnThread) {
    UpdaterBinding binding;
    ASSERT_TRUE(binding.Bind(StandInLibrary(L"full")));
    fw::KernelHandle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    g_releaseLookup = release.get();

    const ULONGLONG started = ::GetTickCount64();
    fw::KernelHandle thread = StartUpdateCheckThread(binding, Request(SlowResolve));
    EXPECT_LT(::GetTickCount64() - started, 1000u);
    ASSERT_TRUE(thread);
    ::Sleep(200);
    EXPECT_THAT(ReadCalls(full_), IsEmpty());  // still looking the server up

    ::SetEvent(release.get());
    ASSERT_EQ(::WaitForSingleObject(thread.get(), 10000), WAIT_OBJECT_0);
    const std::vector<RecordedCall> calls = ReadCalls(full_);
    EXPECT_THAT(CallTexts(calls), ElementsAreArray(kFullConfiguration));
    for (const RecordedCall& call : calls) {
        EXPECT_EQ(call.thread, ::GetThreadId(thread.get())) << call.call;
    }
}

// The identity's library is loaded by the check's own thread: the starter never waits for it.
DWORD g_identifiedOn = 0;
bool IdentifyAsMi77(char (&buffer)[kMachineIdSize]) {
    g_identifiedOn = ::GetCurrentThreadId();
    std::memcpy(buffer, "MI77", 5);
    return true;
}

TEST_F(UpdateCheckTest, BackgroundCheckAsksForTheMachineIdentityOnItsOwnThread) {
    UpdaterBinding binding;
    ASSERT_TRUE(binding.Bind(StandInLibrary(L"full")));
    UpdateCheckRequest request = Request(ResolveToFixedAddress);
    request.identify = &IdentifyAsMi77;
    g_identifiedOn = 0;
    fw::KernelHandle thread = StartUpdateCheckThread(binding, request);
    ASSERT_TRUE(thread);
    ASSERT_EQ(::WaitForSingleObject(thread.get(), 10000), WAIT_OBJECT_0);
    EXPECT_EQ(g_identifiedOn, ::GetThreadId(thread.get()));
    std::vector<std::string> expected = kFullConfiguration;
    expected[4] = R"(UCSetMachineId("MI77"))";
    EXPECT_THAT(CallTexts(ReadCalls(full_)), ElementsAreArray(expected));
}

// The start-up check waits behind its gate: nothing, not even the identity, before it opens.
TEST_F(UpdateCheckTest, BackgroundCheckWaitsBehindItsGateUntilItOpensOrTheBoundPasses) {
    UpdaterBinding binding;
    ASSERT_TRUE(binding.Bind(StandInLibrary(L"full")));
    std::vector<std::string> expected = kFullConfiguration;
    expected[4] = R"(UCSetMachineId("MI77"))";
    UpdateCheckRequest request = Request(ResolveToFixedAddress);
    request.identify = &IdentifyAsMi77;

    fw::KernelHandle gate(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    request.gate = gate.get();
    request.gateWaitMs = 60000;
    g_identifiedOn = 0;
    fw::KernelHandle thread = StartUpdateCheckThread(binding, request);
    ASSERT_TRUE(thread);
    EXPECT_EQ(::WaitForSingleObject(thread.get(), 300), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(g_identifiedOn, 0u);
    EXPECT_THAT(ReadCalls(full_), IsEmpty());
    ::SetEvent(gate.get());
    ASSERT_EQ(::WaitForSingleObject(thread.get(), 10000), WAIT_OBJECT_0);
    EXPECT_THAT(CallTexts(ReadCalls(full_)), ElementsAreArray(expected));

    // A gate nobody opens, closed by its maker while the check waits behind its own duplicate.
    ClearCalls(full_);
    fw::KernelHandle shut(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    request.gate = shut.get();
    request.gateWaitMs = 50;
    thread = StartUpdateCheckThread(binding, request);
    ASSERT_TRUE(thread);
    shut.reset();
    ASSERT_EQ(::WaitForSingleObject(thread.get(), 10000), WAIT_OBJECT_0);
    EXPECT_THAT(CallTexts(ReadCalls(full_)), ElementsAreArray(expected));
}

TEST_F(UpdateCheckTest, BackgroundCheckKeepsTheLibraryLoadedUntilItEndsAfterUnbinding) {
    UpdaterBinding binding;
    ASSERT_TRUE(binding.Bind(StandInLibrary(L"full")));
    fw::KernelHandle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    g_releaseLookup = release.get();
    fw::KernelHandle thread = StartUpdateCheckThread(binding, Request(SlowResolve));
    ASSERT_TRUE(thread);

    binding.Unbind();  // as the exit sequence does while the lookup still hangs
    EXPECT_NE(::GetModuleHandleW(StandInLibrary(L"full").c_str()), nullptr);

    ::SetEvent(release.get());
    ASSERT_EQ(::WaitForSingleObject(thread.get(), 10000), WAIT_OBJECT_0);
    EXPECT_THAT(CallTexts(ReadCalls(full_)), ElementsAreArray(kFullConfiguration));
    EXPECT_EQ(::GetModuleHandleW(StandInLibrary(L"full").c_str()), nullptr);
}

TEST(LibrarySearch, RestrictedSearchNoLongerFindsLibrariesInTheCurrentDirectory) {
    const testkit::ScratchFolder folder(L"planted");
    const std::wstring planted = folder.File(L"velmora_planted.dll");
    ASSERT_TRUE(::CopyFileW(StandInLibrary(L"full").c_str(), planted.c_str(), FALSE));
    const testkit::CurrentFolder current(folder.path());

    // The unrestricted search does look there, so the check below means something.
    HMODULE found = ::LoadLibraryW(L"velmora_planted.dll");
    EXPECT_NE(found, nullptr);
    if (found != nullptr) {
        ::FreeLibrary(found);
    }
    RestrictLibrarySearch();
    HMODULE afterwards = ::LoadLibraryW(L"velmora_planted.dll");
    EXPECT_EQ(afterwards, nullptr);
    if (afterwards != nullptr) {
        ::FreeLibrary(afterwards);
    }
    EXPECT_NE(::LoadLibraryW(L"ws2_32.dll"), nullptr);  // system libraries are still found
}

TEST(LibrarySearch, LookUpEntryFindsExportsByNameAndNeverSearchesTheExecutable) {
    using GetCurrentProcessIdFn = DWORD(WINAPI*)();
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto get = fw::LookUpEntry<GetCurrentProcessIdFn>(kernel, "GetCurrentProcessId");
    ASSERT_NE(get, nullptr);
    EXPECT_EQ(get(), ::GetCurrentProcessId());
    EXPECT_EQ(fw::LookUpEntry<GetCurrentProcessIdFn>(kernel, "VelmoraNoSuchExport"), nullptr);
    // GetProcAddress on a null module would search the executable itself.
    EXPECT_EQ(fw::LookUpEntry<GetCurrentProcessIdFn>(nullptr, "GetCurrentProcessId"), nullptr);
}

TEST(ResolveHost, LocalhostGivesDottedLoopbackAndUnknownHostLeavesAddressAsItWas) {
    WinsockSession sockets;
    ASSERT_TRUE(sockets.started());
    std::string address = "unchanged";
    EXPECT_TRUE(ResolveHost("localhost", address));
    EXPECT_EQ(address, "127.0.0.1");

    address = "unchanged";
    EXPECT_FALSE(ResolveHost("velmora-no-such-host.invalid", address));
    EXPECT_FALSE(ResolveHost("", address));
    EXPECT_FALSE(ResolveHost(nullptr, address));
    EXPECT_EQ(address, "unchanged");
}

}  // namespace

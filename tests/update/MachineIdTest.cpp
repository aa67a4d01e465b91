// The machine identity: from our MachineId.dll, from a stand-in, and without any library.
#include "framework/ModuleEntry.h"
#include "tests/update/StandInLog.h"
#include "update/MachineIdentity.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

using ::testing::ElementsAre;

namespace {

using MIGetIdentifyEntry = int(WINAPI*)(char*, int);

TEST(MachineId, OurLibraryGivesTheSameShortIdentityEveryTime) {
    char first[kMachineIdSize];
    char second[kMachineIdSize];
    MachineIdentity one(TestBinDirectory() + L"MachineId.dll");
    MachineIdentity other(TestBinDirectory() + L"MachineId.dll");
    ASSERT_TRUE(one.Get(first));
    ASSERT_TRUE(other.Get(second));
    const std::size_t length = strnlen(first, kMachineIdSize);
    EXPECT_GT(length, 0u);
    EXPECT_LE(length, 15u);
    EXPECT_STREQ(first, second);
}

TEST(MachineId, LibraryRefusesBuffersTooShortOrMissing) {
    HMODULE library = ::LoadLibraryW((TestBinDirectory() + L"MachineId.dll").c_str());
    ASSERT_NE(library, nullptr);
    auto get = fw::LookUpEntry<MIGetIdentifyEntry>(library, "MIGetIdentify");
    ASSERT_NE(get, nullptr);  // exported under its plain name
    char buffer[kMachineIdSize];
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(get(buffer, 5), 0);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(get(nullptr, 15), 0);
    const int length = get(buffer, 15);
    EXPECT_EQ(length, static_cast<int>(std::strlen(buffer)));
    ::FreeLibrary(library);
}

TEST(MachineId, WithoutLibraryTheIdentityIsEmptyAndNotObtained) {
    char buffer[kMachineIdSize];
    std::memset(buffer, 'x', sizeof(buffer));
    MachineIdentity identity(TestBinDirectory() + L"absent\\MachineId.dll");
    EXPECT_FALSE(identity.Get(buffer));
    EXPECT_EQ(buffer[0], '\0');
}

TEST(MachineId, IsAskedOnceWhenObtainedAndAgainWhileItFails) {
    const std::wstring full = StandInDirectory(L"full");
    const std::wstring partial = StandInDirectory(L"partial");
    ClearCalls(full);
    ClearCalls(partial);
    char buffer[kMachineIdSize];

    MachineIdentity answering(StandInLibrary(L"full"));
    EXPECT_TRUE(answering.Get(buffer));
    EXPECT_TRUE(answering.Get(buffer));
    EXPECT_STREQ(buffer, "STANDIN0001");
    EXPECT_THAT(CallTexts(ReadCalls(full)), ElementsAre("MIGetIdentify(15)"));

    MachineIdentity failing(StandInLibrary(L"partial"));
    EXPECT_FALSE(failing.Get(buffer));
    EXPECT_FALSE(failing.Get(buffer));
    EXPECT_STREQ(buffer, "");
    EXPECT_THAT(CallTexts(ReadCalls(partial)),
                ElementsAre("MIGetIdentify(15)", "MIGetIdentify(15)"));
    ClearCalls(full);
    ClearCalls(partial);
}

}  // namespace

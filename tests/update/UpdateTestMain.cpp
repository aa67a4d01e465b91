#include <gtest/gtest.h>

#include <windows.h>

int RunExitChildIfAsked(int argc, wchar_t** argv);

int wmain(int argc, wchar_t** argv) {
    const int child = RunExitChildIfAsked(argc, argv);
    if (child >= 0) {
        return child;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

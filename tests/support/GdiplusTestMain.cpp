// GoogleTest's main with GDI+ started for the whole run.
#include <gtest/gtest.h>

#include "framework/GdiplusSession.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    fw::GdiplusSession gdiplus;
    if (!gdiplus.started()) {
        return 2;
    }
    return RUN_ALL_TESTS();
}

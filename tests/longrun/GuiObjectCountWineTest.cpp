// The counts the long runs rely on: every GDI and USER object this process makes shows in them,
// and goes again when it is released. The counting probes Wine's handle tables (see
// tools/guiprobe/GuiObjectCount.h), so a change in how Wine hands out handles fails here.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "tools/guiprobe/GuiObjectCount.h"

namespace {

using guiprobe::CountGuiObjects;
using guiprobe::GuiObjectKind;

constexpr int kEachKind = 20;

TEST(GuiObjectCount, SeesEveryGdiObjectMadeAndDeleted) {
    // The process's first memory DC makes objects the process keeps for good (whichever test
    // comes first pays for them): made once here, before counting.
    { const fw::MemoryDc first(::CreateCompatibleDC(nullptr)); }
    const int before = CountGuiObjects(GuiObjectKind::Gdi);
    {
        std::vector<fw::Brush> brushes;
        std::vector<fw::Bitmap> bitmaps;
        std::vector<fw::Region> regions;
        std::vector<fw::MemoryDc> dcs;
        for (int i = 0; i < kEachKind; ++i) {
            brushes.emplace_back(::CreateSolidBrush(RGB(i, 0, 0)));
            bitmaps.emplace_back(::CreateBitmap(4, 4, 1, 32, nullptr));
            regions.emplace_back(::CreateRectRgn(0, 0, i + 1, i + 1));
            dcs.emplace_back(::CreateCompatibleDC(nullptr));
        }
        EXPECT_EQ(CountGuiObjects(GuiObjectKind::Gdi), before + 4 * kEachKind);
    }
    EXPECT_EQ(CountGuiObjects(GuiObjectKind::Gdi), before);
}

// Makes `count` of each kind of USER object this process can own.
struct UserObjects {
    explicit UserObjects(int count) {
        for (int i = 0; i < count; ++i) {
            windows.push_back(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                                nullptr, nullptr, nullptr));
            menus.push_back(::CreateMenu());
            icons.emplace_back(::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION)));
            ACCEL accel{FVIRTKEY, static_cast<WORD>('A' + i), static_cast<WORD>(i)};
            tables.push_back(::CreateAcceleratorTableW(&accel, 1));
        }
    }
    ~UserObjects() {
        for (HWND window : windows) {
            ::DestroyWindow(window);
        }
        for (HMENU menu : menus) {
            ::DestroyMenu(menu);
        }
        for (HACCEL table : tables) {
            ::DestroyAcceleratorTable(table);
        }
    }
    UserObjects(const UserObjects&) = delete;
    UserObjects& operator=(const UserObjects&) = delete;

    std::vector<HWND> windows;
    std::vector<HMENU> menus;
    std::vector<fw::Icon> icons;
    std::vector<HACCEL> tables;
};

TEST(GuiObjectCount, SeesThisProcesssWindowsMenusIconsAndAcceleratorTables) {
    // Wine gives a thread that has windows an IME window of its own, and the shared icon stays
    // loaded once loaded: one set made first, and kept, leaves those out of the figures.
    const UserObjects first(1);
    const guiprobe::GuiObjectCounts before = guiprobe::CountAllGuiObjects();
    auto objects = std::make_unique<UserObjects>(kEachKind);
    const guiprobe::GuiObjectCounts during = guiprobe::CountAllGuiObjects();
    EXPECT_EQ(during.of(GuiObjectKind::Windows), before.of(GuiObjectKind::Windows) + kEachKind);
    EXPECT_EQ(during.of(GuiObjectKind::Menus), before.of(GuiObjectKind::Menus) + kEachKind);
    EXPECT_EQ(during.of(GuiObjectKind::Icons), before.of(GuiObjectKind::Icons) + kEachKind);
    EXPECT_EQ(during.of(GuiObjectKind::Accelerators),
              before.of(GuiObjectKind::Accelerators) + kEachKind);
    EXPECT_EQ(during.user(), before.user() + 4 * kEachKind);

    objects.reset();
    const guiprobe::GuiObjectCounts after = guiprobe::CountAllGuiObjects();
    EXPECT_EQ(after.user(), before.user());
    EXPECT_EQ(after.gdi(), before.gdi());
}

// Runs wintool.exe (beside this test) with the arguments and returns what it printed.
std::string RunWintool(const std::wstring& arguments) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring command(path, length);
    command.erase(command.find_last_of(L"\\/") + 1);
    command = L"\"" + command + L"wintool.exe\" " + arguments;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        return {};
    }
    fw::KernelHandle reader(readEnd);
    fw::KernelHandle writer(writeEnd);
    ::SetHandleInformation(reader.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writer.get();
    startup.hStdError = writer.get();
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return {};
    }
    fw::KernelHandle processHandle(process.hProcess);
    fw::KernelHandle threadHandle(process.hThread);
    writer.reset();
    std::string output;
    char buffer[512];
    DWORD read = 0;
    while (::ReadFile(reader.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        output.append(buffer, read);
    }
    ::WaitForSingleObject(processHandle.get(), 60000);
    return output;
}

int Field(const std::string& line, const std::string& name) {
    const size_t at = line.find(name + "=");
    return at == std::string::npos ? -1 : std::atoi(line.c_str() + at + name.size() + 1);
}

TEST(GuiObjectCount, WintoolCountsAnotherProcessAsThatProcessCountsItself) {
    const UserObjects objects(kEachKind);
    std::vector<fw::Brush> brushes;
    for (int i = 0; i < kEachKind; ++i) {
        brushes.emplace_back(::CreateSolidBrush(RGB(0, i, 0)));
    }
    const guiprobe::GuiObjectCounts own = guiprobe::CountAllGuiObjects();
    const std::string line = RunWintool(L"gui-counts " + std::to_wstring(::GetCurrentProcessId()));
    std::printf("counted here: gdi=%d user=%d; by wintool: %s", own.gdi(), own.user(),
                line.c_str());
    EXPECT_EQ(Field(line, "gdi"), own.gdi());
    EXPECT_EQ(Field(line, "windows"), own.of(GuiObjectKind::Windows));
    EXPECT_EQ(Field(line, "menus"), own.of(GuiObjectKind::Menus));
    EXPECT_EQ(Field(line, "icons"), own.of(GuiObjectKind::Icons));
    EXPECT_EQ(Field(line, "accelerators"), own.of(GuiObjectKind::Accelerators));
    EXPECT_GT(Field(line, "workingset"), 0);
}

}  // namespace

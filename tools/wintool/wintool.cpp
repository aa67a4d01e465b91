// Command-line window helper for the end-to-end tests, run under Wine.
//
//   wintool find-window CLASS                     one line of window facts, exit 1 if none
//   wait-window CLASS TIMEOUT_MS [visible]        the same, waiting (optionally until visible)
//   wait-no-window CLASS TIMEOUT_MS               exit 0 once no such window exists
//   window-info HWND                              facts of one window
//   post HWND MSG WPARAM LPARAM                   PostMessage
//   send HWND MSG WPARAM LPARAM                   SendMessage, prints the result
//   find-message-box HEXTEXT TIMEOUT_MS           a #32770 window whose text static holds TEXT
//   press-button HWND ID                          clicks a dialog button (WM_COMMAND BN_CLICKED)
//   window-text HWND                              the window text, hex of its UTF-8 bytes
//   children HWND                                 one line per direct child window
//   display-mode                                  the primary display's current mode
//   set-display-mode WIDTH HEIGHT                 changes the primary display's resolution
//   gamma-ramp                                    the screen's gamma ramp: "ramp=" and its
//                                                 768 entries (red, green, blue), exit 1 if
//                                                 it cannot be read
//   send-repeat COUNT HWND MSG WPARAM LPARAM [HWND MSG WPARAM LPARAM]...
//                                                 COUNT rounds of sending the messages in
//                                                 turn, each handled before the next is sent;
//                                                 prints how many were handled and the time
//   gui-counts PID                                the process's GDI and USER object counts
//                                                 (guiprobe.dll loaded into it for the count)
//                                                 and its memory, one line
//
// Texts travel as hex of their UTF-8 bytes, so the Unix locale never mangles them.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "tools/wintool/RemoteProbe.h"

namespace {

long long ParseNumber(const wchar_t* text) {
    return std::wcstoll(text, nullptr, 0);
}

HWND ParseWindow(const wchar_t* text) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(ParseNumber(text)));
}

std::wstring FromHexUtf8(const wchar_t* hex) {
    std::string bytes;
    for (size_t i = 0; hex[i] != 0 && hex[i + 1] != 0; i += 2) {
        wchar_t pair[3] = {hex[i], hex[i + 1], 0};
        bytes.push_back(static_cast<char>(std::wcstoul(pair, nullptr, 16)));
    }
    int length =
        ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                          length);
    return text;
}

std::string ToHexUtf8(const std::wstring& text) {
    int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                          length, nullptr, nullptr);
    std::string hex;
    char buffer[4];
    for (unsigned char c : bytes) {
        std::snprintf(buffer, sizeof(buffer), "%02x", c);
        hex += buffer;
    }
    return hex;
}

std::wstring WindowText(HWND hwnd) {
    wchar_t buffer[1024] = {};
    ::GetWindowTextW(hwnd, buffer, 1024);
    return buffer;
}

void PrintWindow(HWND hwnd) {
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    POINT client{0, 0};
    ::ClientToScreen(hwnd, &client);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    std::printf(
        "hwnd=0x%llx x=%ld y=%ld width=%ld height=%ld visible=%d iconic=%d "
        "client_x=%ld client_y=%ld exstyle=0x%lx pid=%lu title=%s\n",
        static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)), rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, ::IsWindowVisible(hwnd) ? 1 : 0,
        ::IsIconic(hwnd) ? 1 : 0, client.x, client.y,
        static_cast<unsigned long>(::GetWindowLongW(hwnd, GWL_EXSTYLE)),
        static_cast<unsigned long>(pid), ToHexUtf8(WindowText(hwnd)).c_str());
}

// Polls every 50 ms until found() gives true or the timeout passes.
template <typename Found>
bool WaitFor(long long timeoutMs, Found found) {
    const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    for (;;) {
        if (found()) {
            return true;
        }
        if (::GetTickCount64() >= deadline) {
            return false;
        }
        ::Sleep(50);
    }
}

struct MessageBoxSearch {
    std::wstring text;
    HWND found = nullptr;
};

BOOL CALLBACK CheckMessageBox(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<MessageBoxSearch*>(lParam);
    wchar_t className[64] = {};
    ::GetClassNameW(hwnd, className, 64);
    if (std::wcscmp(className, L"#32770") != 0) {
        return TRUE;
    }
    HWND label = ::GetDlgItem(hwnd, 0xFFFF);
    if (label != nullptr && WindowText(label).find(search->text) != std::wstring::npos) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Direct children only: id, class, visibility, rectangle relative to the parent's client area.
BOOL CALLBACK PrintChild(HWND hwnd, LPARAM lParam) {
    auto parent = reinterpret_cast<HWND>(lParam);
    if (::GetParent(hwnd) != parent) {
        return TRUE;
    }
    wchar_t className[64] = {};
    ::GetClassNameW(hwnd, className, 64);
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    std::printf("child=0x%llx id=%d class=%s visible=%d x=%ld y=%ld width=%ld height=%ld\n",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)),
                ::GetDlgCtrlID(hwnd), ToHexUtf8(className).c_str(), ::IsWindowVisible(hwnd) ? 1 : 0,
                rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    return TRUE;
}

int Usage() {
    std::fprintf(stderr, "wintool: unknown command or missing arguments\n");
    return 2;
}

int PrintGammaRamp() {
    WORD ramp[3 * 256] = {};
    HDC screen = ::GetDC(nullptr);
    const BOOL read = screen != nullptr && ::GetDeviceGammaRamp(screen, ramp);
    if (screen != nullptr) {
        ::ReleaseDC(nullptr, screen);
    }
    if (!read) {
        return 1;
    }
    std::printf("ramp=");
    for (size_t i = 0; i < 3 * 256; ++i) {
        std::printf(i == 0 ? "%u" : ",%u", static_cast<unsigned>(ramp[i]));
    }
    std::printf("\n");
    return 0;
}

struct Message {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// Sending (not posting) makes each step finish before the next: a posted message could not be
// waited for from another process.
int SendRepeat(int argc, wchar_t** argv) {
    const long long rounds = ParseNumber(argv[2]);
    std::vector<Message> messages;
    for (int i = 3; i + 3 < argc; i += 4) {
        messages.push_back({ParseWindow(argv[i]), static_cast<UINT>(ParseNumber(argv[i + 1])),
                            static_cast<WPARAM>(ParseNumber(argv[i + 2])),
                            static_cast<LPARAM>(ParseNumber(argv[i + 3]))});
    }
    if (rounds < 0 || messages.empty()) {
        return Usage();
    }
    const ULONGLONG started = ::GetTickCount64();
    long long handled = 0;
    long long failed = 0;
    for (long long round = 0; round < rounds; ++round) {
        for (const Message& m : messages) {
            DWORD_PTR result = 0;
            if (::SendMessageTimeoutW(m.hwnd, m.msg, m.wParam, m.lParam, SMTO_ABORTIFHUNG, 10000,
                                      &result)) {
                ++handled;
            } else {
                ++failed;
            }
        }
    }
    std::printf("handled=%lld failed=%lld elapsed_ms=%llu\n", handled, failed,
                ::GetTickCount64() - started);
    return failed == 0 ? 0 : 1;
}

int PrintGuiCounts(DWORD pid) {
    const std::optional<wintool::ProcessFigures> figures = wintool::MeasureProcess(pid);
    if (!figures) {
        std::fprintf(stderr, "wintool: could not measure process %lu\n",
                     static_cast<unsigned long>(pid));
        return 1;
    }
    for (int kind = 0; kind < guiprobe::kGuiObjectKinds; ++kind) {
        std::printf("%s=%d ", guiprobe::GuiObjectLabel(static_cast<guiprobe::GuiObjectKind>(kind)),
                    figures->objects.counts[kind]);
    }
    std::printf("user=%d workingset=%llu\n", figures->objects.user(),
                static_cast<unsigned long long>(figures->workingSet));
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        return Usage();
    }
    const std::wstring command = argv[1];
    if (command == L"find-window" && argc >= 3) {
        HWND hwnd = ::FindWindowW(argv[2], nullptr);
        if (hwnd == nullptr) {
            return 1;
        }
        PrintWindow(hwnd);
        return 0;
    }
    if (command == L"wait-window" && argc >= 4) {
        const bool needVisible = argc >= 5 && std::wstring(argv[4]) == L"visible";
        HWND hwnd = nullptr;
        bool found = WaitFor(ParseNumber(argv[3]), [&] {
            hwnd = ::FindWindowW(argv[2], nullptr);
            return hwnd != nullptr && (!needVisible || ::IsWindowVisible(hwnd));
        });
        if (!found) {
            return 1;
        }
        PrintWindow(hwnd);
        return 0;
    }
    if (command == L"wait-no-window" && argc >= 4) {
        return WaitFor(ParseNumber(argv[3]),
                       [&] { return ::FindWindowW(argv[2], nullptr) == nullptr; })
                   ? 0
                   : 1;
    }
    if (command == L"window-info" && argc >= 3) {
        HWND hwnd = ParseWindow(argv[2]);
        if (!::IsWindow(hwnd)) {
            return 1;
        }
        PrintWindow(hwnd);
        return 0;
    }
    if ((command == L"post" || command == L"send") && argc >= 6) {
        HWND hwnd = ParseWindow(argv[2]);
        auto msg = static_cast<UINT>(ParseNumber(argv[3]));
        auto wParam = static_cast<WPARAM>(ParseNumber(argv[4]));
        auto lParam = static_cast<LPARAM>(ParseNumber(argv[5]));
        if (command == L"post") {
            return ::PostMessageW(hwnd, msg, wParam, lParam) ? 0 : 1;
        }
        DWORD_PTR result = 0;
        if (!::SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result)) {
            return 1;
        }
        std::printf("result=%lld\n", static_cast<long long>(result));
        return 0;
    }
    if (command == L"find-message-box" && argc >= 4) {
        MessageBoxSearch search{FromHexUtf8(argv[2])};
        bool found = WaitFor(ParseNumber(argv[3]), [&] {
            search.found = nullptr;
            ::EnumWindows(&CheckMessageBox, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        });
        if (!found) {
            return 1;
        }
        PrintWindow(search.found);
        return 0;
    }
    if (command == L"press-button" && argc >= 4) {
        HWND dialog = ParseWindow(argv[2]);
        int id = static_cast<int>(ParseNumber(argv[3]));
        HWND button = ::GetDlgItem(dialog, id);
        return ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                              reinterpret_cast<LPARAM>(button))
                   ? 0
                   : 1;
    }
    if (command == L"window-text" && argc >= 3) {
        std::printf("%s\n", ToHexUtf8(WindowText(ParseWindow(argv[2]))).c_str());
        return 0;
    }
    if (command == L"display-mode") {
        DEVMODEW mode{};
        mode.dmSize = sizeof(mode);
        if (!::EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) {
            return 1;
        }
        std::printf("width=%lu height=%lu bits=%lu hertz=%lu\n", mode.dmPelsWidth,
                    mode.dmPelsHeight, mode.dmBitsPerPel, mode.dmDisplayFrequency);
        return 0;
    }
    if (command == L"set-display-mode" && argc >= 4) {
        DEVMODEW mode{};
        mode.dmSize = sizeof(mode);
        mode.dmPelsWidth = static_cast<DWORD>(ParseNumber(argv[2]));
        mode.dmPelsHeight = static_cast<DWORD>(ParseNumber(argv[3]));
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        return ::ChangeDisplaySettingsW(&mode, 0) == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
    }
    if (command == L"children" && argc >= 3) {
        HWND parent = ParseWindow(argv[2]);
        if (!::IsWindow(parent)) {
            return 1;
        }
        ::EnumChildWindows(parent, &PrintChild, reinterpret_cast<LPARAM>(parent));
        return 0;
    }
    if (command == L"gamma-ramp") {
        return PrintGammaRamp();
    }
    if (command == L"send-repeat" && argc >= 7) {
        return SendRepeat(argc, argv);
    }
    if (command == L"gui-counts" && argc >= 3) {
        return PrintGuiCounts(static_cast<DWORD>(ParseNumber(argv[2])));
    }
    return Usage();
}

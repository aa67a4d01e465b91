// Test helper: ShowWindow on another process's window, as a user action would do it.
//   showwindow.exe <hwnd in hex> <nCmdShow>
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        return 2;
    }
    HWND window =
        reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoull(argv[1], nullptr, 16)));
    if (!::IsWindow(window)) {
        return 1;
    }
    ::ShowWindow(window, static_cast<int>(std::wcstol(argv[2], nullptr, 10)));
    return 0;
}

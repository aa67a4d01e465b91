// The floor for start-up: the least any skinned GDI+ dialog program must do. It loads the system
// libraries Velmora.exe imports (common controls 6, GDI+, shell and its light API, OLE, sockets,
// registry, device setup), starts
// GDI+, decodes one 800 x 328 PNG, draws it into a 32-bit surface and presents it on a layered
// window, then runs until the window is closed. With "/timers" it also runs two timers (1 s and
// 2 s) that do nothing: the floor of the idle benchmark, against the main window's gauge timers.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <setupapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <cwchar>
#include <memory>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include "framework/GdiplusSession.h"
#include "framework/Wnd.h"
#include "skin/SkinSurface.h"

namespace {

constexpr wchar_t kClassName[] = L"VELMORA_FLOOR_WINDOW";
constexpr WORD kPictureId = 141;  // the 800 x 328 full background
constexpr UINT_PTR kSecondTimer = 1123;
constexpr UINT_PTR kTwoSecondTimer = 1124;

class FloorWindow : public fw::CWnd {
  protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_DESTROY) {
            ::PostQuitMessage(0);
        }
        if (msg == WM_TIMER) {
            return 0;
        }
        return fw::CWnd::WindowProc(msg, wParam, lParam);
    }
};

// Touches each library once, so that each is loaded as Velmora.exe loads it.
void LoadTheProgramsLibraries() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    wchar_t documents[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents);
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        ::RegCloseKey(key);
    }
    volatile u_short port = ::htons(80);  // ws2_32
    (void)port;
    volatile BOOL relative = ::PathIsRelativeW(documents);  // shlwapi
    (void)relative;
    volatile auto setup = &::SetupDiDestroyDeviceInfoList;  // setupapi
    (void)setup;
}

// The PNG of the resource, decoded from a stream over a copy of its bytes.
std::unique_ptr<Gdiplus::Image> DecodePicture() {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(kPictureId), L"RES_PNG");
    const DWORD size = resource != nullptr ? ::SizeofResource(module, resource) : 0;
    HGLOBAL loaded = resource != nullptr ? ::LoadResource(module, resource) : nullptr;
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    HGLOBAL block = bytes != nullptr ? ::GlobalAlloc(GMEM_FIXED, size) : nullptr;
    if (block == nullptr) {
        return nullptr;
    }
    ::CopyMemory(block, bytes, size);  // a fixed block is its own address
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream))) {
        ::GlobalFree(block);
        return nullptr;
    }
    std::unique_ptr<Gdiplus::Image> image(Gdiplus::Image::FromStream(stream, FALSE));
    stream->Release();
    return image;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    LoadTheProgramsLibraries();
    fw::GdiplusSession gdiplus;
    fw::CWnd::RegisterWindowClass(kClassName, 0, nullptr);
    FloorWindow window;
    if (!window.CreateEx(WS_EX_LAYERED, kClassName, L"Floor", WS_POPUP, RECT{0, 0, 800, 328},
                         nullptr)) {
        return 1;
    }
    HWND hwnd = window.GetSafeHwnd();
    SkinSurface surface;
    if (!surface.Create(hwnd)) {
        return 1;
    }
    {
        const std::unique_ptr<Gdiplus::Image> picture = DecodePicture();
        Gdiplus::Graphics graphics(surface.GetDC());
        if (picture != nullptr) {
            graphics.DrawImage(picture.get(), 0, 0, 800, 328);
        }
    }
    surface.PresentLayered(hwnd);
    ::ShowWindow(hwnd, SW_SHOW);
    if (commandLine != nullptr && std::wcsstr(commandLine, L"/timers") != nullptr) {
        ::SetTimer(hwnd, kSecondTimer, 1000, nullptr);
        ::SetTimer(hwnd, kTwoSecondTimer, 2000, nullptr);
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}

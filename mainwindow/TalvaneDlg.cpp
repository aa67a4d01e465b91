#include "mainwindow/TalvaneDlg.h"

#include "res/resource.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 328;

}  // namespace

CTalvaneDlg::CTalvaneDlg() : fw::CDialog(IDD_MAIN) {}

void CTalvaneDlg::CreateSurface() {
    fw::WindowDc screen(GetSafeHwnd());
    if (!screen) {
        return;
    }
    surfaceBits_ = fw::DibSection(screen.get(), kWidth, kHeight);
    surfaceDc_.reset(::CreateCompatibleDC(screen.get()));
    if (surfaceDc_ && surfaceBits_) {
        ::SelectObject(surfaceDc_.get(), surfaceBits_.get());
        // An opaque graphite body until the skin draws the real picture.
        for (int y = 0; y < kHeight; ++y) {
            DWORD* row = surfaceBits_.row(y);
            for (int x = 0; x < kWidth; ++x) {
                row[x] = 0xFF26282C;
            }
        }
    }
}

BOOL CTalvaneDlg::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    HWND hwnd = GetSafeHwnd();
    ::SetWindowPos(hwnd, nullptr, 0, 0, kWidth, kHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ::SetWindowLongW(hwnd, GWL_EXSTYLE, ::GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    ::SetWindowTextW(hwnd, L"Velmora");
    CreateSurface();
    PushLayer();
    return TRUE;
}

void CTalvaneDlg::PushLayer() {
    HWND hwnd = GetSafeHwnd();
    if (hwnd == nullptr || !surfaceDc_) {
        return;
    }
    RECT rect;
    ::GetWindowRect(hwnd, &rect);
    POINT position{rect.left, rect.top};
    SIZE size{rect.right - rect.left, rect.bottom - rect.top};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    fw::WindowDc dc(hwnd);
    ::UpdateLayeredWindow(hwnd, dc.get(), &position, &size, surfaceDc_.get(), &source, 0, &blend,
                          ULW_ALPHA);
}

bool CTalvaneDlg::OnCommand(int id, int code, HWND control) {
    if (id == IDC_CLOSE_BUTTON) {
        OnOK();
        return true;
    }
    return fw::CDialog::OnCommand(id, code, control);
}

LRESULT CTalvaneDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND:
            return TRUE;
        case WM_LBUTTONDOWN:
            DefWindowProc(msg, wParam, lParam);
            ::SetFocus(GetSafeHwnd());
            ::SendMessageW(GetSafeHwnd(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
            return 0;
        default:
            break;
    }
    return fw::CDialog::WindowProc(msg, wParam, lParam);
}

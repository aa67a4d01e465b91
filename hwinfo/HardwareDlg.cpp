#include "hwinfo/HardwareDlg.h"

#include "skin/SkinCanvas.h"
#include "skin/SkinImages.h"
#include "skin/SkinPaint.h"

namespace {

constexpr Gdiplus::REAL kNameFontPx = 12.0f;
constexpr Gdiplus::REAL kRowFontPx = 11.0f;
constexpr Gdiplus::ARGB kTextColour = 0xFFFFFFFF;
// Page coordinates of the rows' texts: the name on top, then one row every 22 pixels.
constexpr int kTextLeft = 20;
constexpr int kNameTop = 3;
constexpr int kFirstRowTop = 25;
constexpr int kRowPitch = 22;
constexpr RECT kWaitBar{80, 76, 180, 83};

}  // namespace

CHARDWAREDLG::CHARDWAREDLG() : CSkinSubDialog(IDD_HARDWARE), source_(hwinfo::ProgramSource()) {}

CHARDWAREDLG::CHARDWAREDLG(hwinfo::CollectorSource source)
    : CSkinSubDialog(IDD_HARDWARE), source_(std::move(source)) {
    StartCollecting();
}

void CHARDWAREDLG::StartCollecting() {
    if (source_) {
        collector_ = hwinfo::StartCollector(std::move(*source_), facts_);
        source_.reset();
    }
}

bool CHARDWAREDLG::WaitCollector(DWORD milliseconds) const {
    return !collector_ || ::WaitForSingleObject(collector_.get(), milliseconds) == WAIT_OBJECT_0;
}

void CHARDWAREDLG::DoDataExchange() {
    static_cast<void>(BindControl(IDC_WAIT_BAR, waitBar_));
}

BOOL CHARDWAREDLG::OnInitDialog() {
    StartCollecting();
    CSkinSubDialog::OnInitDialog();
    if (HWND bar = waitBar_.GetSafeHwnd()) {
        ::MoveWindow(bar, kWaitBar.left, kWaitBar.top, kWaitBar.right - kWaitBar.left,
                     kWaitBar.bottom - kWaitBar.top, FALSE);
    }
    waitBar_.hoverImage = FindSkinImage(L"WaitBtnGif");
    waitBar_.animated = true;
    if (waitBar_.hoverImage != nullptr) {
        waitBar_.StartAnimation();
    }
    waitBar_.shown = true;
    // Facts published before the window existed are shown now; later ones arrive as a message.
    if (facts_->AttachWindow(GetSafeHwnd())) {
        ShowFacts();
    }
    return TRUE;
}

void CHARDWAREDLG::ShowFacts() {
    // The bar's frame timer would otherwise wake the program ten times a second for good.
    waitBar_.StopAnimation();
    if (HWND bar = waitBar_.GetSafeHwnd()) {
        ::ShowWindow(bar, SW_HIDE);
    }
    waitBar_.shown = false;
    RedrawPage();
}

void CHARDWAREDLG::AttachSkin(SkinSurface* newSurface, Gdiplus::Image* newBackground) {
    CSkinSubDialog::AttachSkin(newSurface, newBackground);
    waitBar_.AttachSurface(newSurface);
    waitBar_.Redraw();
}

void CHARDWAREDLG::DrawControls() {
    if (facts_->ready() && skin::ImageStatusOk(background)) {
        skin::SkinCanvas canvas(surface, GetSafeHwnd(), skin::Origin::Parent, skin::Visible::Window,
                                skin::Present::No);
        if (canvas) {
            const hwinfo::Rows& texts = facts_->rows();
            const auto left = static_cast<float>(canvas.rect().left + kTextLeft);
            const int top = canvas.rect().top;
            Gdiplus::FontFamily family(skin::kFontFamily);
            Gdiplus::Font nameFont(&family, kNameFontPx, Gdiplus::FontStyleRegular,
                                   Gdiplus::UnitPixel);
            Gdiplus::Font rowFont(&family, kRowFontPx, Gdiplus::FontStyleRegular,
                                  Gdiplus::UnitPixel);
            Gdiplus::SolidBrush white{Gdiplus::Color{kTextColour}};
            for (size_t row = 0; row < hwinfo::kRowCount; ++row) {
                const std::wstring& text = texts[row];
                const int y = row == hwinfo::kCardNameRow
                                  ? top + kNameTop
                                  : top + kFirstRowTop + kRowPitch * static_cast<int>(row - 1);
                skin::DrawTextAt(canvas.graphics(), text.c_str(), static_cast<int>(text.size()),
                                 row == hwinfo::kCardNameRow ? nameFont : rowFont, white, left,
                                 static_cast<float>(y));
            }
        }
    }
    waitBar_.Redraw();
}

LRESULT CHARDWAREDLG::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == hwinfo::kFactsReadyMessage) {
        ShowFacts();
        return 0;
    }
    if (msg == WM_DESTROY) {
        facts_->DetachWindow();
    }
    return CSkinSubDialog::WindowProc(msg, wParam, lParam);
}

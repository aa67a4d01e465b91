#include "shortcuts/ShortCutEdit.h"

#include "shortcuts/core/HotkeyTable.h"
#include "skin/SkinCanvas.h"
#include "skin/SkinPaint.h"

namespace {

constexpr Gdiplus::REAL kLabelFontPx = 10.0f;
constexpr Gdiplus::REAL kKeyFontPx = 9.0f;
constexpr Gdiplus::ARGB kTextColour = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kFocusedFieldColour = 0xFF221F1F;
constexpr Gdiplus::ARGB kKeyBoxColour = 0xFF5C5D60;
// Labels this long or shorter are indented.
constexpr size_t kShortLabel = 5;
constexpr int kShortLabelIndent = 5;

bool KeyDown(int virtualKey) {
    return ::GetKeyState(virtualKey) < 0;
}

void DrawText(Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::Font& font,
              const Gdiplus::Brush& brush, int x, int y) {
    skin::DrawTextAt(graphics, text.c_str(), static_cast<int>(text.size()), font, brush,
                     static_cast<float>(x), static_cast<float>(y));
}

}  // namespace

CShortCutEdit::CShortCutEdit() : prompt(shortcuts::kHotkeyPrompt) {}

void CShortCutEdit::PreSubclassWindow() {
    skin::MakeOwnerDraw(GetSafeHwnd(), SS_NOTIFY);
}

void CShortCutEdit::SetHotKey(shortcuts::HotKeyValue newValue) {
    shortcuts::HotKeyText shown = shortcuts::FormatHotKey(newValue);
    value = shown.value;
    keyText = std::move(shown.text);
    ShowChange();
}

void CShortCutEdit::AttachSurface(Gdiplus::Image* pageBackground, SkinSurface* target) {
    background = pageBackground;
    surface = target;
}

BOOL CShortCutEdit::Show(int showCmd) {
    ::ShowWindow(GetSafeHwnd(), showCmd);
    return TRUE;
}

void CShortCutEdit::ShowChange() {
    HWND hwnd = GetSafeHwnd();
    // A hidden field changes nothing on screen (the page loads its values while hidden).
    if (hwnd == nullptr || !::IsWindowVisible(hwnd)) {
        return;
    }
    DrawField();
    skin::RequestPresent(skin::ApplicationMainWindow(hwnd));
}

void CShortCutEdit::DrawField() {
    HWND hwnd = GetSafeHwnd();
    skin::SkinCanvas canvas(surface, hwnd, skin::Origin::MainWindow, skin::Visible::Window,
                            skin::Present::No);
    if (!canvas) {
        return;
    }
    Gdiplus::Graphics& graphics = canvas.graphics();
    const RECT& field = canvas.rect();
    const int width = field.right - field.left;
    const int height = field.bottom - field.top;

    Gdiplus::FontFamily family(skin::kFontFamily);
    Gdiplus::Font labelFont(&family, kLabelFontPx, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    Gdiplus::SolidBrush white{Gdiplus::Color{kTextColour}};
    if (focused) {
        Gdiplus::SolidBrush dark{Gdiplus::Color{kFocusedFieldColour}};
        graphics.FillRectangle(&dark, field.left, field.top, width, height);
        Gdiplus::SolidBrush keyBox{Gdiplus::Color{kKeyBoxColour}};
        graphics.FillRectangle(&keyBox, kKeyBoxLeft - 1, field.top + 2,
                               kKeyBoxRight - kKeyBoxLeft + 2, height - 4);
        DrawText(graphics, prompt, labelFont, white, kKeyBoxRight + 3, field.top + 1);
    } else if (background != nullptr) {
        // The page background under the field erases its previous look.
        const RECT inPage = skin::RectInClient(hwnd, ::GetParent(hwnd));
        skin::DrawImagePart(graphics, background, field, inPage.left, inPage.top, width, height);
    }
    const int labelX = label.size() <= kShortLabel ? field.left + kShortLabelIndent : field.left;
    DrawText(graphics, label, labelFont, white, labelX, field.top + 1);
    if (!keyText.empty()) {
        Gdiplus::Font keyFont(&family, kKeyFontPx, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
        DrawText(graphics, keyText, keyFont, white, kKeyBoxLeft + 1, field.top + 2);
    }
}

BOOL CShortCutEdit::PreTranslateMessage(MSG* msg) {
    if (msg == nullptr || msg->message != WM_KEYDOWN) {
        return fw::CStatic::PreTranslateMessage(msg);
    }
    // Every key press stays with the field: none reaches the dialog's keyboard navigation.
    OnKeyDown(msg->wParam);
    return TRUE;
}

void CShortCutEdit::OnKeyDown(WPARAM key) {
    if (key == VK_BACK) {
        SetHotKey(0);
        return;
    }
    if (key == VK_RETURN) {
        ::SetFocus(::GetParent(GetSafeHwnd()));
        return;
    }
    const auto captured =
        shortcuts::CaptureKeyDown(key, KeyDown(VK_SHIFT), KeyDown(VK_CONTROL), KeyDown(VK_MENU));
    if (captured) {
        SetHotKey(*captured);
    }
}

void CShortCutEdit::OnAltCharacter(LPARAM character) {
    const auto captured =
        shortcuts::CaptureAltCharacter(character, KeyDown(VK_SHIFT), KeyDown(VK_MENU));
    if (captured) {
        SetHotKey(*captured);
    }
}

bool CShortCutEdit::OnLButtonDown(UINT, POINT) {
    Default();
    ::SetFocus(GetSafeHwnd());
    focused = true;
    ShowChange();
    return true;
}

LRESULT CShortCutEdit::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SYSCOMMAND:
            // Alt with a character key arrives here (the system's menu key handling), carrying
            // the character; no system command of the field's is ever carried out.
            OnAltCharacter(lParam);
            return 1;
        case WM_KILLFOCUS: {
            const LRESULT result = fw::CStatic::WindowProc(msg, wParam, lParam);
            focused = false;
            ShowChange();
            return result;
        }
        case WM_GETDLGCODE:
            return fw::CStatic::WindowProc(msg, wParam, lParam) | DLGC_WANTALLKEYS | DLGC_WANTCHARS;
        default:
            return fw::CStatic::WindowProc(msg, wParam, lParam);
    }
}

#include "framework/Dialog.h"

#include <cstring>
#include <vector>

namespace fw {
namespace {

// The dialog whose template is being instantiated on this thread; it binds at its first message.
thread_local CDialog* t_creating = nullptr;

// Clears WS_VISIBLE in a dialog template's style: a DLGTEMPLATEEX (version 1, signature 0xFFFF)
// holds its style at byte 12, a DLGTEMPLATE at byte 0. False when the copy is too short.
bool ClearVisibleStyle(std::vector<unsigned char>& dialogTemplate) {
    constexpr std::size_t kExtendedStyleOffset = 12;
    const bool extended = dialogTemplate.size() >= 4 && dialogTemplate[0] == 1 &&
                          dialogTemplate[1] == 0 && dialogTemplate[2] == 0xFF &&
                          dialogTemplate[3] == 0xFF;
    const std::size_t offset = extended ? kExtendedStyleOffset : 0;
    if (dialogTemplate.size() < offset + sizeof(DWORD)) {
        return false;
    }
    DWORD style = 0;
    std::memcpy(&style, dialogTemplate.data() + offset, sizeof(style));
    style &= ~static_cast<DWORD>(WS_VISIBLE);
    std::memcpy(dialogTemplate.data() + offset, &style, sizeof(style));
    return true;
}

}  // namespace

CDialog::CDialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

INT_PTR CALLBACK CDialog::BootstrapProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (CWnd::FromHandle(hwnd) != nullptr) {
        return FALSE;  // bound: our window procedure already saw the message
    }
    CDialog* self = t_creating;
    if (self == nullptr && msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
    }
    if (self == nullptr) {
        return FALSE;
    }
    t_creating = nullptr;
    if (!self->SubclassWindow(hwnd)) {
        return FALSE;
    }
    // Binding happened inside the dialog procedure: hand the message on ourselves.
    if (msg == WM_INITDIALOG) {
        return self->WindowProc(msg, wParam, lParam);
    }
    return FALSE;
}

HWND CDialog::CreateFromTemplate(HWND parent) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(templateId_), MAKEINTRESOURCEW(5));
    HGLOBAL loaded = found != nullptr ? ::LoadResource(instance, found) : nullptr;
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr || GetSafeHwnd() != nullptr) {
        return nullptr;
    }
    // The system shows a dialog whose template says WS_VISIBLE once it is initialised: a
    // dialog kept hidden is made from a copy without it.
    std::vector<unsigned char> hiddenCopy;
    if (keepHidden_) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        hiddenCopy.assign(bytes, bytes + ::SizeofResource(instance, found));
        if (!ClearVisibleStyle(hiddenCopy)) {
            return nullptr;
        }
        data = hiddenCopy.data();
    }
    t_creating = this;
    HWND hwnd =
        ::CreateDialogIndirectParamW(instance, static_cast<LPCDLGTEMPLATEW>(data), parent,
                                     &CDialog::BootstrapProc, reinterpret_cast<LPARAM>(this));
    t_creating = nullptr;
    return hwnd;
}

bool CDialog::Create(HWND parent) {
    parent_ = parent;
    modal_ = false;
    return CreateFromTemplate(parent) != nullptr;
}

INT_PTR CDialog::DoModal() {
    modal_ = true;
    ended_ = false;
    result_ = -1;
    HWND owner = parent_;
    const bool ownerWasEnabled = owner != nullptr && ::IsWindowEnabled(owner);
    // Disabled before the dialog exists: a dialog that shows itself while it is initialised
    // never finds its owner still taking input.
    if (ownerWasEnabled) {
        ::EnableWindow(owner, FALSE);
    }
    HWND hwnd = CreateFromTemplate(owner);
    if (hwnd == nullptr) {
        if (ownerWasEnabled) {
            ::EnableWindow(owner, TRUE);
        }
        modal_ = false;
        return -1;
    }
    // As with the system's modal dialogs, a template without WS_VISIBLE is shown once the
    // queue first runs empty; one that is visible after its initialisation stays as it is.
    bool showWhenIdle = !keepHidden_ && !::IsWindowVisible(hwnd);
    while (!ended_ && GetSafeHwnd() != nullptr) {
        MSG msg;
        if (showWhenIdle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            ::ShowWindow(GetSafeHwnd(), SW_SHOWNORMAL);
            showWhenIdle = false;
        }
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));  // let the outer loop see it too
            break;
        }
        if (got == -1) {
            break;
        }
        if (WalkPreTranslate(&msg)) {
            continue;
        }
        if (GetSafeHwnd() != nullptr && ::IsDialogMessageW(GetSafeHwnd(), &msg)) {
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    if (ownerWasEnabled) {
        ::EnableWindow(owner, TRUE);
        ::SetActiveWindow(owner);
    }
    if (HWND still = GetSafeHwnd()) {
        ::DestroyWindow(still);
    }
    modal_ = false;
    return result_;
}

bool CDialog::WalkPreTranslate(MSG* msg) {
    HWND self = GetSafeHwnd();
    if (msg->hwnd == nullptr) {
        return PreTranslateMessage(msg) != FALSE;
    }
    for (HWND h = msg->hwnd; h != nullptr; h = ::GetParent(h)) {
        CWnd* target = CWnd::FromHandle(h);
        if (target != nullptr && target->PreTranslateMessage(msg)) {
            return true;
        }
        if (h == self) {
            break;
        }
    }
    return false;
}

void CDialog::EndDialog(INT_PTR result) {
    result_ = result;
    ended_ = true;
    if (modal_ && GetSafeHwnd() != nullptr) {
        ::ShowWindow(GetSafeHwnd(), SW_HIDE);
        ::PostMessageW(GetSafeHwnd(), WM_NULL, 0, 0);  // wake the loop
    }
}

BOOL CDialog::OnInitDialog() {
    DoDataExchange();
    return TRUE;
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool CDialog::BindControl(int id, CWnd& control) {
    return control.SubclassDlgItem(id, GetSafeHwnd());
}

bool CDialog::OnCommand(int id, int, HWND) {
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

LRESULT CDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_NCDESTROY:
            ended_ = true;
            break;
        default:
            break;
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}

}  // namespace fw

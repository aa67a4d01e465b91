// Dialogs from templates: the modal loop, PreTranslateMessage, bound controls and routing.
#include "framework/Dialog.h"
#include "tests/framework/FrameworkTestIds.h"
#include "tests/support/ScriptedDialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

class RecordingButton : public fw::CButton {
  public:
    int drawCount = 0;
    int clickCount = 0;
    bool preSubclassed = false;
    std::vector<UINT> messages;

  protected:
    void PreSubclassWindow() override { preSubclassed = GetSafeHwnd() != nullptr; }
    void DrawItem(const DRAWITEMSTRUCT& item) override {
        if (item.hwndItem == GetSafeHwnd()) {
            ++drawCount;
        }
    }
    bool OnChildNotify(int code) override {
        if (code == BN_CLICKED) {
            ++clickCount;
            return true;
        }
        return false;
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(msg);
        return fw::CButton::WindowProc(msg, wParam, lParam);
    }
};

// A dialog that runs a test script from inside its own modal loop.
class ScriptedDialog : public testkit::ScriptedDialog<ScriptedDialog, fw::CDialog> {
  public:
    explicit ScriptedDialog(UINT templateId = IDD_FRAMEWORK_TEST, HWND owner = nullptr)
        : testkit::ScriptedDialog<ScriptedDialog, fw::CDialog>(templateId, owner) {}

    std::function<void(ScriptedDialog&)> whileInitialising;
    bool swallowKeys = false;
    std::vector<WPARAM> keysSeen;
    int okCount = 0;
    int cancelCount = 0;
    int plainClicks = 0;
    RecordingButton ownerDrawn;

    HWND Item(int id) const { return ::GetDlgItem(GetSafeHwnd(), id); }

  protected:
    BOOL OnInitDialog() override {
        if (whileInitialising) {
            whileInitialising(*this);
        }
        return testkit::ScriptedDialog<ScriptedDialog, fw::CDialog>::OnInitDialog();
    }
    void DoDataExchange() override { BindControl(IDC_OWNER_DRAWN, ownerDrawn); }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN) {
            keysSeen.push_back(msg->wParam);
            if (swallowKeys && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) {
                return TRUE;
            }
        }
        return fw::CDialog::PreTranslateMessage(msg);
    }
    void OnOK() override {
        ++okCount;
        fw::CDialog::OnOK();
    }
    void OnCancel() override {
        ++cancelCount;
        fw::CDialog::OnCancel();
    }
    bool OnCommand(int id, int code, HWND control) override {
        if (id == IDC_PLAIN_BUTTON && code == BN_CLICKED) {
            ++plainClicks;
            return true;
        }
        return fw::CDialog::OnCommand(id, code, control);
    }
};

TEST(ModalDialog, EndDialogEndsTheLoopWithItsValue) {
    ScriptedDialog dialog;
    dialog.script = [](ScriptedDialog& d) { d.EndDialog(42); };
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);  // destroyed and unbound after the run
}

TEST(ModalDialog, MissingTemplateFailsWithoutALoop) {
    ScriptedDialog dialog(9999);
    EXPECT_EQ(dialog.DoModal(), -1);
}

// A dialog that shows itself while it is initialised must never find its owner still taking
// input; the owner takes it again once the dialog has ended, or when no dialog could be made.
TEST(ModalDialog, TheOwnerIsDisabledBeforeTheDialogIsMadeAndEnabledAgainAfter) {
    HWND owner = ::CreateWindowExW(WS_EX_LAYERED, L"Static", L"owner", WS_POPUP | WS_VISIBLE, 0, 0,
                                   50, 50, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    bool enabledWhileInitialising = true;
    bool enabledWhileRunning = true;
    ScriptedDialog dialog(IDD_FRAMEWORK_TEST, owner);
    dialog.whileInitialising = [&](ScriptedDialog&) {
        enabledWhileInitialising = ::IsWindowEnabled(owner) != FALSE;
    };
    dialog.script = [&](ScriptedDialog& d) {
        enabledWhileRunning = ::IsWindowEnabled(owner) != FALSE;
        d.EndDialog(1);
    };
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_FALSE(enabledWhileInitialising);
    EXPECT_FALSE(enabledWhileRunning);
    EXPECT_TRUE(::IsWindowEnabled(owner));

    ScriptedDialog missing(9999, owner);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    ::DestroyWindow(owner);
}

// A timer procedure (stdcall on 32-bit, so no lambda) that ends the dialog's run with 5.
void CALLBACK EndRunWithFive(HWND hwnd, UINT, UINT_PTR, DWORD) {
    ::KillTimer(hwnd, 1);
    static_cast<ScriptedDialog*>(fw::CWnd::FromHandle(hwnd))->EndDialog(5);
}

TEST(ModalDialog, PreTranslateMessageSeesKeysFirstAndCanSwallowEnterAndEsc) {
    ScriptedDialog dialog;
    dialog.swallowKeys = true;
    dialog.script = [](ScriptedDialog& d) {
        HWND edit = d.Item(IDC_EDIT_FIELD);
        ::SetFocus(edit);
        ::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
        ::PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
        ::PostMessageW(edit, WM_KEYDOWN, 'A', 0);
        // Ends the run once the queued keys have been through the loop.
        ::SetTimer(d.GetSafeHwnd(), 1, 300, &EndRunWithFive);
    };
    EXPECT_EQ(dialog.DoModal(), 5);
    EXPECT_EQ(dialog.okCount, 0);
    EXPECT_EQ(dialog.cancelCount, 0);
    ASSERT_EQ(dialog.keysSeen.size(), 3u);
    EXPECT_EQ(dialog.keysSeen[0], static_cast<WPARAM>(VK_RETURN));
    EXPECT_EQ(dialog.keysSeen[1], static_cast<WPARAM>(VK_ESCAPE));
    EXPECT_EQ(dialog.keysSeen[2], static_cast<WPARAM>('A'));
}

// Ends the run with 1 when the dialog is visible by then, else 0.
void CALLBACK EndRunWithVisibility(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(hwnd, id);
    static_cast<ScriptedDialog*>(fw::CWnd::FromHandle(hwnd))
        ->EndDialog(::IsWindowVisible(hwnd) ? 1 : 0);
}

TEST(ModalDialog, TemplateWithoutTheVisibleStyleIsShownOnceTheQueueRunsEmpty) {
    ScriptedDialog dialog(IDD_FRAMEWORK_HIDDEN_TEST);
    bool visibleAtFirst = true;
    dialog.script = [&](ScriptedDialog& d) {
        visibleAtFirst = ::IsWindowVisible(d.GetSafeHwnd()) != FALSE;
        ::SetTimer(d.GetSafeHwnd(), 2, 200, &EndRunWithVisibility);
    };
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_FALSE(visibleAtFirst);
}

TEST(ModalDialog, AKeptHiddenDialogIsNeverShownDespiteItsVisibleTemplate) {
    ScriptedDialog dialog(IDD_FRAMEWORK_TEST);  // WS_VISIBLE in its template
    dialog.KeepHidden(true);
    bool visibleAtFirst = true;
    dialog.script = [&](ScriptedDialog& d) {
        visibleAtFirst = ::IsWindowVisible(d.GetSafeHwnd()) != FALSE;
        ::SetTimer(d.GetSafeHwnd(), 2, 200, &EndRunWithVisibility);
    };
    EXPECT_EQ(dialog.DoModal(), 0);  // still hidden after the queue ran empty
    EXPECT_FALSE(visibleAtFirst);
}

TEST(ModalDialog, EscapeLetThroughReachesCancel) {
    ScriptedDialog dialog;
    dialog.script = [](ScriptedDialog& d) {
        HWND edit = d.Item(IDC_EDIT_FIELD);
        ::SetFocus(edit);
        ::PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.cancelCount, 1);
    EXPECT_EQ(dialog.keysSeen.size(), 1u);
}

TEST(ModalDialog, EnterLetThroughReachesOk) {
    ScriptedDialog dialog;
    dialog.script = [](ScriptedDialog& d) {
        HWND edit = d.Item(IDC_EDIT_FIELD);
        ::SetFocus(edit);
        ::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.okCount, 1);
}

TEST(BoundControl, IsSubclassedAndReceivesItsMessagesDrawItemAndClicks) {
    ScriptedDialog dialog;
    int drawsBefore = -1;
    dialog.script = [&](ScriptedDialog& d) {
        HWND button = d.Item(IDC_OWNER_DRAWN);
        EXPECT_EQ(fw::CWnd::FromHandle(button), &d.ownerDrawn);
        drawsBefore = d.ownerDrawn.drawCount;
        ::InvalidateRect(button, nullptr, TRUE);
        ::UpdateWindow(button);
        ::SendMessageW(button, BM_CLICK, 0, 0);
        d.EndDialog(1);
    };
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_TRUE(dialog.ownerDrawn.preSubclassed);
    EXPECT_GT(dialog.ownerDrawn.drawCount, drawsBefore);
    EXPECT_EQ(dialog.ownerDrawn.clickCount, 1);
    EXPECT_EQ(dialog.plainClicks, 0);  // the control consumed its own notification
    EXPECT_FALSE(dialog.ownerDrawn.messages.empty());
    EXPECT_EQ(dialog.ownerDrawn.GetSafeHwnd(), nullptr);  // unbound when the window went away
}

TEST(DialogClass, RegisteredFromTheSystemDialogClassIsFoundFromAnotherProcess) {
    WNDCLASSW wc{};
    ASSERT_TRUE(::GetClassInfoW(nullptr, MAKEINTRESOURCEW(0x8002), &wc));
    wc.lpfnWndProc = ::DefDlgProcW;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VELMORA_TEST_DLG";
    ASSERT_NE(::RegisterClassW(&wc), 0);

    ScriptedDialog dialog(IDD_FRAMEWORK_CLASS_TEST);
    DWORD exitCode = 99;
    dialog.script = [&](ScriptedDialog& d) {
        wchar_t command[] = L"wintool.exe find-window VELMORA_TEST_DLG";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (::CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process)) {
            ::WaitForSingleObject(process.hProcess, 30000);
            ::GetExitCodeProcess(process.hProcess, &exitCode);
            ::CloseHandle(process.hThread);
            ::CloseHandle(process.hProcess);
        }
        d.EndDialog(0);
    };
    EXPECT_EQ(dialog.DoModal(), 0);
    EXPECT_EQ(exitCode, 0u);
    ::UnregisterClassW(L"VELMORA_TEST_DLG", ::GetModuleHandleW(nullptr));
}

TEST(ChildDialog, CreateBindsWithoutAModalLoop) {
    ScriptedDialog parent;
    bool childBound = false;
    parent.script = [&](ScriptedDialog& d) {
        ScriptedDialog child(IDD_FRAMEWORK_TEST);
        childBound = child.Create(d.GetSafeHwnd()) &&
                     fw::CWnd::FromHandle(child.GetSafeHwnd()) == &child && !child.IsModalRunning();
        d.EndDialog(0);
    };
    parent.DoModal();
    EXPECT_TRUE(childBound);
}

}  // namespace

// Shared pieces of the shortcut tests: a recording main window, a message loop that offers every
// message to PreTranslateMessage as the program's modal loop does, and held modifier keys.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

#include "framework/Wnd.h"

namespace shortcuttest {

// A visible layered top-level window at a fixed screen place (never drawn on screen, so Wine
// neither maps nor waits for it); it plays the main window and records the
// messages pages and fields send it.
class MainWindowStandIn : public fw::CWnd {
  public:
    MainWindowStandIn();
    ~MainWindowStandIn() override;

    HWND hwnd() const { return GetSafeHwnd(); }
    int Count(UINT msg) const;
    std::vector<MSG> Of(UINT msg) const;
    void Clear() { received_.clear(); }

  protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    std::vector<MSG> received_;
};

// Runs every waiting message as the modal loop does: PreTranslateMessage from the target window
// up its parents first, then translation and dispatch.
void RunMessageLoop();

// The thread's key state has these keys down for the object's life.
class HeldKeys {
  public:
    explicit HeldKeys(std::initializer_list<int> keys);
    ~HeldKeys();
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

  private:
    BYTE saved_[256] = {};
};

// Posts a key press to a window (as the system queues it) with these keys held, and runs it.
void PressKey(HWND target, WPARAM key, std::initializer_list<int> held = {});

}  // namespace shortcuttest

// Dialog windows as tests and test tools meet them: message boxes (class #32770, the text in a
// static of id 0xFFFF, OK as button IDOK) and the child dialogs that are the main window's pages.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace testkit {

// A visible message box of the process (of any process for 0) that is not among `skip`, or null.
HWND FindMessageBox(DWORD process, const std::set<HWND>& skip = {});
// The text a message box shows.
std::wstring MessageBoxText(HWND box);
// Presses a message box's OK button; posted, so it works from any thread or process.
void PressOk(HWND box);

// The dialogs among a window's direct children (of any process), only the visible ones when
// asked: the main window's pages.
int ChildDialogCount(HWND parent, bool visibleOnly = false);

// Presses OK on every message box this process shows while the object lives, from a thread of
// its own, so that code showing a modal box can run on the test's thread.
class MessageBoxDismisser {
  public:
    MessageBoxDismisser();
    ~MessageBoxDismisser();
    MessageBoxDismisser(const MessageBoxDismisser&) = delete;
    MessageBoxDismisser& operator=(const MessageBoxDismisser&) = delete;

    // The texts of the boxes dismissed so far, oldest first.
    std::vector<std::wstring> Texts() const;

  private:
    void Watch();

    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::wstring> texts_;
    std::thread watcher_;
};

}  // namespace testkit

// The notification-area icon that brings the hidden main window back. It is added once the
// shell takes it: a refused add is retried from a timer of the owner (never by sleeping, so the
// window keeps answering), and the icon is added again when the shell announces a restart.
// The icon is deleted with this object.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

class TrayIcon {
  public:
    using ShellNotifyFn = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);

    static constexpr UINT kIconId = 128;
    static constexpr UINT_PTR kRetryTimer = 1104;
    static constexpr UINT kRetryPeriodMs = 5000;

    TrayIcon();
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // The window that receives the icon's notifications, the icon shown and its callback message.
    void Attach(HWND owner, HICON icon, UINT callbackMessage);
    // Replaces the shell call (tests fail it on purpose).
    void UseShellNotify(ShellNotifyFn notify) { notify_ = notify; }

    // One NIM_ADD; true when the shell took the icon.
    bool Add();
    // Tries again every retry period until the icon is added.
    void StartRetry();
    // The owner's retry timer fired; false for any other timer.
    bool OnTimer(UINT_PTR id);
    // The shell (re)started: it knows no icon now. An icon that was asked for is added again.
    void OnShellRestarted();

    // The tip the icon shows (at most 127 characters are kept); an icon already shown takes it
    // at once, an icon added later shows it.
    void SetTip(const std::wstring& tip);

    // Deletes the icon (when the owner is destroyed); the destructor does it otherwise.
    void Remove();

    bool added() const { return added_; }
    bool retrying() const { return retrying_; }

  private:
    void StopRetry();

    NOTIFYICONDATAW data_{};
    ShellNotifyFn notify_;
    bool wanted_ = false;
    bool added_ = false;
    bool retrying_ = false;
};

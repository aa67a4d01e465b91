#include "mainwindow/TrayIcon.h"

#include <algorithm>
#include <cwchar>

namespace {

constexpr wchar_t kTip[] = L"Velmora";

}  // namespace

TrayIcon::TrayIcon() : notify_(&::Shell_NotifyIconW) {
    // The Windows XP layout of the record, which every later shell accepts.
    data_.cbSize = NOTIFYICONDATAW_V3_SIZE;
    data_.uID = kIconId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    std::wcsncpy(data_.szTip, kTip, ARRAYSIZE(data_.szTip) - 1);
}

TrayIcon::~TrayIcon() {
    Remove();
}

void TrayIcon::Attach(HWND owner, HICON icon, UINT callbackMessage) {
    data_.hWnd = owner;
    data_.hIcon = icon;
    data_.uCallbackMessage = callbackMessage;
}

bool TrayIcon::Add() {
    wanted_ = true;
    if (added_) {
        return true;
    }
    added_ = data_.hWnd != nullptr && notify_(NIM_ADD, &data_) != FALSE;
    return added_;
}

void TrayIcon::StartRetry() {
    wanted_ = true;
    if (!added_ && data_.hWnd != nullptr &&
        ::SetTimer(data_.hWnd, kRetryTimer, kRetryPeriodMs, nullptr) != 0) {
        retrying_ = true;
    }
}

bool TrayIcon::OnTimer(UINT_PTR id) {
    if (id != kRetryTimer) {
        return false;
    }
    if (Add()) {
        StopRetry();
    }
    return true;
}

void TrayIcon::OnShellRestarted() {
    if (!wanted_) {
        return;
    }
    added_ = false;
    if (!Add()) {
        StartRetry();
    }
}

void TrayIcon::StopRetry() {
    if (retrying_) {
        ::KillTimer(data_.hWnd, kRetryTimer);
        retrying_ = false;
    }
}

void TrayIcon::SetTip(const std::wstring& tip) {
    const size_t length = std::min(tip.size(), ARRAYSIZE(data_.szTip) - 1);
    std::wmemcpy(data_.szTip, tip.data(), length);
    data_.szTip[length] = L'\0';
    if (added_) {
        notify_(NIM_MODIFY, &data_);
    }
}

void TrayIcon::Remove() {
    StopRetry();
    wanted_ = false;
    if (added_) {
        notify_(NIM_DELETE, &data_);
        added_ = false;
    }
}

// Adding, re-adding and removing the notification-area icon with one record kept for the whole run.
#include "app/TrayIcon.h"

void TrayIcon::Init(HWND owner, HICON icon, const wchar_t* tip)
{
    data_ = {sizeof(data_)};
    data_.hWnd = owner;
    data_.uID = kId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = kCallbackMessage;
    data_.hIcon = icon;
    lstrcpynW(data_.szTip, tip, ARRAYSIZE(data_.szTip));
}

void TrayIcon::SetIcon(HICON icon)
{
    data_.hIcon = icon;
    if (added_) {
        notify_(NIM_MODIFY, &data_);
    }
}

bool TrayIcon::Add()
{
    wanted_ = true;
    retriesLeft_ = kMaxRetries;
    return TryAdd();
}

bool TrayIcon::TryAdd()
{
    // A shell that still holds the icon refuses a second add but takes a modify: then it is there.
    added_ = notify_(NIM_ADD, &data_) != FALSE || notify_(NIM_MODIFY, &data_) != FALSE;
    if (added_) {
        KillTimer(data_.hWnd, kRetryTimerId);
    } else if (retriesLeft_ > 0) {
        // The shell may not be up yet (logon) or busy; without the icon the program could not be ended.
        SetTimer(data_.hWnd, kRetryTimerId, kRetryIntervalMs, nullptr);
    }
    return added_;
}

void TrayIcon::Remove()
{
    wanted_ = false;
    KillTimer(data_.hWnd, kRetryTimerId);
    notify_(NIM_DELETE, &data_);
    added_ = false;
}

bool TrayIcon::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER && wParam == kRetryTimerId) {
        KillTimer(data_.hWnd, kRetryTimerId);
        if (wanted_ && !added_) {
            --retriesLeft_;
            TryAdd();
        }
        return true;
    }
    if (msg == TaskbarCreatedMessage() && msg != 0) {
        // A restarted shell has forgotten every icon.
        if (wanted_) {
            retriesLeft_ = kMaxRetries;
            TryAdd();
        }
        return true;
    }
    return false;
}

UINT TrayIcon::TaskbarCreatedMessage()
{
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

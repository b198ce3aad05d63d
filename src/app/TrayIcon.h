// The program's icon in the notification area: added once, tried again while the shell refuses it, and
// added anew whenever the shell rebuilds its notification area.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <utility>

class TrayIcon {
public:
    static constexpr UINT kId = 1;
    static constexpr UINT kCallbackMessage = WM_USER + 1;
    static constexpr UINT_PTR kRetryTimerId = 0x5201;
    static constexpr UINT kRetryIntervalMs = 1000;
    static constexpr int kMaxRetries = 10;

    // Every call to the shell goes through notify (Shell_NotifyIconW in the program).
    using NotifyFn = std::function<BOOL(DWORD message, PNOTIFYICONDATAW data)>;
    explicit TrayIcon(NotifyFn notify = Shell_NotifyIconW) : notify_(std::move(notify)) {}

    void Init(HWND owner, HICON icon, const wchar_t* tip);
    // Shows another image (the icon for a new DPI); the shell gets it at once when the icon is there.
    void SetIcon(HICON icon);
    HICON IconHandle() const { return data_.hIcon; }
    // True when the shell took the icon; otherwise a timer on the owner tries again a few times.
    bool Add();
    void Remove();
    bool IsAdded() const { return added_; }

    // Consumes the retry timer and the shell's "TaskbarCreated" notice; false for every other message.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    static UINT TaskbarCreatedMessage();

private:
    bool TryAdd();

    NotifyFn notify_;
    NOTIFYICONDATAW data_ = {sizeof(data_)};
    bool wanted_ = false;
    bool added_ = false;
    int retriesLeft_ = 0;
};

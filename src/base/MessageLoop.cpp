// Message loop, message-processing waits and the list of modeless dialogs that get dialog keys.
#include "base/MessageLoop.h"

#include <algorithm>
#include <vector>

namespace {
std::vector<HWND>& DialogWindows()
{
    static std::vector<HWND> windows;
    return windows;
}

void Dispatch(MSG& msg)
{
    const bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    for (HWND dialog : DialogWindows()) {
        if (!IsWindow(dialog) || !IsWindowVisible(dialog)) {
            continue;
        }
        if (keyDown && (msg.hwnd == dialog || IsChild(dialog, msg.hwnd)) &&
            SendMessageW(dialog, kDialogKeyMessage, 0, reinterpret_cast<LPARAM>(&msg))) {
            return;
        }
        if (IsDialogMessageW(dialog, &msg)) {
            return;
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}
} // namespace

void AddDialogWindow(HWND hwnd)
{
    if (hwnd && std::find(DialogWindows().begin(), DialogWindows().end(), hwnd) == DialogWindows().end()) {
        DialogWindows().push_back(hwnd);
    }
}

void RemoveDialogWindow(HWND hwnd)
{
    auto& windows = DialogWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), hwnd), windows.end());
}

bool ProcessPendingMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The outer loop must still see it, or the program would never end.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        Dispatch(msg);
    }
    return true;
}

bool WaitProcessingMessages(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (!ProcessPendingMessages()) {
            return false;
        }
        // Unsigned difference: the wrap of the tick counter after 49.7 days does not prolong the wait.
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed > milliseconds) {
            return true;
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds - elapsed + 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

int RunMessageLoop()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        Dispatch(msg);
    }
    return static_cast<int>(msg.wParam);
}

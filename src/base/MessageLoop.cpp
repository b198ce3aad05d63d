// Message loop, message-processing waits and the modeless dialogs' dialog keys.
#include "base/MessageLoop.h"

namespace {
// Waits at most timeout milliseconds for input; a watched handle's signal comes as a message too (HandleWatches.h).
void WaitForInput(DWORD timeout)
{
    MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

// A window that takes the dialog keys carries this property, so the windows themselves are the list: the loop, the
// waits and other programs' modal loops find a message's dialog from the message alone.
constexpr wchar_t kDialogKeysProperty[] = L"SorabuneDialogKeys";

void Dispatch(MSG& msg)
{
    // IsDialogMessage takes only messages for the dialog or its children, whose root the dialog is.
    HWND dialog = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (dialog && GetPropW(dialog, kDialogKeysProperty) && IsWindowVisible(dialog)) {
        const bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
        if (keyDown && SendMessageW(dialog, kDialogKeyMessage, 0, reinterpret_cast<LPARAM>(&msg))) {
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
    if (hwnd) {
        SetPropW(hwnd, kDialogKeysProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(1)));
    }
}

void RemoveDialogWindow(HWND hwnd)
{
    RemovePropW(hwnd, kDialogKeysProperty);
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
        WaitForInput(milliseconds - elapsed + 1);
    }
}

int RunMessageLoop()
{
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                return static_cast<int>(msg.wParam);
            }
            Dispatch(msg);
        }
        WaitForInput(INFINITE);
    }
}

bool HandleMessagesUntil(const std::function<bool()>& done)
{
    while (!done()) {
        WaitForInput(INFINITE);
        if (!ProcessPendingMessages()) {
            return false;
        }
    }
    return true;
}

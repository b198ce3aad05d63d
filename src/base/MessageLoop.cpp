// Message loop, message-processing waits, the modeless dialogs' dialog keys and the watched handles.
#include "base/MessageLoop.h"

#include <algorithm>
#include <vector>

#include "base/CallbackGuard.h"

namespace {
struct Watch {
    HANDLE handle;
    ErrorReporter* errors;
    std::function<void()> onSignalled;
    bool reporting = false;
};

std::vector<Watch>& Watches()
{
    static std::vector<Watch> watches;
    return watches;
}

UINT_PTR& PollTimer()
{
    static UINT_PTR timer = 0;
    return timer;
}

Watch* FindWatch(HANDLE handle)
{
    const auto watch =
        std::find_if(Watches().begin(), Watches().end(), [handle](const Watch& w) { return w.handle == handle; });
    return watch == Watches().end() ? nullptr : &*watch;
}

// Reports a watch's failure with the watch set aside: the poll timer goes on inside the error box's modal loop,
// where a handle still signalled would fail and report again, box upon box.
class WatchFailure : public ErrorReporter {
public:
    WatchFailure(HANDLE handle, ErrorReporter& errors) : handle_(handle), errors_(errors) {}
    void Report(const std::wstring& message) override
    {
        struct SetAside {
            HANDLE handle;
            explicit SetAside(HANDLE h) : handle(h) { Mark(true); }
            ~SetAside() { Mark(false); }
            void Mark(bool reporting) const
            {
                if (Watch* watch = FindWatch(handle)) {
                    watch->reporting = reporting;
                }
            }
        } setAside(handle_);
        errors_.Report(message);
    }

private:
    HANDLE handle_;
    ErrorReporter& errors_;
};

// Calls the watches whose handles are signalled. A call may watch or unwatch handles, so each handle is looked up
// again before its call; nothing a call throws goes further (the timer's caller is the system).
void ServiceWatches()
{
    std::vector<HANDLE> handles;
    for (const Watch& watch : Watches()) {
        handles.push_back(watch.handle);
    }
    for (HANDLE handle : handles) {
        const Watch* watch = FindWatch(handle);
        if (!watch || watch->reporting || WaitForSingleObject(handle, 0) != WAIT_OBJECT_0) {
            continue;
        }
        const std::function<void()> call = watch->onSignalled;
        WatchFailure errors(handle, *watch->errors);
        GuardCallback(errors, call);
    }
}

void CALLBACK PollWatches(HWND, UINT, UINT_PTR, DWORD)
{
    ServiceWatches();
}

// Waits at most timeout milliseconds for input or a watched handle, then serves the watches.
void WaitForInput(DWORD timeout)
{
    std::vector<HANDLE> handles;
    for (const Watch& watch : Watches()) {
        handles.push_back(watch.handle);
    }
    MsgWaitForMultipleObjectsEx(static_cast<DWORD>(handles.size()), handles.data(), timeout, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    ServiceWatches();
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

void WatchHandle(HANDLE handle, ErrorReporter& errors, std::function<void()> onSignalled)
{
    auto& watches = Watches();
    const auto watch =
        std::find_if(watches.begin(), watches.end(), [handle](const Watch& w) { return w.handle == handle; });
    if (watch != watches.end()) {
        watch->errors = &errors;
        watch->onSignalled = std::move(onSignalled);
        return;
    }
    watches.push_back({handle, &errors, std::move(onSignalled), false});
    if (!PollTimer()) {
        PollTimer() = SetTimer(nullptr, 0, kWatchPollMs, PollWatches);
    }
}

void UnwatchHandle(HANDLE handle)
{
    auto& watches = Watches();
    watches.erase(
        std::remove_if(watches.begin(), watches.end(), [handle](const Watch& w) { return w.handle == handle; }),
        watches.end());
    if (watches.empty() && PollTimer()) {
        KillTimer(nullptr, PollTimer());
        PollTimer() = 0;
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

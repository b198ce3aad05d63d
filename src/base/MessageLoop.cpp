// Message loop, message-processing waits, the modeless dialogs' dialog keys and the watched handles.
#include "base/MessageLoop.h"

#include <algorithm>
#include <vector>

#include "base/CallbackGuard.h"
#include "base/Window.h"

namespace {
constexpr wchar_t kPollWindowClass[] = L"SorabuneWatchPoll";
constexpr UINT_PTR kPollTimer = 1;

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

// Reports a watch's failure with the watch set aside: the poll timer goes on inside the error box's modal loop,
// where a handle still signalled would fail and report again, box upon box.
class MessageLoop::WatchFailure : public ErrorReporter {
public:
    WatchFailure(MessageLoop& loop, HANDLE handle, ErrorReporter& errors)
        : loop_(loop), handle_(handle), errors_(errors)
    {
    }
    void Report(const std::wstring& message) override
    {
        Mark(true);
        struct Restore {
            WatchFailure& failure;
            ~Restore() { failure.Mark(false); }
        } restore{*this};
        errors_.Report(message);
    }

private:
    void Mark(bool reporting) const
    {
        if (Watched* watch = loop_.Find(handle_)) {
            watch->reporting = reporting;
        }
    }

    MessageLoop& loop_;
    HANDLE handle_;
    ErrorReporter& errors_;
};

MessageLoop::~MessageLoop()
{
    if (pollWindow_) {
        DestroyWindow(pollWindow_);
    }
}

MessageLoop::Watched* MessageLoop::Find(HANDLE handle)
{
    const auto watch =
        std::find_if(watches_.begin(), watches_.end(), [handle](const Watched& w) { return w.handle == handle; });
    return watch == watches_.end() ? nullptr : &*watch;
}

// Calls the watches whose handles are signalled. A call may watch or unwatch handles, so each handle is looked up
// again before its call; nothing a call throws goes further (the timer's caller is the system).
void MessageLoop::ServiceWatches()
{
    std::vector<HANDLE> handles;
    for (const Watched& watch : watches_) {
        handles.push_back(watch.handle);
    }
    for (HANDLE handle : handles) {
        const Watched* watch = Find(handle);
        if (!watch || watch->reporting || WaitForSingleObject(handle, 0) != WAIT_OBJECT_0) {
            continue;
        }
        const std::function<void()> call = watch->onSignalled;
        WatchFailure errors(*this, handle, *watch->errors);
        GuardCallback(errors, call);
    }
}

LRESULT CALLBACK MessageLoop::PollProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* loop = reinterpret_cast<MessageLoop*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_TIMER && wParam == kPollTimer && loop) {
        // The calls report their own failures; a round that fails before them (no memory for its list) is the
        // next tick's to do again.
        return GuardWithoutReport(
            [loop]() -> LRESULT {
                loop->ServiceWatches();
                return 0;
            },
            LRESULT{0});
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void MessageLoop::StartPolling()
{
    if (!pollWindow_) {
        RegisterClassOnce(kPollWindowClass, &MessageLoop::PollProc, nullptr);
        pollWindow_ = CreateWindowExW(0, kPollWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        if (!pollWindow_) {
            return;
        }
        SetWindowLongPtrW(pollWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    if (!polling_) {
        polling_ = SetTimer(pollWindow_, kPollTimer, kWatchPollMs, nullptr) != 0;
    }
}

void MessageLoop::StopPolling()
{
    if (polling_) {
        KillTimer(pollWindow_, kPollTimer);
        polling_ = false;
    }
}

// Waits at most timeout milliseconds for input or a watched handle, then serves the watches.
void MessageLoop::WaitForInput(DWORD timeout)
{
    std::vector<HANDLE> handles;
    for (const Watched& watch : watches_) {
        handles.push_back(watch.handle);
    }
    MsgWaitForMultipleObjectsEx(static_cast<DWORD>(handles.size()), handles.data(), timeout, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    ServiceWatches();
}

bool MessageLoop::WaitProcessingMessages(DWORD milliseconds)
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

int MessageLoop::Run()
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

void MessageLoop::Watch(HANDLE handle, ErrorReporter& errors, std::function<void()> onSignalled)
{
    if (Watched* watch = Find(handle)) {
        watch->errors = &errors;
        watch->onSignalled = std::move(onSignalled);
        return;
    }
    watches_.push_back({handle, &errors, std::move(onSignalled), false});
    StartPolling();
}

void MessageLoop::Unwatch(HANDLE handle)
{
    std::erase_if(watches_, [handle](const Watched& w) { return w.handle == handle; });
    if (watches_.empty()) {
        StopPolling();
    }
}

bool MessageLoop::HandleMessagesUntil(const std::function<bool()>& done)
{
    while (!done()) {
        WaitForInput(INFINITE);
        if (!ProcessPendingMessages()) {
            return false;
        }
    }
    return true;
}

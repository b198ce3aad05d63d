// The program's message loop and the waits that keep processing messages, with keyboard handling of the
// modeless dialogs (Enter, Esc, Tab) in both, and the kernel objects that they watch besides messages.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "base/AppError.h"

// Windows whose keyboard input goes through IsDialogMessage in the loop and in the waits.
void AddDialogWindow(HWND hwnd);
// Sent to such a window before the dialog manager sees a key pressed in it or in one of its controls; lParam is
// the MSG. A window that returns TRUE has used the key, which then goes no further.
inline constexpr UINT kDialogKeyMessage = WM_APP + 40;
void RemoveDialogWindow(HWND hwnd);

// Dispatches every pending message; false when WM_QUIT was among them (it is posted again for the loop).
bool ProcessPendingMessages();

inline constexpr UINT kWatchPollMs = 100;

// One per user-interface thread, made by its entry and handed to everything that waits on it: the loop, the waits
// inside it and the kernel objects that they watch. Everything watched is unwatched before the loop goes.
class MessageLoop {
public:
    MessageLoop() = default;
    ~MessageLoop();
    MessageLoop(const MessageLoop&) = delete;
    MessageLoop& operator=(const MessageLoop&) = delete;

    // Runs until WM_QUIT; returns its exit code.
    int Run();

    // Waits until more than the given milliseconds have passed, processing messages at least once and all the
    // time in between. Returns false early when the application was asked to quit.
    bool WaitProcessingMessages(DWORD milliseconds);

    // Processes messages and watched handles until done() holds, asking it after every round; false when the
    // application was asked to quit first.
    bool HandleMessagesUntil(const std::function<bool()>& done);

    // Calls onSignalled on this (the UI) thread whenever handle is signalled, until Unwatch: from the loop and the
    // waits here as soon as it is, and from a timer every kWatchPollMs inside modal loops that others run (a
    // message box, a menu). A handle is watched once; watching it again replaces its call. At most
    // MAXIMUM_WAIT_OBJECTS - 1 handles. What the call throws is reported to errors (CallbackGuard.h).
    void Watch(HANDLE handle, ErrorReporter& errors, std::function<void()> onSignalled);
    void Unwatch(HANDLE handle);

private:
    struct Watched {
        HANDLE handle;
        ErrorReporter* errors;
        std::function<void()> onSignalled;
        bool reporting = false;
    };
    class WatchFailure;

    static LRESULT CALLBACK PollProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    Watched* Find(HANDLE handle);
    void ServiceWatches();
    void WaitForInput(DWORD timeout);
    void StartPolling();
    void StopPolling();

    std::vector<Watched> watches_;
    // A message-only window whose timer serves the watches where only others' loops run.
    HWND pollWindow_ = nullptr;
    bool polling_ = false;
};

// Kernel objects that an owner watches from the user-interface thread: a signalled one has its call run on that
// thread through a message to a hidden window of the owner's, which every message loop delivers.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "base/AppError.h"

// The system's thread pool waits for the objects; no list of them is kept anywhere else, and the program's loop,
// its waits and the modal loops of others (a message box, a menu) deliver the calls alike, as messages.
class HandleWatches {
public:
    // Failures of the calls are reported to errors.
    explicit HandleWatches(ErrorReporter& errors);
    ~HandleWatches();
    HandleWatches(const HandleWatches&) = delete;
    HandleWatches& operator=(const HandleWatches&) = delete;

    // Calls onSignalled on this thread when handle is signalled, and again after each call while it stays so,
    // until Unwatch. Watching a handle again replaces its call. What a call throws is reported once
    // (CallbackGuard.h), and its handle is not looked at again until the report has ended.
    void Watch(HANDLE handle, std::function<void()> onSignalled);
    void Unwatch(HANDLE handle);

private:
    struct Registration;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static void CALLBACK Signalled(void* context, BOOLEAN timedOut);
    Registration* Find(HANDLE handle) const;
    Registration* FindSerial(WPARAM serial) const;
    void Arm(Registration& registration);
    static void Disarm(Registration& registration);
    void Deliver(WPARAM serial);

    ErrorReporter& errors_;
    HWND window_ = nullptr;
    std::vector<std::unique_ptr<Registration>> registrations_;
    WPARAM lastSerial_ = 0;
};

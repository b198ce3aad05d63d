// Watched kernel objects: a wait of the thread pool per object, whose end posts a message to the owner's hidden
// window, where the call runs under the error boundary and the wait is set again.
#include "base/HandleWatches.h"

#include <algorithm>
#include <utility>

#include "base/CallbackGuard.h"
#include "base/Window.h"

namespace {
constexpr wchar_t kWindowClass[] = L"TSorabuneHandleWatches";
constexpr UINT kSignalledMessage = WM_APP + 50;
} // namespace

struct HandleWatches::Registration {
    HANDLE handle = nullptr;
    std::function<void()> onSignalled;
    // Set while the thread pool waits for the handle; a wait ends with its one signal.
    HANDLE wait = nullptr;
    HWND window = nullptr;
    // Tells this registration's messages from those of one that had the handle before.
    WPARAM serial = 0;
};

HandleWatches::HandleWatches(ErrorReporter& errors) : errors_(errors)
{
    RegisterClassOnce(kWindowClass, WindowProc, nullptr);
    window_ =
        CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
}

HandleWatches::~HandleWatches()
{
    for (auto& registration : registrations_) {
        Disarm(*registration);
    }
    if (window_) {
        DestroyWindow(window_);
    }
}

void HandleWatches::Watch(HANDLE handle, std::function<void()> onSignalled)
{
    if (Registration* watched = Find(handle)) {
        watched->onSignalled = std::move(onSignalled);
        return;
    }
    auto registration = std::make_unique<Registration>();
    registration->handle = handle;
    registration->onSignalled = std::move(onSignalled);
    registration->window = window_;
    registration->serial = ++lastSerial_;
    Arm(*registration);
    registrations_.push_back(std::move(registration));
}

void HandleWatches::Unwatch(HANDLE handle)
{
    const auto watched = std::find_if(registrations_.begin(), registrations_.end(),
                                      [handle](const auto& r) { return r->handle == handle; });
    if (watched != registrations_.end()) {
        Disarm(**watched);
        registrations_.erase(watched);
    }
}

HandleWatches::Registration* HandleWatches::Find(HANDLE handle) const
{
    for (const auto& registration : registrations_) {
        if (registration->handle == handle) {
            return registration.get();
        }
    }
    return nullptr;
}

HandleWatches::Registration* HandleWatches::FindSerial(WPARAM serial) const
{
    for (const auto& registration : registrations_) {
        if (registration->serial == serial) {
            return registration.get();
        }
    }
    return nullptr;
}

void HandleWatches::Arm(Registration& registration)
{
    // The wait's own thread posts the message: nothing slow runs there.
    if (!RegisterWaitForSingleObject(&registration.wait, registration.handle, Signalled, &registration, INFINITE,
                                     WT_EXECUTEONLYONCE | WT_EXECUTEINWAITTHREAD)) {
        registration.wait = nullptr;
        errors_.Report(L"待機を登録できません");
    }
}

// Returns once a running Signalled has ended, so that the registration it was given may go.
void HandleWatches::Disarm(Registration& registration)
{
    if (registration.wait) {
        UnregisterWaitEx(registration.wait, INVALID_HANDLE_VALUE);
        registration.wait = nullptr;
    }
}

void CALLBACK HandleWatches::Signalled(void* context, BOOLEAN)
{
    const auto* registration = static_cast<const Registration*>(context);
    PostMessageW(registration->window, kSignalledMessage, registration->serial, 0);
}

// A call may watch or unwatch handles, its own included, so its registration is looked up again after it.
void HandleWatches::Deliver(WPARAM serial)
{
    Registration* registration = FindSerial(serial);
    if (!registration) {
        return;
    }
    Disarm(*registration);
    const std::function<void()> call = registration->onSignalled;
    GuardCallback(errors_, call);
    if (Registration* still = FindSerial(serial); still && !still->wait) {
        Arm(*still);
    }
}

LRESULT CALLBACK HandleWatches::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == kSignalledMessage) {
        if (auto* watches = reinterpret_cast<HandleWatches*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
            watches->Deliver(wParam);
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

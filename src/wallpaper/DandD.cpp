// The drop target component: subclassing of its target control and the reading of WM_DROPFILES.
// The control's window procedure is replaced directly: comctl32's subclass helpers cost a property lookup
// on every message, which under Wine is a server round trip and makes a long list box crawl.
#include "wallpaper/DandD.h"

#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "base/AppError.h"

namespace {
constexpr UINT kAllFiles = 0xFFFFFFFF;

// A hooked control, its component (null once released) and the procedure the hook passes messages to.
struct Hooked {
    HWND control;
    TDandD* component;
    WNDPROC previous;
};

// All on the one UI thread; one component per control.
std::vector<Hooked>& HookedControls()
{
    static std::vector<Hooked> hooked;
    return hooked;
}

Hooked* Find(HWND hwnd)
{
    for (Hooked& h : HookedControls()) {
        if (h.control == hwnd) {
            return &h;
        }
    }
    return nullptr;
}

void Forget(HWND hwnd)
{
    auto& hooked = HookedControls();
    hooked.erase(std::remove_if(hooked.begin(), hooked.end(), [hwnd](const Hooked& h) { return h.control == hwnd; }),
                 hooked.end());
}
} // namespace

TDandD::~TDandD()
{
    SetTargetControl(nullptr);
}

void TDandD::SetTargetControl(HWND control)
{
    if (control == target_) {
        return;
    }
    if (target_) {
        DragAcceptFiles(target_, FALSE);
        Unhook();
    }
    target_ = control;
    if (!target_) {
        return;
    }
    if (Hooked* stale = Find(target_)) {
        // Released earlier under someone else's subclass: our procedure is still in the chain; take it up again.
        stale->component = this;
    } else {
        auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(target_, GWLP_WNDPROC));
        HookedControls().push_back({target_, this, previous});
        SetWindowLongPtrW(target_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TDandD::Hook));
    }
    DragAcceptFiles(target_, TRUE);
}

void TDandD::Unhook()
{
    Hooked* hooked = Find(target_);
    target_ = nullptr;
    if (!hooked) {
        return;
    }
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hooked->control, GWLP_WNDPROC)) == &TDandD::Hook) {
        SetWindowLongPtrW(hooked->control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hooked->previous));
        Forget(hooked->control);
    } else {
        // Someone subclassed the control after us and calls our procedure: it passes everything on from now.
        hooked->component = nullptr;
    }
}

void TDandD::Drop(HDROP drop)
{
    files_.clear();
    UINT count = DragQueryFileW(drop, kAllFiles, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Each name at its own length: names longer than MAX_PATH arrive whole.
        UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring name(static_cast<std::size_t>(length) + 1, L'\0');
        UINT copied = DragQueryFileW(drop, i, name.data(), length + 1);
        name.resize(copied);
        files_.push_back(std::move(name));
    }
    DragFinish(drop);
    if (OnDrop) {
        OnDrop(*this, files_);
    }
}

LRESULT CALLBACK TDandD::Hook(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Hooked* hooked = Find(hwnd);
    if (!hooked) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    WNDPROC previous = hooked->previous;
    TDandD* component = hooked->component;
    if (msg == WM_DROPFILES && component) {
        // Nothing may unwind into the system's frames; a failure is shown like any other.
        try {
            component->Drop(reinterpret_cast<HDROP>(wParam));
        } catch (const AppError& error) {
            ShowAppError(error.Message());
        }
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        // The target goes away before the component: forget it, so that nothing touches a freed window later.
        if (component) {
            component->target_ = nullptr;
        }
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        Forget(hwnd);
    }
    return CallWindowProcW(previous, hwnd, msg, wParam, lParam);
}

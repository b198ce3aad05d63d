// The drop target component: subclassing of its target control and the reading of WM_DROPFILES.
#include "wallpaper/DandD.h"

#include <commctrl.h>
#include <shellapi.h>

#include "shell/AppError.h"

namespace {
constexpr UINT_PTR kDandDSubclass = 0x44414E44; // one TDandD per control
constexpr UINT kAllFiles = 0xFFFFFFFF;
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
        RemoveWindowSubclass(target_, &TDandD::Hook, kDandDSubclass);
        DragAcceptFiles(target_, FALSE);
    }
    target_ = control;
    if (!target_) {
        return;
    }
    SetWindowSubclass(target_, &TDandD::Hook, kDandDSubclass, reinterpret_cast<DWORD_PTR>(this));
    DragAcceptFiles(target_, TRUE);
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

LRESULT CALLBACK TDandD::Hook(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self)
{
    auto* component = reinterpret_cast<TDandD*>(self);
    switch (msg) {
    case WM_DROPFILES:
        // Nothing may unwind into the system's frames; a failure is shown like any other.
        try {
            component->Drop(reinterpret_cast<HDROP>(wParam));
        } catch (const AppError& error) {
            ShowAppError(error.Message());
        }
        return 0;
    case WM_NCDESTROY:
        // The target goes away before the component: forget it, so that nothing touches a freed window.
        RemoveWindowSubclass(hwnd, &TDandD::Hook, id);
        component->target_ = nullptr;
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    default:
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
}

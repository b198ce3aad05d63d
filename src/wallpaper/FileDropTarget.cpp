// The drop target component: subclassing of its target control and the reading of WM_DROPFILES.
#include "wallpaper/FileDropTarget.h"

#include <shellapi.h>

#include <utility>

#include "base/AppError.h"

namespace {
constexpr UINT kAllFiles = 0xFFFFFFFF;
} // namespace

FileDropTarget::~FileDropTarget()
{
    SetTargetControl(nullptr);
}

void FileDropTarget::SetTargetControl(HWND control)
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
    AddSubclass<&FileDropTarget::Hook>(target_, errors_, this);
    DragAcceptFiles(target_, TRUE);
}

void FileDropTarget::Unhook()
{
    RemoveSubclass<&FileDropTarget::Hook>(target_);
    target_ = nullptr;
}

void FileDropTarget::Drop(HDROP drop)
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

LRESULT FileDropTarget::Hook(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const SubclassLink& link)
{
    auto* component = link.Data<FileDropTarget>();
    if (msg == WM_DROPFILES) {
        component->Drop(reinterpret_cast<HDROP>(wParam));
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        // The target goes away before the component: forget it, so that nothing touches a freed window later.
        component->target_ = nullptr;
    }
    return link.Pass(hwnd, msg, wParam, lParam);
}

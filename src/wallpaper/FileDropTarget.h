// FileDropTarget: a drop target without a window of its own. It subclasses one control, reads the files the shell
// drops on it and hands their full paths to OnDrop; every other message reaches the control unchanged.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "base/AppError.h"
#include "base/Subclass.h"

class FileDropTarget {
public:
    using DropHandler = std::function<void(FileDropTarget& target, const std::vector<std::wstring>& files)>;

    // Failures of a drop's handler go to errors.
    explicit FileDropTarget(ErrorReporter& errors) : errors_(errors) {}
    ~FileDropTarget();
    FileDropTarget(const FileDropTarget&) = delete;
    FileDropTarget& operator=(const FileDropTarget&) = delete;

    HWND TargetControl() const { return target_; }
    // Hooks a control (null releases the current one). Releasing gives the control its own handling back
    // and withdraws its acceptance of dropped files.
    void SetTargetControl(HWND control);

    // Fired once per drop, after the drop is completed with the shell. The list belongs to the component:
    // valid while the handler runs, overwritten by the next drop.
    DropHandler OnDrop;
    const std::vector<std::wstring>& Files() const { return files_; }

private:
    static LRESULT Hook(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const SubclassLink& link);
    void Unhook();
    void Drop(HDROP drop);

    ErrorReporter& errors_;
    HWND target_ = nullptr;
    std::vector<std::wstring> files_;
};

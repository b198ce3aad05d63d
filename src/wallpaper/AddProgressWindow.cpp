// The progress window of a long add: its controls, the count and name of the current file, Cancel.
#include "wallpaper/AddProgressWindow.h"

#include <commctrl.h>

#include "base/Dpi.h"
#include "base/DpiFonts.h"
#include "base/MessageLoop.h"
#include "wallpaper/WallpaperIds.h"

namespace {
constexpr DWORD kWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kWindowExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr UiFontStyle kFont = {15};
constexpr int kBarRange = 1000;

const ControlDef kControls[] = {
    {IDC_ADD_PROGRESS_COUNT, WC_STATICW, L"", 12, 12, 336, 18, SS_LEFT | SS_NOPREFIX},
    {IDC_ADD_PROGRESS_NAME, WC_STATICW, L"", 12, 34, 336, 18, SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS},
    {IDC_ADD_PROGRESS_BAR, PROGRESS_CLASSW, L"", 12, 60, 336, 14, 0},
    {IDCANCEL, WC_BUTTONW, L"キャンセル", 260, 88, 88, 28, WS_TABSTOP | BS_PUSHBUTTON},
};
} // namespace

AddProgressWindow::~AddProgressWindow()
{
    if (hwnd_) {
        DestroyWindow(hwnd_);
    }
}

bool AddProgressWindow::Create(HWND owner)
{
    RegisterWindowClass(kClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!CreateCentredWindow(kWindowExStyle, kClassName, kTitle, kWindowStyle, owner)) {
        return false;
    }
    CreateControls(hwnd_, kControls, Fonts().Add(kFont));
    SendMessageW(GetDlgItem(hwnd_, IDC_ADD_PROGRESS_BAR), PBM_SETRANGE32, 0, kBarRange);
    AddDialogWindow(hwnd_);
    ShowWindow(hwnd_, SW_SHOW);
    SetFocus(GetDlgItem(hwnd_, IDCANCEL));
    return true;
}

void AddProgressWindow::ShowFile(std::size_t number, std::size_t total, const std::wstring& path)
{
    Show(L"壁紙を追加しています (" + std::to_wstring(number) + L" / " + std::to_wstring(total) + L")", path,
         static_cast<int>(total ? (number - 1) * kBarRange / total : 0));
}

void AddProgressWindow::Show(const std::wstring& count, const std::wstring& path, int position)
{
    if (!hwnd_) {
        return;
    }
    HWND countLabel = GetDlgItem(hwnd_, IDC_ADD_PROGRESS_COUNT);
    HWND nameLabel = GetDlgItem(hwnd_, IDC_ADD_PROGRESS_NAME);
    HWND bar = GetDlgItem(hwnd_, IDC_ADD_PROGRESS_BAR);
    SetWindowTextW(countLabel, count.c_str());
    SetWindowTextW(nameLabel, path.c_str());
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    for (HWND control : {countLabel, nameLabel, bar}) {
        UpdateWindow(control);
    }
}

std::optional<SIZE> AddProgressWindow::OuterSizeForDpi(int dpi) const
{
    return OuterSizeForClient(kWindowStyle, kWindowExStyle, Scale(kClientWidth, dpi), Scale(kClientHeight, dpi), dpi);
}

LRESULT AddProgressWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) {
            cancelled_ = true;
            EnableWindow(GetDlgItem(hwnd_, IDCANCEL), FALSE);
        }
        return 0;
    case WM_CLOSE:
        cancelled_ = true;
        return 0;
    default:
        return Default(msg, wParam, lParam);
    }
}

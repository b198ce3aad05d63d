// The exit dialog: its controls at the dialog's DPI, dialog keys and the two buttons.
#include "app/ExitDialog.h"

#include <commctrl.h>

#include <utility>

#include "app/AppIds.h"
#include "base/Dpi.h"
#include "base/DpiFonts.h"
#include "base/MessageLoop.h"

namespace {
constexpr DWORD kWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kWindowExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr UiFontStyle kLabelFont = {23};
constexpr UiFontStyle kButtonFont = {15};

// The children in tab order: the question in the large font, the buttons in the small one.
const ControlDef kLabel[] = {
    {IDC_EXIT_QUESTION, WC_STATICW, ExitDialog::kMessage, 8, 30, 332, 30, SS_CENTER},
};
const ControlDef kButtons[] = {
    {IDOK, WC_BUTTONW, L"OK", 80, 90, 88, 30, WS_TABSTOP | BS_DEFPUSHBUTTON},
    {IDCANCEL, WC_BUTTONW, L"キャンセル", 180, 90, 88, 30, WS_TABSTOP | BS_PUSHBUTTON},
};
} // namespace

bool ExitDialog::Create(HWND mainWindow)
{
    mainWindow_ = mainWindow;
    RegisterWindowClass(kClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!CreateCentredWindow(kWindowExStyle, kClassName, kTitle, kWindowStyle, mainWindow)) {
        return false;
    }
    CreateControls(hwnd_, kLabel, Fonts().Add(kLabelFont));
    CreateControls(hwnd_, kButtons, Fonts().Add(kButtonFont));
    AddDialogWindow(hwnd_);
    return true;
}

std::optional<SIZE> ExitDialog::OuterSizeForDpi(int dpi) const
{
    return OuterSizeForClient(kWindowStyle, kWindowExStyle, Scale(kClientWidth, dpi), Scale(kClientHeight, dpi), dpi);
}

void ExitDialog::ShowDialog()
{
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    BringWindowToTop(hwnd_);
    SetFocus(GetDlgItem(hwnd_, IDOK));
}

void ExitDialog::OKBtnClick()
{
    // The main window's teardown ends the program; it also destroys this dialog, which it owns.
    DestroyWindow(mainWindow_);
}

void ExitDialog::CancelBtnClick()
{
    ShowWindow(hwnd_, SW_HIDE);
}

LRESULT ExitDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
            OKBtnClick();
        } else if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) {
            CancelBtnClick();
        }
        return 0;
    case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_CLOSE:
        CancelBtnClick();
        return 0;
    default:
        return Default(msg, wParam, lParam);
    }
}

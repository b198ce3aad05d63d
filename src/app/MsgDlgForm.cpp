// The exit dialog: its controls, dialog keys and the two buttons.
#include "app/MsgDlgForm.h"

#include <commctrl.h>

#include "resource.h"
#include "base/MessageLoop.h"

namespace {
constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr wchar_t kFace[] = L"ＭＳ Ｐゴシック";
constexpr int kLabelFontPx = 23;
constexpr int kButtonFontPx = 15;
constexpr RECT kLabelRect = {8, 30, 340, 60};
constexpr RECT kOkRect = {80, 90, 80 + 88, 90 + 30};
constexpr RECT kCancelRect = {180, 90, 180 + 88, 90 + 30};

HWND CreateChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, const RECT& rc, int id, HFONT font)
{
    HWND child = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, rc.left, rc.top, rc.right - rc.left,
                                 rc.bottom - rc.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}
} // namespace

bool TMsgDlgForm::Create(HWND mainWindow)
{
    mainWindow_ = mainWindow;
    RegisterWindowClass(kClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    labelFont_ = CreateUiFont(kFace, kLabelFontPx, kDesignDpi);
    buttonFont_ = CreateUiFont(kFace, kButtonFontPx, kDesignDpi);
    SIZE outer = OuterSizeForClient(kFormStyle, kFormExStyle, kClientWidth, kClientHeight, kDesignDpi);
    POINT pos = CentredOnScreen(outer.cx, outer.cy);
    if (!CreateWindowFor(kFormExStyle, kClassName, kTitle, kFormStyle, pos.x, pos.y, outer.cx, outer.cy, mainWindow)) {
        return false;
    }
    CreateChild(hwnd_, WC_STATICW, kMessage, SS_CENTER, kLabelRect, IDC_MSGDLGLBL, labelFont_.Get());
    CreateChild(hwnd_, WC_BUTTONW, L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, kOkRect, IDOK, buttonFont_.Get());
    CreateChild(hwnd_, WC_BUTTONW, L"キャンセル", WS_TABSTOP | BS_PUSHBUTTON, kCancelRect, IDCANCEL, buttonFont_.Get());
    AddDialogWindow(hwnd_);
    return true;
}

void TMsgDlgForm::ShowDialog()
{
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    BringWindowToTop(hwnd_);
    SetFocus(GetDlgItem(hwnd_, IDOK));
}

void TMsgDlgForm::OKBtnClick()
{
    // The main window's teardown ends the program; it also destroys this dialog, which it owns.
    DestroyWindow(mainWindow_);
}

void TMsgDlgForm::CancelBtnClick()
{
    ShowWindow(hwnd_, SW_HIDE);
}

LRESULT TMsgDlgForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
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
    case WM_DESTROY:
        RemoveDialogWindow(hwnd_);
        return Default(msg, wParam, lParam);
    default:
        return Default(msg, wParam, lParam);
    }
}

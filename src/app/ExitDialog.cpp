// The exit dialog: its controls at the dialog's DPI, dialog keys and the two buttons.
#include "app/ExitDialog.h"

#include <commctrl.h>

#include <utility>

#include "app/AppIds.h"
#include "base/Dpi.h"
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

// The children in tab order; the label has the large font, the buttons the small one.
struct Child {
    int id;
    const wchar_t* cls;
    const wchar_t* text;
    DWORD style;
    RECT rect;
    bool label;
};
const Child kChildren[] = {
    {IDC_EXIT_QUESTION, WC_STATICW, ExitDialog::kMessage, SS_CENTER, kLabelRect, true},
    {IDOK, WC_BUTTONW, L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, kOkRect, false},
    {IDCANCEL, WC_BUTTONW, L"キャンセル", WS_TABSTOP | BS_PUSHBUTTON, kCancelRect, false},
};
} // namespace

bool ExitDialog::Create(HWND mainWindow)
{
    mainWindow_ = mainWindow;
    RegisterWindowClass(kClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!CreateCentredWindow(kFormExStyle, kClassName, kTitle, kFormStyle, mainWindow)) {
        return false;
    }
    CreateFonts();
    for (const Child& c : kChildren) {
        CreateWindowExW(0, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, 0, 0, 0, 0, hwnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), GetModuleHandleW(nullptr), nullptr);
    }
    LayOut();
    AddDialogWindow(hwnd_);
    return true;
}

std::optional<SIZE> ExitDialog::OuterSizeForDpi(int dpi) const
{
    return OuterSizeForClient(kFormStyle, kFormExStyle, Scale(kClientWidth, dpi), Scale(kClientHeight, dpi), dpi);
}

void ExitDialog::CreateFonts()
{
    labelFont_ = CreateUiFont(kFace, kLabelFontPx, Dpi());
    buttonFont_ = CreateUiFont(kFace, kButtonFontPx, Dpi());
}

void ExitDialog::LayOut()
{
    for (const Child& c : kChildren) {
        HWND child = GetDlgItem(hwnd_, c.id);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(c.label ? labelFont_.Get() : buttonFont_.Get()), TRUE);
        PlaceChild(child, c.rect, Dpi());
    }
}

void ExitDialog::OnDpiChanged()
{
    // The old fonts stay until no control uses them any more.
    Font oldLabelFont = std::move(labelFont_);
    Font oldButtonFont = std::move(buttonFont_);
    CreateFonts();
    LayOut();
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
    case WM_DESTROY:
        RemoveDialogWindow(hwnd_);
        return Default(msg, wParam, lParam);
    default:
        return Default(msg, wParam, lParam);
    }
}

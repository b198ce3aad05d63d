// The installer's window: caption, completion text and the O  K button that ends the program, at the window's
// DPI.
#include "installer/InstallerWindow.h"

#include <commctrl.h>

#include "base/Dpi.h"
#include "base/DpiFonts.h"
#include "installer/Installation.h"
#include "installer/InstallerIds.h"

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_BORDER;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr UiFontStyle kFont = {15};
constexpr UiFontStyle kLabelFont = {20, true};

const ControlDef kMessage[] = {
    {IDC_INSTALL_MESSAGE, WC_STATICW, L"Sorabune のインストールが終了しました", 52, 52, 380, 24, SS_LEFT},
};
const ControlDef kButton[] = {
    {IDC_INSTALL_BUTTON, WC_BUTTONW, L"O  K", 304, 104, 97, 33, WS_TABSTOP | BS_DEFPUSHBUTTON},
};
} // namespace

bool InstallerWindow::Create(bool install)
{
    install_ = install;
    RegisterWindowClass(kClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!CreateCentredWindow(kExStyle, kClassName, kTitle, kStyle, nullptr)) {
        return false;
    }
    ShowWindow(hwnd_, SW_SHOW);
    SetFocus(GetDlgItem(hwnd_, IDC_INSTALL_BUTTON));
    return true;
}

std::optional<SIZE> InstallerWindow::OuterSizeForDpi(int dpi) const
{
    return SIZE{Scale(kOuterWidth, dpi), Scale(kOuterHeight, dpi)};
}

void InstallerWindow::OnCreate()
{
    // The window's DPI is known from its first message on, so the children are made at it straight away.
    CreateControls(hwnd_, kMessage, Fonts().Add(kLabelFont));
    CreateControls(hwnd_, kButton, Fonts().Add(kFont));
    if (install_) {
        RunInstallation(hwnd_, system_, Errors());
    }
}

void InstallerWindow::InstallClick()
{
    DestroyWindow(hwnd_);
}

LRESULT InstallerWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_COMMAND:
        if ((LOWORD(wParam) == IDC_INSTALL_BUTTON || LOWORD(wParam) == IDOK) && HIWORD(wParam) == BN_CLICKED) {
            InstallClick();
        }
        return 0;
    case DM_GETDEFID:
        return MAKELRESULT(IDC_INSTALL_BUTTON, DC_HASDEFID);
    case WM_CLOSE:
        InstallClick();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return Default(msg, wParam, lParam);
    }
}

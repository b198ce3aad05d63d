// The installer's window: caption, completion text and the O  K button that ends the program, at the window's
// DPI.
#include "installer/InstallerWindow.h"

#include <commctrl.h>

#include <utility>

#include "base/Dpi.h"
#include "installer/Installation.h"
#include "installer/InstallerIds.h"

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_BORDER;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr wchar_t kFace[] = L"ＭＳ Ｐゴシック";
constexpr int kFontHeight = 15;
constexpr int kLabelFontHeight = 20;
constexpr RECT kMessageRect = {52, 52, 52 + 380, 52 + 24};
constexpr RECT kButtonRect = {304, 104, 304 + 97, 104 + 33};
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

void InstallerWindow::CreateFonts()
{
    font_ = CreateUiFont(kFace, kFontHeight, Dpi());
    labelFont_ = CreateUiFont(kFace, kLabelFontHeight, Dpi(), true);
}

void InstallerWindow::LayOut()
{
    HWND label = GetDlgItem(hwnd_, IDC_INSTALL_MESSAGE);
    HWND button = GetDlgItem(hwnd_, IDC_INSTALL_BUTTON);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_.Get()), TRUE);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
    PlaceChild(label, kMessageRect, Dpi());
    PlaceChild(button, kButtonRect, Dpi());
}

void InstallerWindow::OnDpiChanged()
{
    // The old fonts stay until no control uses them any more.
    Font oldFont = std::move(font_);
    Font oldLabelFont = std::move(labelFont_);
    CreateFonts();
    LayOut();
}

void InstallerWindow::FormCreate()
{
    // The window's DPI is known from its first message on, so the children are made at it straight away.
    CreateFonts();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    CreateWindowExW(0, WC_STATICW, L"Sorabune のインストールが終了しました", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0,
                    0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_INSTALL_MESSAGE)), instance, nullptr);
    CreateWindowExW(0, WC_BUTTONW, L"O  K", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0, hwnd_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_INSTALL_BUTTON)), instance, nullptr);
    LayOut();
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
        FormCreate();
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

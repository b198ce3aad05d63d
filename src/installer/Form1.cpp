// The installer's window: caption, completion text and the O  K button that ends the program.
#include "installer/Form1.h"

#include <commctrl.h>

#include "installer/Installation.h"
#include "resource.h"

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_BORDER;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr wchar_t kFace[] = L"ＭＳ Ｐゴシック";
constexpr int kFontHeight = 15;
constexpr int kLabelFontHeight = 20;
constexpr RECT kLabel1Rect = {52, 52, 52 + 380, 52 + 24};
constexpr RECT kButton1Rect = {304, 104, 304 + 97, 104 + 33};
} // namespace

bool TForm1::Create(bool install)
{
    install_ = install;
    RegisterWindowClass(kClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    font_ = CreateUiFont(kFace, kFontHeight, kDesignDpi);
    labelFont_ = CreateUiFont(kFace, kLabelFontHeight, kDesignDpi, true);
    POINT pos = CentredOnScreen(kOuterWidth, kOuterHeight);
    if (!CreateWindowFor(kExStyle, kClassName, kTitle, kStyle, pos.x, pos.y, kOuterWidth, kOuterHeight, nullptr)) {
        return false;
    }
    ShowWindow(hwnd_, SW_SHOW);
    SetFocus(GetDlgItem(hwnd_, IDC_BUTTON1));
    return true;
}

void TForm1::FormCreate()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND label = CreateWindowExW(0, WC_STATICW, L"Sorabune のインストールが終了しました",
                                 WS_CHILD | WS_VISIBLE | SS_LEFT, kLabel1Rect.left, kLabel1Rect.top,
                                 kLabel1Rect.right - kLabel1Rect.left, kLabel1Rect.bottom - kLabel1Rect.top, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LABEL1)), instance, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_.Get()), FALSE);
    HWND button = CreateWindowExW(0, WC_BUTTONW, L"O  K", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                  kButton1Rect.left, kButton1Rect.top, kButton1Rect.right - kButton1Rect.left,
                                  kButton1Rect.bottom - kButton1Rect.top, hwnd_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_BUTTON1)), instance, nullptr);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    if (install_) {
        RunInstallation(hwnd_);
    }
}

void TForm1::Button1Click()
{
    DestroyWindow(hwnd_);
}

LRESULT TForm1::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        FormCreate();
        return 0;
    case WM_COMMAND:
        if ((LOWORD(wParam) == IDC_BUTTON1 || LOWORD(wParam) == IDOK) && HIWORD(wParam) == BN_CLICKED) {
            Button1Click();
        }
        return 0;
    case DM_GETDEFID:
        return MAKELRESULT(IDC_BUTTON1, DC_HASDEFID);
    case WM_CLOSE:
        Button1Click();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return Default(msg, wParam, lParam);
    }
}

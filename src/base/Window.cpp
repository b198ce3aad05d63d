// Window base: class registration, HWND binding and the handler boundary where errors are shown.
#include "base/Window.h"

#include "base/AppError.h"

Window::~Window()
{
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        HWND hwnd = hwnd_;
        hwnd_ = nullptr;
        DestroyWindow(hwnd);
    }
}

Window* Window::FromHwnd(HWND hwnd)
{
    return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void Window::RegisterWindowClass(const wchar_t* className, HBRUSH background, UINT style)
{
    RegisterClassOnce(className, &Window::WndProc, background, style);
}

void RegisterClassOnce(const wchar_t* className, WNDPROC proc, HBRUSH background, UINT style)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing = {sizeof(existing)};
    if (GetClassInfoExW(instance, className, &existing)) {
        return;
    }
    WNDCLASSEXW wc = {sizeof(wc)};
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
}

HWND Window::CreateWindowFor(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                             int w, int h, HWND owner)
{
    return CreateWindowExW(exStyle, className, title, style, x, y, w, h, owner, nullptr, GetModuleHandleW(nullptr),
                           this);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return Default(msg, wParam, lParam);
}

LRESULT CALLBACK Window::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<Window*>(cs->lpCreateParams);
        if (self) {
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = FromHwnd(hwnd);
    }
    if (!self) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    LRESULT result = 0;
    try {
        result = self->HandleMessage(msg, wParam, lParam);
    } catch (const AppError& error) {
        ShowAppError(error.Message());
    } catch (...) {
        // A failure the program has no words for (a lookup or an allocation that failed): the operation ends,
        // the program goes on.
        ShowAppError(kUnexpectedErrorText);
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnFinalDestroy();
    }
    return result;
}

Font CreateUiFont(const wchar_t* face, int heightPx, bool bold, bool italic)
{
    LOGFONTW lf = {};
    lf.lfHeight = -heightPx;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = italic ? TRUE : FALSE;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    return Font(CreateFontIndirectW(&lf));
}

SIZE OuterSizeForClient(DWORD style, DWORD exStyle, int w, int h)
{
    RECT rc = {0, 0, w, h};
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

POINT CentredOnScreen(int outerWidth, int outerHeight)
{
    return POINT{(GetSystemMetrics(SM_CXSCREEN) - outerWidth) / 2, (GetSystemMetrics(SM_CYSCREEN) - outerHeight) / 2};
}

std::wstring WindowText(HWND hwnd)
{
    int len = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(len) + 1, L'\0');
    GetWindowTextW(hwnd, text.data(), len + 1);
    text.resize(static_cast<std::size_t>(len));
    return text;
}

namespace {
BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font)
{
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}
} // namespace

void SetFontOnChildren(HWND parent, HFONT font)
{
    EnumChildWindows(parent, &SetFontOnChild, reinterpret_cast<LPARAM>(font));
}

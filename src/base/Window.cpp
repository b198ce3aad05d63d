// Window base: class registration, HWND binding, the window's DPI and icons, and the handler boundary where errors
// are shown.
#include "base/Window.h"

#include <utility>

#include "base/CallbackGuard.h"
#include "base/MessageLoop.h"

namespace {
// Asks a window of the second per-monitor mode (Windows 10 1703) for its size at a new DPI; the headers name it
// only for that Windows.
constexpr UINT kGetDpiScaledSizeMessage = 0x02E4;

BOOL CALLBACK TellOfNewColours(HWND child, LPARAM)
{
    SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}
} // namespace

Window::~Window()
{
    DestroyWindowNow();
}

void Window::DestroyWindowNow()
{
    if (hwnd_) {
        // The window procedure no longer reaches this object once the user data is cleared.
        RemoveDialogWindow(hwnd_);
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
    wc.hIcon = SharedProgramIcon();
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

HWND Window::CreateCentredWindow(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, HWND owner)
{
    // The system's DPI is the primary screen's unless it has changed since logon; the window knows for sure once
    // it exists, and is sized again where they differ.
    const int guess = SystemDpi();
    const SIZE size = OuterSizeForDpi(guess).value_or(SIZE{0, 0});
    const POINT pos = CentredOnScreen(size.cx, size.cy);
    if (!CreateWindowFor(exStyle, className, title, style, pos.x, pos.y, size.cx, size.cy, owner)) {
        return nullptr;
    }
    if (dpi_ != guess) {
        CentreOnScreen();
    }
    return hwnd_;
}

std::vector<HWND> Window::CreateControls(HWND parent, std::span<const ControlDef> defs, DpiFontSet::Id font)
{
    std::vector<HWND> controls = layout_.Create(parent, defs, dpi_);
    for (HWND control : controls) {
        fonts_.SetOn(control, font, false);
    }
    return controls;
}

void Window::CentreOnScreen()
{
    const std::optional<SIZE> size = OuterSizeForDpi(dpi_);
    if (!size) {
        return;
    }
    const POINT pos = CentredOnScreen(size->cx, size->cy);
    SetWindowPos(hwnd_, nullptr, pos.x, pos.y, size->cx, size->cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::SetIconsForDpi()
{
    iconsSet_ = true;
    // The caption and the task switcher show the image drawn for their size rather than one the system stretches.
    // The images handed over before stay until the window has the new ones.
    Icon small = LoadProgramIcon(SM_CXSMICON, dpi_);
    Icon big = LoadProgramIcon(SM_CXICON, dpi_);
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
    smallIcon_ = std::move(small);
    bigIcon_ = std::move(big);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return Default(msg, wParam, lParam);
}

LRESULT Window::BaseMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case kGetDpiScaledSizeMessage:
        // A window of fixed layout keeps its client area exact at the new DPI, which linear scaling of the
        // whole window would not.
        if (const std::optional<SIZE> size = OuterSizeForDpi(static_cast<int>(wParam))) {
            *reinterpret_cast<SIZE*>(lParam) = *size;
            return TRUE;
        }
        return HandleMessage(msg, wParam, lParam);
    case WM_SHOWWINDOW:
        if (wParam && !iconsSet_) {
            SetIconsForDpi();
        }
        return HandleMessage(msg, wParam, lParam);
    case WM_WINDOWPOSCHANGING:
        // Shown by SetWindowPos alone, which sends no WM_SHOWWINDOW.
        if ((reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW) && !iconsSet_) {
            SetIconsForDpi();
        }
        return HandleMessage(msg, wParam, lParam);
    case WM_DPICHANGED: {
        dpi_ = LOWORD(wParam);
        const RECT suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (iconsSet_) {
            SetIconsForDpi();
        }
        fonts_.SetDpi(dpi_);
        layout_.Place(dpi_);
        OnDpiChanged();
        return 0;
    }
    case WM_DESTROY:
        // A window registered for the dialog keys gives up its mark however it goes.
        RemoveDialogWindow(hwnd_);
        return HandleMessage(msg, wParam, lParam);
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
    case WM_SETTINGCHANGE: {
        const LRESULT result = HandleMessage(msg, wParam, lParam);
        if (msg != WM_SETTINGCHANGE || wParam == SPI_SETHIGHCONTRAST) {
            RepaintInNewColours();
        }
        return result;
    }
    default:
        return HandleMessage(msg, wParam, lParam);
    }
}

void Window::RepaintInNewColours()
{
    // Common controls keep the colours they were made with until they hear of the change themselves.
    EnumChildWindows(hwnd_, TellOfNewColours, 0);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
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
            self->dpi_ = WindowDpi(hwnd);
            self->fonts_.SetDpi(self->dpi_);
            EnableNonClientScaling(hwnd);
        }
    } else {
        self = FromHwnd(hwnd);
    }
    if (!self) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    const LRESULT result = GuardCallback(
        self->errors_, [&] { return self->BaseMessage(msg, wParam, lParam); }, LRESULT{0});
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->layout_.Clear();
        self->fonts_.ForgetControls();
        self->OnFinalDestroy();
    }
    return result;
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

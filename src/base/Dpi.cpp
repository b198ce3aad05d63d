// The DPI of windows and the system, the per-DPI functions of Windows 10 looked up at run time, and the scaled
// figures, frames and icons built on them.
#include "base/Dpi.h"

#include "base/SystemLibrary.h"
#include "resource.h"

namespace {
// MDT_EFFECTIVE_DPI: the DPI that Windows scales an unaware window on the monitor by.
constexpr int kEffectiveDpi = 0;
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

struct DpiFunctions {
    UINT(WINAPI* getDpiForWindow)(HWND);
    UINT(WINAPI* getDpiForSystem)();
    int(WINAPI* getSystemMetricsForDpi)(int, UINT);
    BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT);
    BOOL(WINAPI* enableNonClientDpiScaling)(HWND);
};

template <typename Fn> Fn User32Function(HMODULE user32, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

// Every program with a window has user32 loaded, so looking its functions up loads nothing.
const DpiFunctions& Functions()
{
    static const DpiFunctions functions = [] {
        const HMODULE user32 = GetModuleHandleW(L"user32.dll");
        DpiFunctions f = {};
        if (user32) {
            f.getDpiForWindow = User32Function<decltype(f.getDpiForWindow)>(user32, "GetDpiForWindow");
            f.getDpiForSystem = User32Function<decltype(f.getDpiForSystem)>(user32, "GetDpiForSystem");
            f.getSystemMetricsForDpi =
                User32Function<decltype(f.getSystemMetricsForDpi)>(user32, "GetSystemMetricsForDpi");
            f.adjustWindowRectExForDpi =
                User32Function<decltype(f.adjustWindowRectExForDpi)>(user32, "AdjustWindowRectExForDpi");
            f.enableNonClientDpiScaling =
                User32Function<decltype(f.enableNonClientDpiScaling)>(user32, "EnableNonClientDpiScaling");
        }
        return f;
    }();
    return functions;
}
} // namespace

int SystemDpi()
{
    static const int dpi = [] {
        if (Functions().getDpiForSystem) {
            return static_cast<int>(Functions().getDpiForSystem());
        }
        WindowDC screen;
        return GetDeviceCaps(screen.Get(), LOGPIXELSY);
    }();
    return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND hwnd)
{
    if (hwnd && Functions().getDpiForWindow) {
        if (const UINT dpi = Functions().getDpiForWindow(hwnd)) {
            return static_cast<int>(dpi);
        }
    }
    // Windows 8.1 and the first Windows 10 know each monitor's DPI, though not yet each window's.
    if (hwnd && !Functions().getDpiForWindow) {
        static const auto getDpiForMonitor = SystemFunction<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
        UINT dpiX = 0;
        UINT dpiY = 0;
        if (getDpiForMonitor &&
            SUCCEEDED(
                getDpiForMonitor(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &dpiX, &dpiY)) &&
            dpiY) {
            return static_cast<int>(dpiY);
        }
    }
    return SystemDpi();
}

int Scale(int designPx, int dpi)
{
    return MulDiv(designPx, dpi, kDesignDpi);
}

RECT ScaleRect(const RECT& design, int dpi)
{
    return RECT{Scale(design.left, dpi), Scale(design.top, dpi), Scale(design.right, dpi), Scale(design.bottom, dpi)};
}

RECT ScaleRect(int x, int y, int w, int h, int dpi)
{
    return ScaleRect(RECT{x, y, x + w, y + h}, dpi);
}

int MetricForDpi(int index, int dpi)
{
    if (Functions().getSystemMetricsForDpi) {
        return Functions().getSystemMetricsForDpi(index, static_cast<UINT>(dpi));
    }
    // Without per-monitor DPI every window has the system's DPI, for which the plain metrics are made.
    return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

SIZE OuterSizeForClient(DWORD style, DWORD exStyle, int w, int h, int dpi)
{
    RECT rc = {0, 0, w, h};
    if (Functions().adjustWindowRectExForDpi) {
        Functions().adjustWindowRectExForDpi(&rc, style, FALSE, exStyle, static_cast<UINT>(dpi));
    } else {
        AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    }
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

Icon LoadProgramIcon(int metricIndex, int dpi)
{
    const int size = MetricForDpi(metricIndex, dpi);
    return Icon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SORABUNE), IMAGE_ICON, size, size, 0)));
}

HICON SharedProgramIcon()
{
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SORABUNE), IMAGE_ICON, 0, 0,
                                         LR_DEFAULTSIZE | LR_SHARED));
}

void PlaceChild(HWND child, const RECT& design, int dpi)
{
    const RECT rc = ScaleRect(design, dpi);
    SetWindowPos(child, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void EnableNonClientScaling(HWND hwnd)
{
    if (Functions().enableNonClientDpiScaling) {
        Functions().enableNonClientDpiScaling(hwnd);
    }
}

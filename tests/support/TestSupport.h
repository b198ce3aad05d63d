// Helpers shared by the test programs.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "base/AppError.h"
#include "base/Handles.h"
#include "base/MessageLoop.h"

// Messages that would have gone to the standard error box, in order.
std::vector<std::wstring>& CapturedErrors();

// The error reporter of the tests' windows: it adds each message to CapturedErrors, after running atReport
// (when set) where the box would have come up.
class CapturingErrors : public ErrorReporter {
public:
    void Report(const std::wstring& message) override
    {
        if (atReport) {
            atReport();
        }
        CapturedErrors().push_back(message);
    }
    std::function<void()> atReport;
};
CapturingErrors& TestErrors();
// The test program's message loop, as the program's entry makes one.
MessageLoop& TestLoop();

// Processes pending messages of this thread for about the given time.
inline void PumpMessages(DWORD milliseconds = 0)
{
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (milliseconds) {
            Sleep(5);
        }
    } while (GetTickCount() - start < milliseconds);
}

// UTF-8 for test output (msvcrt's wide printing stops at the first non-ASCII character).
inline std::string Utf8(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// A local time as GetLocalTime gives it, the weekday taken from the calendar where it reaches.
inline SYSTEMTIME At(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    // Years before 1601 have no file time; they keep the fields as given.
    FILETIME ft;
    if (SystemTimeToFileTime(&t, &ft)) {
        FileTimeToSystemTime(&ft, &t);
    }
    return t;
}

struct TopLevelWindowTraits {
    using Handle = HWND;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DestroyWindow(h); }
};
// A window a test makes for itself, another program's window standing in.
using TestWindow = UniqueHandle<TopLevelWindowTraits>;

// A screen-compatible bitmap in a memory DC, for reading back what a window or a page paints into it.
class MemoryCanvas {
public:
    MemoryCanvas(int width, int height)
        : width_(width), height_(height), dc_(CreateCompatibleDC(screen_.Get())),
          bitmap_(CreateCompatibleBitmap(screen_.Get(), width, height)), old_(SelectObject(dc_.Get(), bitmap_.Get()))
    {
    }
    ~MemoryCanvas() { SelectObject(dc_.Get(), old_); }
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;
    HDC Get() const { return dc_.Get(); }

    // One 0x00RRGGBB value per pixel, row by row from the top (GetDIBits wants the bitmap out of the DC).
    std::vector<DWORD> Pixels()
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        std::vector<DWORD> pixels(static_cast<std::size_t>(width_) * height_);
        SelectObject(dc_.Get(), old_);
        GetDIBits(dc_.Get(), static_cast<HBITMAP>(bitmap_.Get()), 0, height_, pixels.data(), &info, DIB_RGB_COLORS);
        SelectObject(dc_.Get(), bitmap_.Get());
        for (DWORD& pixel : pixels) {
            pixel &= 0xFFFFFF;
        }
        return pixels;
    }

private:
    int width_;
    int height_;
    WindowDC screen_;
    MemoryDC dc_;
    GdiObject bitmap_;
    HGDIOBJ old_;
};

// A window's client area as the window paints it for WM_PRINTCLIENT, one 0x00RRGGBB value per pixel, row by row.
struct ClientPicture {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    DWORD At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

inline ClientPicture PrintClient(HWND hwnd)
{
    RECT rc = {};
    GetClientRect(hwnd, &rc);
    MemoryCanvas canvas(rc.right, rc.bottom);
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Get()), PRF_CLIENT | PRF_ERASEBKGND);
    return {rc.right, rc.bottom, canvas.Pixels()};
}

// System colours of a test's own choosing, the earlier ones back at the end. Wine hands them to every program
// that starts meanwhile, so a test that sets them runs alone (ALONE in tests/CMakeLists.txt).
class SystemColours {
public:
    explicit SystemColours(std::initializer_list<std::pair<int, COLORREF>> colours)
    {
        for (const auto& [index, colour] : colours) {
            indexes_.push_back(index);
            earlier_.push_back(GetSysColor(index));
            chosen_.push_back(colour);
        }
        SetSysColors(static_cast<int>(indexes_.size()), indexes_.data(), chosen_.data());
    }
    ~SystemColours() { SetSysColors(static_cast<int>(indexes_.size()), indexes_.data(), earlier_.data()); }
    SystemColours(const SystemColours&) = delete;
    SystemColours& operator=(const SystemColours&) = delete;

private:
    std::vector<int> indexes_;
    std::vector<COLORREF> earlier_;
    std::vector<COLORREF> chosen_;
};

// What the screen shows of a visible window's client area, in the same form.
inline ClientPicture ScreenClient(HWND hwnd)
{
    RECT rc = {};
    GetClientRect(hwnd, &rc);
    MemoryCanvas canvas(rc.right, rc.bottom);
    WindowDC screen(hwnd);
    BitBlt(canvas.Get(), 0, 0, rc.right, rc.bottom, screen.Get(), 0, 0, SRCCOPY);
    return {rc.right, rc.bottom, canvas.Pixels()};
}

// The window's rectangle in its parent's client coordinates.
inline RECT RectInParent(HWND hwnd)
{
    RECT rc;
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// Each child of a window: id, place in the window's client area and character height, in z-order.
using ChildPlaces = std::vector<std::array<LONG, 6>>;

inline ChildPlaces ChildPlacesOf(HWND parent)
{
    ChildPlaces places;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT rc = RectInParent(child);
        LOGFONTW lf = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
        places.push_back(
            {GetDlgCtrlID(child), rc.left, rc.top, rc.right, rc.bottom, lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight});
    }
    return places;
}

// What Windows does when a window comes onto a screen of another DPI: it asks for the window's size there and
// suggests that rectangle. True when the window answered and took the rectangle.
inline bool MoveToDpi(HWND window, int dpi)
{
    constexpr UINT kGetDpiScaledSize = 0x02E4; // named by the headers only for Windows 10
    SIZE size = {};
    if (!SendMessageW(window, kGetDpiScaledSize, dpi, reinterpret_cast<LPARAM>(&size))) {
        return false;
    }
    RECT suggested;
    GetWindowRect(window, &suggested);
    suggested.right = suggested.left + size.cx;
    suggested.bottom = suggested.top + size.cy;
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    RECT taken;
    GetWindowRect(window, &taken);
    return EqualRect(&taken, &suggested) != FALSE;
}

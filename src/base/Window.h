// Thin base of every window of the program: registers a class under the form's type name, binds the
// HWND to its object and forwards messages to a virtual handler that errors cannot escape.
#pragma once

#include <windows.h>

#include <string>

#include "base/Handles.h"

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Hwnd() const { return hwnd_; }
    bool IsVisible() const { return hwnd_ && IsWindowVisible(hwnd_); }

    // The object bound to a window created through this base, or null.
    static Window* FromHwnd(HWND hwnd);

protected:
    // Registers the class once per process. The class name is the form's type name.
    static void RegisterWindowClass(const wchar_t* className, HBRUSH background, UINT style = 0);
    // Creates the window bound to this object; hidden unless the style has WS_VISIBLE.
    HWND CreateWindowFor(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                         int w, int h, HWND owner);

    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcW(hwnd_, msg, wParam, lParam); }
    // Called after WM_NCDESTROY; the object no longer has a window.
    virtual void OnFinalDestroy() {}

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

// Registers a window class once per process (a second call with the same name does nothing); every class of
// the program carries the program's icon.
void RegisterClassOnce(const wchar_t* className, WNDPROC proc, HBRUSH background, UINT style = 0);

// A font of the program's faces in the Shift-JIS character set; height in pixels of the characters.
Font CreateUiFont(const wchar_t* face, int heightPx, bool bold = false, bool italic = false);

// The outer size that gives a window of this style a client area of w x h.
SIZE OuterSizeForClient(DWORD style, DWORD exStyle, int w, int h);

// Top-left position that centres a window of this outer size on the primary screen.
POINT CentredOnScreen(int outerWidth, int outerHeight);

// The whole text of a window or control.
std::wstring WindowText(HWND hwnd);

// Sends WM_SETFONT to every child of a window.
void SetFontOnChildren(HWND parent, HFONT font);

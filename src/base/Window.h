// Thin base of every window of the program: registers a class under the window's type name, binds the
// HWND to its object, keeps the window's DPI and icons, and forwards messages to a virtual handler that errors
// cannot escape: they go to the error reporter the window was made with.
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/AppError.h"
#include "base/ControlTable.h"
#include "base/Dpi.h"
#include "base/DpiFonts.h"
#include "base/Handles.h"

class Window {
public:
    explicit Window(ErrorReporter& errors) : errors_(errors) {}
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Hwnd() const { return hwnd_; }
    bool IsVisible() const { return hwnd_ && IsWindowVisible(hwnd_); }
    // The DPI the window is laid out for: its screen's when it was created, then each one Windows reports.
    int Dpi() const { return dpi_; }
    // Where the window's handlers report failures, and where what they call reports its own.
    ErrorReporter& Errors() const { return errors_; }
    // The window's fonts, made for its DPI; a change of DPI makes them anew on the controls that have them.
    DpiFontSet& Fonts() { return fonts_; }
    // Creates a table's controls on parent (the window or a child of it) at the window's DPI, in one of its fonts;
    // a change of DPI puts them at their places again. Returns them in table order.
    std::vector<HWND> CreateControls(HWND parent, std::span<const ControlDef> defs, DpiFontSet::Id font);
    // The rectangle at 96 DPI of a control that a table made, or nothing.
    std::optional<RECT> DesignRect(HWND control) const { return layout_.DesignRect(control); }

    // The object bound to a window created through this base, or null.
    static Window* FromHwnd(HWND hwnd);

protected:
    // Registers the class once per process. The class name is the window's type name.
    static void RegisterWindowClass(const wchar_t* className, HBRUSH background, UINT style = 0);
    // Creates the window bound to this object, with the program's icons for its DPI; hidden unless the style
    // has WS_VISIBLE.
    HWND CreateWindowFor(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                         int w, int h, HWND owner);
    // Creates a window of fixed layout centred on the primary screen at its outer size for the DPI there
    // (OuterSizeForDpi).
    HWND CreateCentredWindow(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, HWND owner);
    // Gives the window its outer size for its DPI (OuterSizeForDpi) and centres it on the primary screen.
    void CentreOnScreen();

    // Destroys the window now, its procedure no longer reaching this object. A derived window whose members its
    // controls still call during their destruction (a subclass's WM_KILLFOCUS, say) calls it in its own destructor,
    // while those members are still there; the base's destructor does it otherwise.
    void DestroyWindowNow();

    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcW(hwnd_, msg, wParam, lParam); }
    // Called after WM_NCDESTROY; the object no longer has a window.
    virtual void OnFinalDestroy() {}
    // The outer size of a window of fixed layout at a DPI; nothing lets Windows scale the present size.
    virtual std::optional<SIZE> OuterSizeForDpi(int dpi) const { return std::nullopt; }
    // Windows reported a new DPI (Dpi() has it), the window has taken the rectangle Windows suggested, its fonts
    // are made anew and its tables' controls stand at their new places: what else it sized follows.
    virtual void OnDpiChanged() {}
    // The controls that the window's tables made.
    const ControlLayout& Layout() const { return layout_; }

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT BaseMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // A new colour scheme, or high contrast switched on or off: the window and its controls paint themselves
    // in the colours of now.
    void RepaintInNewColours();
    void SetIconsForDpi();

    ErrorReporter& errors_;
    // Set when the window is first shown: a hidden window shows no icon, and handing Wine the images cost each
    // window made at start-up 2-3 ms.
    bool iconsSet_ = false;
    // The images the window shows, which it keeps while it is there.
    Icon smallIcon_;
    Icon bigIcon_;
    int dpi_ = kDesignDpi;
    DpiFontSet fonts_;
    ControlLayout layout_;
};

// Registers a window class once per process (a second call with the same name does nothing); every class of
// the program carries the program's icon.
void RegisterClassOnce(const wchar_t* className, WNDPROC proc, HBRUSH background, UINT style = 0);

// Top-left position that centres a window of this outer size on the primary screen.
POINT CentredOnScreen(int outerWidth, int outerHeight);

// The whole text of a window or control.
std::wstring WindowText(HWND hwnd);

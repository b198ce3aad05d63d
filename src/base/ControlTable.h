// The one way the program's windows make their controls: tables of controls with their rectangles at 96 DPI,
// created at a window's DPI and kept, so that a change of DPI puts each control at its place again.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <span>
#include <utility>
#include <vector>

// One control of a table; x, y, w and h are its rectangle in its parent at 96 DPI.
struct ControlDef {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    int x, y, w, h;
    DWORD style;
    DWORD exStyle = 0;
};

// A control as a child of parent at its rectangle scaled to dpi (the style gains WS_CHILD only); null when
// Windows refuses it. A drop-down's rectangle has no height: its field takes its font's, its list its items'.
HWND CreateChild(HWND parent, const ControlDef& def, int dpi);

// The controls the tables of one window made, each with its rectangle at 96 DPI.
class ControlLayout {
public:
    // Creates a table's controls as visible children of parent in table order (which is the tab order), each at
    // its rectangle scaled to dpi; group boxes then go below everything, so that they do not clip the controls
    // inside them. Returns the controls in table order.
    std::vector<HWND> Create(HWND parent, std::span<const ControlDef> defs, int dpi);
    // The rectangle at 96 DPI of a control a table made, or nothing.
    std::optional<RECT> DesignRect(HWND control) const;
    // Puts every control at its rectangle scaled to dpi.
    void Place(int dpi) const;
    const std::vector<std::pair<HWND, RECT>>& Controls() const { return controls_; }
    // The controls are gone (their window was destroyed).
    void Clear() { controls_.clear(); }

private:
    std::vector<std::pair<HWND, RECT>> controls_;
};

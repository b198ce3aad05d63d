// Control tables: creation at a DPI, the kept rectangles at 96 DPI and the placing again at another DPI.
#include "base/ControlTable.h"

#include <commctrl.h>

#include "base/Dpi.h"

namespace {
bool IsDropDown(const ControlDef& def)
{
    return lstrcmpiW(def.className, WC_COMBOBOXW) == 0 && (def.style & CBS_DROPDOWNLIST) != CBS_SIMPLE;
}

// A drop-down's height in a table is its open list's, but the common controls of version 6 size an open list by its
// items (up to CB_GETMINVISIBLE). Made that tall, a drop-down only gives its hidden list a height that the list trims
// to whole items, and again at each font: about 2 ms a drop-down under Wine. Made at no height, its field takes the
// height of its font.
RECT DesignRectOf(const ControlDef& def)
{
    return RECT{def.x, def.y, def.x + def.w, def.y + (IsDropDown(def) ? 0 : def.h)};
}

bool IsGroupBox(const ControlDef& def)
{
    return lstrcmpiW(def.className, WC_BUTTONW) == 0 && (def.style & BS_TYPEMASK) == BS_GROUPBOX;
}
} // namespace

HWND CreateChild(HWND parent, const ControlDef& def, int dpi)
{
    const RECT rc = ScaleRect(DesignRectOf(def), dpi);
    return CreateWindowExW(def.exStyle, def.className, def.text, WS_CHILD | def.style, rc.left, rc.top,
                           rc.right - rc.left, rc.bottom - rc.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(def.id)), GetModuleHandleW(nullptr), nullptr);
}

std::vector<HWND> ControlLayout::Create(HWND parent, std::span<const ControlDef> defs, int dpi)
{
    std::vector<HWND> created;
    created.reserve(defs.size());
    for (ControlDef def : defs) {
        def.style |= WS_VISIBLE;
        HWND control = CreateChild(parent, def, dpi);
        controls_.emplace_back(control, DesignRectOf(def));
        created.push_back(control);
    }
    for (std::size_t i = 0; i < defs.size(); ++i) {
        if (IsGroupBox(defs[i])) {
            SetWindowPos(created[i], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    return created;
}

std::optional<RECT> ControlLayout::DesignRect(HWND control) const
{
    for (const auto& [kept, design] : controls_) {
        if (kept == control) {
            return design;
        }
    }
    return std::nullopt;
}

void ControlLayout::Place(int dpi) const
{
    for (const auto& [control, design] : controls_) {
        PlaceChild(control, design, dpi);
    }
}

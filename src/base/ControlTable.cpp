// Control tables: creation at a DPI, the kept rectangles at 96 DPI and the placing again at another DPI.
#include "base/ControlTable.h"

#include <commctrl.h>

#include "base/Dpi.h"

namespace {
RECT DesignRectOf(const ControlDef& def)
{
    return RECT{def.x, def.y, def.x + def.w, def.y + def.h};
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

// The program's one typeface and its fonts at a window's DPI: a set of fonts of fixed design sizes that knows which
// control shows which of them, so that a change of DPI makes them anew and gives every control its font again.
#pragma once

#include <windows.h>

#include <cstddef>
#include <utility>
#include <vector>

#include "base/Dpi.h"
#include "base/Handles.h"

// The face of every text the program draws.
inline constexpr wchar_t kUiFace[] = L"ＭＳ Ｐゴシック";

// A font of the program's face in the Shift-JIS character set; heightPx is the character height in the layout.
Font CreateUiFont(int heightPx, int dpi, bool bold = false, bool italic = false, bool underline = false);
// The character height in pixels of a font given in points, at a DPI.
int PointsToPixels(int points, int dpi);

// A font of the set: its character height at 96 DPI in pixels, or in points (a length, as large on every
// screen).
struct UiFontStyle {
    int height;
    bool bold = false;
    bool italic = false;
    bool inPoints = false;
    bool underline = false;
};

class DpiFontSet {
public:
    using Id = std::size_t;

    int Dpi() const { return dpi_; }
    // Makes every font anew for dpi and gives each control the font it had; the old fonts go once no control
    // uses them.
    void SetDpi(int dpi);
    // A font made at once at the set's DPI.
    Id Add(const UiFontStyle& style);
    HFONT Get(Id font) const { return fonts_[font].Get(); }
    // Gives a control one of the set's fonts, now and at every change of DPI.
    void SetOn(HWND control, Id font, bool redraw = true);
    // The controls are gone (their window was destroyed); the fonts stay for a window made again.
    void ForgetControls() { controls_.clear(); }

private:
    Font Make(const UiFontStyle& style) const;

    int dpi_ = kDesignDpi;
    std::vector<UiFontStyle> styles_;
    std::vector<Font> fonts_;
    std::vector<std::pair<HWND, Id>> controls_;
};

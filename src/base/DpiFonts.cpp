// Fonts of the program's face at a DPI, and the set that swaps them on its controls when the DPI changes.
#include "base/DpiFonts.h"

namespace {
constexpr int kPointsPerInch = 72;

void SendFont(HWND control, HFONT font, bool redraw)
{
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}
} // namespace

Font CreateUiFont(int heightPx, int dpi, bool bold, bool italic, bool underline)
{
    LOGFONTW lf = {};
    lf.lfHeight = -Scale(heightPx, dpi);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = italic ? TRUE : FALSE;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, kUiFace, LF_FACESIZE);
    return Font(CreateFontIndirectW(&lf));
}

int PointsToPixels(int points, int dpi)
{
    return MulDiv(points, dpi, kPointsPerInch);
}

Font DpiFontSet::Make(const UiFontStyle& style) const
{
    // Points are a length: the pixels of the DPI as they are, not scaled once more.
    if (style.inPoints) {
        return CreateUiFont(PointsToPixels(style.height, dpi_), kDesignDpi, style.bold, style.italic, style.underline);
    }
    return CreateUiFont(style.height, dpi_, style.bold, style.italic, style.underline);
}

void DpiFontSet::SetDpi(int dpi)
{
    dpi_ = dpi;
    std::vector<Font> old = std::move(fonts_);
    fonts_.clear();
    for (const UiFontStyle& style : styles_) {
        fonts_.push_back(Make(style));
    }
    for (const auto& [control, font] : controls_) {
        SendFont(control, Get(font), true);
    }
}

DpiFontSet::Id DpiFontSet::Add(const UiFontStyle& style)
{
    styles_.push_back(style);
    fonts_.push_back(Make(style));
    return fonts_.size() - 1;
}

void DpiFontSet::SetOn(HWND control, Id font, bool redraw)
{
    SendFont(control, Get(font), redraw);
    for (auto& [kept, keptFont] : controls_) {
        if (kept == control) {
            keptFont = font;
            return;
        }
    }
    controls_.emplace_back(control, font);
}

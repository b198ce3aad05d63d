// Windows' high-contrast answer and the choice between the program's own colours and the system's pairs.
#include "base/HighContrast.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr COLORREF kClassicLinkBlue = RGB(0, 0, 255);
// The contrast that text of the links' size needs against its background to be read (WCAG 2, 4.5 : 1).
constexpr double kReadableContrast = 4.5;

// Relative luminance of an sRGB colour.
double Luminance(COLORREF colour)
{
    auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(GetRValue(colour)) + 0.7152 * linear(GetGValue(colour)) + 0.0722 * linear(GetBValue(colour));
}

double Contrast(COLORREF a, COLORREF b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
} // namespace

bool SystemHighContrast()
{
    HIGHCONTRASTW info = {};
    info.cbSize = sizeof(info);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(info), &info, 0) && (info.dwFlags & HCF_HIGHCONTRASTON);
}

COLORREF SchemeColour(bool highContrast, COLORREF own, int systemIndex)
{
    return highContrast ? GetSysColor(systemIndex) : own;
}

HBRUSH SchemeBrush(bool highContrast, HBRUSH own, int systemIndex)
{
    return highContrast ? GetSysColorBrush(systemIndex) : own;
}

COLORREF LinkColour(bool highContrast, COLORREF hotLight, COLORREF background)
{
    if (highContrast) {
        return hotLight;
    }
    const double own = Contrast(hotLight, background);
    return own >= kReadableContrast || own >= Contrast(kClassicLinkBlue, background) ? hotLight : kClassicLinkBlue;
}

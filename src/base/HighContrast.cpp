// Windows' high-contrast answer and the choice between the program's own colours and the system's pairs.
#include "base/HighContrast.h"

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

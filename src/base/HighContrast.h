// High contrast: whether Windows asks for the system's colour pairs, and the colour a window draws with under
// either answer. Windows take the question as a service, so that a test or the screenshot tool can answer it.
#pragma once

#include <windows.h>

#include <functional>

using HighContrastFn = std::function<bool()>;

// Windows' own answer (SPI_GETHIGHCONTRAST).
bool SystemHighContrast();

// The program's own colour, or in high contrast the system colour of that index (COLOR_WINDOW, ...).
COLORREF SchemeColour(bool highContrast, COLORREF own, int systemIndex);
// The same for a brush: the program's own, or in high contrast the system's brush of that index.
HBRUSH SchemeBrush(bool highContrast, HBRUSH own, int systemIndex);
// The colour of a link's text on a background: the system's colour for links (COLOR_HOTLIGHT, passed in), which
// high contrast always takes. In normal colours a hot-light that cannot be read on that background (Wine's light
// theme makes it a pale grey, the background of hot-tracked items) gives way to the classic link blue.
COLORREF LinkColour(bool highContrast, COLORREF hotLight, COLORREF background);

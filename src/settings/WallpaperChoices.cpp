// What the wallpaper page's choices mean: styles with their desktop values and where span is offered, and the
// change times' moments and intervals.
#include "settings/WallpaperChoices.h"

#include <iterator>

namespace {
// The interval choices, from every 15 minutes to every 10 seconds.
constexpr DWORD kIntervalsMs[] = {900000, 600000, 300000, 180000, 60000, 30000, 10000};
static_assert(std::size(kIntervalsMs) + static_cast<int>(WallpaperChangeTime::Every15Minutes) ==
              std::size(kWallpaperChangeTimeItems));
// Span is the last item, so that a Windows without it is offered the others by their count.
static_assert(std::size(kWallpaperStyleItems) == static_cast<std::size_t>(WallpaperStyle::Span) + 1);
} // namespace

WallpaperStyleValues DesktopValuesOf(WallpaperStyle style)
{
    switch (style) {
    case WallpaperStyle::Tile:
        return {L"1", L"0"};
    case WallpaperStyle::Stretch:
        return {L"0", L"2"};
    case WallpaperStyle::Fit:
        return {L"0", L"6"};
    case WallpaperStyle::Fill:
        return {L"0", L"10"};
    case WallpaperStyle::Span:
        return {L"0", L"22"};
    default:
        return {L"0", L"0"};
    }
}

bool WindowsHasSpan(DWORD majorVersion, DWORD minorVersion)
{
    return majorVersion > 6 || (majorVersion == 6 && minorVersion >= 2);
}

int OfferedStyleItems(bool spanOffered)
{
    constexpr int kAll = static_cast<int>(std::size(kWallpaperStyleItems));
    return spanOffered ? kAll : kAll - 1;
}

int OfferedStyleItem(int stored, int offeredItems)
{
    if (stored == static_cast<int>(WallpaperStyle::Span) && offeredItems <= stored) {
        return static_cast<int>(WallpaperStyle::Fill);
    }
    return stored;
}

std::optional<WallpaperStyle> StyleForStyleIndex(int index)
{
    if (index < 0 || index >= static_cast<int>(std::size(kWallpaperStyleItems))) {
        return std::nullopt;
    }
    return static_cast<WallpaperStyle>(index);
}

DWORD WallpaperIntervalMs(WallpaperChangeTime changeTime)
{
    const int item = static_cast<int>(changeTime) - static_cast<int>(WallpaperChangeTime::Every15Minutes);
    return item >= 0 && item < static_cast<int>(std::size(kIntervalsMs)) ? kIntervalsMs[item] : 0;
}

bool ChangesOnTheHour(WallpaperChangeTime changeTime)
{
    return changeTime == WallpaperChangeTime::OnTheHour || changeTime == WallpaperChangeTime::OnTheHourAndHalfHour;
}

bool ChangesOnTheHalfHour(WallpaperChangeTime changeTime)
{
    return changeTime == WallpaperChangeTime::OnTheHourAndHalfHour;
}

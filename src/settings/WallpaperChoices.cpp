// What the wallpaper page's choices mean: styles, and the change times' moments and intervals.
#include "settings/WallpaperChoices.h"

#include <iterator>

namespace {
// The interval choices, from every 15 minutes to every 10 seconds.
constexpr DWORD kIntervalsMs[] = {900000, 600000, 300000, 180000, 60000, 30000, 10000};
static_assert(std::size(kIntervalsMs) + static_cast<int>(WallpaperChangeTime::Every15Minutes) ==
              std::size(kWallpaperChangeTimeItems));
} // namespace

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

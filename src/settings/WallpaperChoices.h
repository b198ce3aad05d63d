// The wallpaper page's three choices, each stored as its item position: the texts the user reads, in item
// order, and what each item means to the programs that act on it (the tick, the change, the installer).
#pragma once

#include <windows.h>

#include <optional>

// "KabeStyle": how a wallpaper covers the screen. Items keep their positions across versions, so stored
// settings keep their meaning; span is offered only where Windows has it.
enum class WallpaperStyle { Centre, Tile, Stretch, Fit, Fill, Span };
// Fit keeps the whole picture inside the screen, fill covers the screen and cuts what stands out.
inline constexpr const wchar_t* kWallpaperStyleItems[] = {L"中央に表示",       L"並べて表示",
                                                          L"拡大して表示",     L"画面に収めて表示",
                                                          L"画面を埋めて表示", L"複数画面にまたがって表示"};
// What the desktop's "TileWallpaper" and "WallpaperStyle" hold for a style.
struct WallpaperStyleValues {
    const wchar_t* tile;
    const wchar_t* style;
};
WallpaperStyleValues DesktopValuesOf(WallpaperStyle style);
// Windows draws a wallpaper across all screens from Windows 8 (6.2) on.
bool WindowsHasSpan(DWORD majorVersion, DWORD minorVersion);
// How many of the items the drop-down offers.
int OfferedStyleItems(bool spanOffered);
// The item a stored position shows among the items offered: a stored span where Windows has none shows fill,
// its nearest; other positions are kept (beyond the items they mean no selection).
int OfferedStyleItem(int stored, int offeredItems);
// The style an item stands for; nothing for no selection or an unknown item, which leaves the current style as
// it is.
std::optional<WallpaperStyle> StyleForStyleIndex(int index);
// The style in force before the load has chosen one, and the one the installer stores.
inline constexpr WallpaperStyle kInitialWallpaperStyle = WallpaperStyle::Tile;
inline constexpr WallpaperStyle kInstallWallpaperStyle = WallpaperStyle::Stretch;

// "KabeJyunn": which entry of the list comes next.
enum class WallpaperOrder { Sequential, Random };
inline constexpr const wchar_t* kWallpaperOrderItems[] = {L"順番に表示", L"ランダムに表示"};

// "KabeChangeTime": when the wallpaper changes by itself. No selection reads as -1, which is none of these.
enum class WallpaperChangeTime {
    Never,
    AtStartup,
    OnTheHour,
    OnTheHourAndHalfHour,
    Every15Minutes,
    Every10Minutes,
    Every5Minutes,
    Every3Minutes,
    EveryMinute,
    Every30Seconds,
    Every10Seconds,
};
inline constexpr const wchar_t* kWallpaperChangeTimeItems[] = {
    L"自動変更しない", L"Sorabune 起動時", L"毎時 ０分", L"毎時 ０分 + ３０分", L"15分おき", L"10分おき",
    L"5分おき",        L"3分おき",         L"1分おき",   L"30秒おき",           L"10秒おき"};
// Milliseconds between changes of the interval choices; 0 for the others.
DWORD WallpaperIntervalMs(WallpaperChangeTime changeTime);
// Whether the choice changes the wallpaper at hh:00:00, and at hh:30:00.
bool ChangesOnTheHour(WallpaperChangeTime changeTime);
bool ChangesOnTheHalfHour(WallpaperChangeTime changeTime);

// The wallpaper page's three choices, each stored as its item position: the texts the user reads, in item
// order, and what each item means to the programs that act on it (the tick, the change, the installer).
#pragma once

#include <windows.h>

#include <optional>

// "KabeStyle": how a wallpaper covers the screen.
enum class WallpaperStyle { Centre, Tile, Stretch };
inline constexpr const wchar_t* kWallpaperStyleItems[] = {L"中央に表示", L"並べて表示", L"拡大して表示"};
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

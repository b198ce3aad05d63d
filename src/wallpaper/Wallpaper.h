// Applying a wallpaper to the desktop and choosing the next one from the list.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/FileExistence.h"
#include "settings/WallpaperChoices.h"

class SettingsDialog;

// A seed for the random wallpaper order that differs between two starts: the clock and the millisecond counter.
unsigned FreshRandomSeed();

// The call that tells the system of a new wallpaper (SystemParametersInfoW in the program).
using SystemParametersInfoFn = std::function<BOOL(UINT action, UINT uiParam, PVOID pvParam, UINT winIni)>;

// Chooses and applies the next wallpaper from the list of the dialog's wallpaper page (its WallpaperChanger): the
// purge, then the next entry in list order or at random, with the page's style in force. A file is applied before this
// returns; a folder's picture once the converter has made it. A failure goes to the dialog's error reporter.
void ChangeWallpaper(SettingsDialog& dialog, const SystemParametersInfoFn& tellSystem);
using ChangeWallpaperFn = std::function<void(SettingsDialog& dialog, const SystemParametersInfoFn& tellSystem)>;

// Removes the entries whose file (or folder) is missing from a volume that is there, in one pass with no entry
// passed over, and tells which of the remaining entries may be applied now; items becomes the remaining entries.
std::vector<bool> PurgeList(HWND list, std::vector<std::wstring>& items, FileExistence& existence);

// The program's one wallpaper bitmap, into which a folder entry's pictures are converted: in the user's local
// application data folder, never in the user's own folders. Empty when the system names no such folder.
std::wstring ProgramWallpaperBitmap();
using WallpaperBitmapFn = std::function<std::wstring()>;

// Writes the desktop's wallpaper values under HKCU\Control Panel\Desktop and tells the system.
void SetWallpaper(const std::wstring& path, WallpaperStyle style, const SystemParametersInfoFn& tellSystem);

// Whether this Windows offers span (the version the system reports).
bool SystemHasSpan();
// The screens the preview stands for: the primary screen's size in pixels, and the rectangle around all screens
// in the primary screen's coordinates (its top left corner is 0, 0).
struct Screens {
    SIZE primary;
    RECT all;
};
Screens SystemScreens();
using ScreensFn = std::function<Screens()>;

// The desktop's current "Wallpaper" value (empty when missing).
std::wstring CurrentDesktopWallpaper();

// The items of a list box, in order.
std::vector<std::wstring> ListItems(HWND list);

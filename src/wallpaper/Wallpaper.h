// Applying a wallpaper to the desktop, choosing the next one from the list, and the add rule that the add
// button and file drops share.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "settings/SettingsRules.h"

class TOptionEtcForm;

// Writes the desktop's wallpaper values under HKCU\Control Panel\Desktop and tells the system.
void SetWallpaper(const std::wstring& path, WallpaperStyle style);

// The call that tells the system of a new wallpaper; tests record it instead. Null restores the system's.
using SystemParametersInfoFn = BOOL(WINAPI*)(UINT action, UINT uiParam, PVOID pvParam, UINT winIni);
SystemParametersInfoFn SetSystemParametersInfo(SystemParametersInfoFn fn);

// The desktop's current "Wallpaper" value (empty when missing).
std::wstring CurrentDesktopWallpaper();

// The items of a list box, in order.
std::vector<std::wstring> ListItems(HWND list);

// Runs the add rule over files in their order: bitmaps are appended, JPEG files converted to a bitmap beside
// them which is appended, other files passed over. The first failure is shown and ends the operation.
void AddWallpaperFiles(TOptionEtcForm& form, const std::vector<std::wstring>& files);

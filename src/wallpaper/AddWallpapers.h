// The add rule that the add button and file drops share: folders opened, pictures converted to bitmaps beside
// them, the bitmaps appended to the wallpaper list, with a progress window when there are many.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "wallpaper/PictureFolders.h"

class SettingsDialog;

// More files than this show the progress window; fewer convert under the wait cursor.
inline constexpr std::size_t kQuietAddCount = 3;

// Adds files in their order, each folder replaced by its pictures: a bitmap is appended, any other picture
// converted to a bitmap beside it which is appended; a picture a folder brought is passed over when its bitmap
// is in the list already. A failed conversion is shown and ends the add; files nothing reads are named in one
// message at its end. With more than kQuietAddCount files the progress window shows, the settings dialog is
// disabled and messages are handled between files; Cancel ends the add after the current file. An add that
// starts while one runs (a drop reaching the disabled dialog) is passed over.
void AddWallpaperFiles(SettingsDialog& form, const std::vector<std::wstring>& files,
                       const FolderQueries& folders = SystemFolderQueries());

// The extensions the system's decoders read, asked once per process.
const std::vector<std::wstring>& DecodedExtensions();

// The add rule that the add button and file drops share: a folder appended as one entry, pictures converted by the
// converter into bitmaps beside them, the bitmaps appended to the wallpaper list, with a progress window when there
// are many.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/Controls.h"
#include "wallpaper/PictureConverter.h"
#include "wallpaper/PictureFolders.h"

class SettingsDialog;

// More files than this show the progress window; fewer convert under the wait cursor.
inline constexpr std::size_t kQuietAddCount = 3;

// Adds files and folders in their order: a folder is appended as a folder entry (FolderEntryFor) unless it is
// listed already, and nothing in it is read; a bitmap is appended, any other picture converted to a bitmap beside
// it (BitmapTargetFor) which is appended. A picture that cannot be converted is passed over and the rest are
// added; one message at the end names what was passed over, the files nothing reads and those that failed. The
// settings dialog is disabled while the add runs and messages are handled all the time; with more than
// kQuietAddCount files the progress window shows, and its Cancel ends the add at once, the converter included. An
// add that starts while one runs (a drop reaching the disabled dialog) is passed over: its owner (the wallpaper page)
// hands every add the same guard.
struct AddGuard {
    bool running = false;
};
void AddWallpaperFiles(SettingsDialog& dialog, ListBox list, AddGuard& guard, const std::vector<std::wstring>& files,
                       const FolderQueries& folders = SystemFolderQueries(),
                       const ConverterProgram& converter = ConverterBesideProgram());

// The extensions the system's decoders read, asked once per process.
const std::vector<std::wstring>& DecodedExtensions();

// A heading and up to ten lines, then how many more ("ほか %d 個"): the messages of what was passed over.
std::wstring NamedList(const wchar_t* heading, const std::vector<std::wstring>& lines);

// Small questions to the file system that several parts of the program ask.
#pragma once

#include <string>
#include <string_view>

// A file (not a folder) of that name exists; false for an empty name.
bool FileExists(const std::wstring& path);
// The path ends in a backslash or slash, which is how a list of files names a folder among them.
bool NamesFolder(std::wstring_view path);
// What the path names exists: the folder for a path that names a folder, else the file.
bool EntryExists(const std::wstring& path);

// The folder holding a path's last component. A root keeps its backslash (D:\ or \\server\share\), since D:
// alone names the drive's current folder, not its root. Empty when the path names no folder.
std::wstring FolderOf(std::wstring_view path);
// The volume a full path lies on: its drive root D:\ or its share \\server\share\, also for the long-path forms
// \\?\D:\... and \\?\UNC\server\share\...; empty for a relative path.
std::wstring VolumeOf(std::wstring_view path);
// One key for a path however it is written: upper case, backslashes, no long-path prefix (a trailing backslash
// stays), so that C:\Pics, c:/pics and \\?\C:\PICS share it.
std::wstring PathIdentity(std::wstring_view path);
// The same for the folder of a path: C:\Pics\a.bmp, c:/pics/b.bmp and \\?\C:\PICS\c.bmp share it.
std::wstring FolderIdentity(std::wstring_view path);

// A folder without its trailing backslashes.
std::wstring WithoutTrailingBackslash(std::wstring folder);

// The full path of the running program, however long.
std::wstring OwnFilePath();

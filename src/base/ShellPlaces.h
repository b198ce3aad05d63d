// Places the installer and the uninstaller work with: registry strings of any length, the shell's folders,
// the Windows folder and the program's own file.
#pragma once

#include <windows.h>

#include <string>

// Reads a string value (any length); empty when the key or the value is missing.
std::wstring ReadRegistryString(HKEY root, const wchar_t* path, const wchar_t* name);
// The shell's folder: the Shell Folders value, or the shell's own answer when the value is missing.
std::wstring ShellFolder(const wchar_t* valueName, int csidl);
// The Windows folder without its trailing backslash.
std::wstring WindowsFolder();

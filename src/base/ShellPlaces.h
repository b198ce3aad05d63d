// Places the installer and the uninstaller work with: the shell's folders, the Windows folder and the program's
// own file.
#pragma once

#include <windows.h>

#include <string>

// The shell's folder of a CSIDL (the desktop, Programs), as the shell itself answers; empty when it has none. Never
// the key "Shell Folders", which Windows keeps only for old programs and any process of the user can rewrite.
std::wstring ShellFolder(int csidl);
// The Windows folder without its trailing backslash.
std::wstring WindowsFolder();

// The installer's paths from the installer's own path, the Windows folder and the shell's folders, and the
// shell's double-zero name lists; no file system or registry is touched here.
#pragma once

#include <string>

#include "base/ProductFiles.h"

struct InstallPaths {
    std::wstring installFolder;      // without a trailing backslash
    std::wstring windowsFolder;      // without a trailing backslash
    std::wstring desktopShortcut;    // empty when there is no desktop folder
    std::wstring programsShortcut;   // empty when there is no Programs folder
    std::wstring shortcutTarget;     // the companion program in the installation folder
    std::wstring workingFolder;      // the installation folder with its trailing backslash
    std::wstring uninstallerSource;  // in the installation folder
    std::wstring uninstallerCommand; // in the Windows folder
};

// The folder of a file path, without a trailing backslash ("C:" for a file at a drive's root).
std::wstring FolderOfFile(const std::wstring& path);
InstallPaths MakeInstallPaths(const std::wstring& installerPath, const std::wstring& windowsFolder,
                              const std::wstring& desktopFolder, const std::wstring& programsFolder);
// The uninstaller's place in the Windows folder: its own name first (number 1), then Uninst_Sorabune_2.exe and on,
// for when an older copy that cannot be deleted holds the names before.
std::wstring UninstallerPlace(const std::wstring& windowsFolder, int number);
// One name as the shell's file operations take it: the name followed by two zero characters.
std::wstring DoubleZeroList(const std::wstring& name);

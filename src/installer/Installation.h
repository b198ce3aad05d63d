// The installation that the installer's window runs while it is created: the uninstall entry, the
// uninstaller copied into the Windows folder, the two shortcuts and the default settings.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>

#include "base/AppError.h"
#include "installer/InstallerRules.h"
#include "settings/IniStore.h"
#include "settings/SettingsLayout.h"

// The shell's file operation that copies the uninstaller (SHFileOperationW).
using ShellFileOperation = std::function<int(SHFILEOPSTRUCTW* operation)>;

// The system calls the installation makes: the installer's entry leaves the system's in place, tests put in ones
// that redirect the keys or record the copy.
struct InstallSystem {
    // Opens the uninstall entry's key and the settings' keys.
    RegistryKeyOpener openKey = OpenRegistryKey;
    ShellFileOperation fileOperation = SHFileOperationW;
};

// The paths: the shell's folders, the Windows folder and the installer's own folder.
InstallPaths GatherInstallPaths();
// The uninstall entry, the uninstaller's copy, the shortcuts and the settings on given paths, the settings written
// through the given store. A step that fails with a message throws AppError; the later steps are then not carried out.
// A shortcut that cannot be made is reported and the installation goes on.
void InstallTo(const InstallPaths& paths, HWND owner, IniWriter& settings, const InstallSystem& system,
               ErrorReporter& errors);
// The installation on given paths; a failure is reported and ends it at that step. Without a settings store the
// settings go to the current user's registry.
void RunInstallation(HWND owner, const InstallSystem& system, ErrorReporter& errors, const InstallPaths& paths,
                     IniWriter* settings = nullptr);
// The whole installation on this machine's paths.
void RunInstallation(HWND owner, const InstallSystem& system, ErrorReporter& errors);

// The nine steps of the installation, in their fixed order, on the settings layout shared with the resident
// program.
#include "installer/Installation.h"

#include "installer/ShellPlaces.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "settings/IniStore.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsRules.h"
#include "shell/AppError.h"
#include "shell/FileSystem.h"
#include "shell/Handles.h"

namespace {
constexpr wchar_t kSetValueError[] = L"'%s' の設定に失敗しました";
constexpr FILEOP_FLAGS kMoveFlags = FOF_NOCONFIRMATION | FOF_FILESONLY;

void SetUninstallValue(HKEY key, const wchar_t* name, const std::wstring& value)
{
    auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    if (RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes) != ERROR_SUCCESS) {
        throw AppError(FormatMessageText(kSetValueError, name));
    }
}

// Step 3. A key that cannot be opened for writing fails as its first value would.
void WriteUninstallEntry(const InstallPaths& paths)
{
    RegKey key;
    if (CurrentRegistryKeyOpener()(HKEY_LOCAL_MACHINE, kUninstallKey, true, KEY_READ | KEY_WRITE, key.Put()) !=
            ERROR_SUCCESS ||
        !key) {
        key.Release();
        throw AppError(FormatMessageText(kSetValueError, kDisplayNameValue));
    }
    SetUninstallValue(key.Get(), kDisplayNameValue, kDisplayName);
    SetUninstallValue(key.Get(), kUninstallStringValue, paths.uninstallerCommand);
    RegFlushKey(key.Get());
}

// Step 5. At a second run from the same folder the uninstaller is already in place; the shell would only
// report the missing source, so the move is left out then.
void MoveUninstaller(const InstallPaths& paths, HWND owner)
{
    if (!FileExists(paths.uninstallerSource) && FileExists(paths.uninstallerCommand)) {
        return;
    }
    const std::wstring from = DoubleZeroList(paths.uninstallerSource);
    const std::wstring to = DoubleZeroList(paths.windowsFolder + L"\\");
    SHFILEOPSTRUCTW op = {};
    op.hwnd = owner;
    op.wFunc = FO_MOVE;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = kMoveFlags;
    SHFileOperationW(&op);
}

// Steps 6 to 8: one link object saved at both places; a shortcut that cannot be saved is left out.
void CreateShortcuts(const InstallPaths& paths)
{
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid()))) {
        return;
    }
    link->SetPath(paths.shortcutTarget.c_str());
    link->SetWorkingDirectory(paths.workingFolder.c_str());
    link->SetDescription(kShortcutDescription);
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid()))) {
        return;
    }
    for (const std::wstring* shortcut : {&paths.desktopShortcut, &paths.programsShortcut}) {
        if (!shortcut->empty()) {
            file->Save(shortcut->c_str(), TRUE);
        }
    }
}
} // namespace

InstallPaths GatherInstallPaths()
{
    const std::wstring desktop = ShellFolder(L"Desktop", CSIDL_DESKTOPDIRECTORY);
    const std::wstring programs = ShellFolder(L"Programs", CSIDL_PROGRAMS);
    const std::wstring windows = WindowsFolder();
    return MakeInstallPaths(OwnFilePath(), windows, desktop, programs);
}

void InstallTo(const InstallPaths& paths, HWND owner, IniWriter& settings)
{
    WriteUninstallEntry(paths);
    MoveUninstaller(paths, owner);
    CreateShortcuts(paths);
    WriteInstallerDefaults(settings, paths.installFolder);
}

void RunInstallation(HWND owner, const InstallPaths& paths, IniWriter* settings)
{
    try {
        IniStore store(HKEY_CURRENT_USER, kSettingsStartPath);
        InstallTo(paths, owner, settings ? *settings : store);
    } catch (const AppError& error) {
        ShowAppError(error.Message());
    }
}

void RunInstallation(HWND owner)
{
    RunInstallation(owner, GatherInstallPaths());
}

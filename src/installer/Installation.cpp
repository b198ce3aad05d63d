// The installation in its fixed order, on the settings layout shared with the resident program.
#include "installer/Installation.h"

#include "base/ShellPlaces.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "settings/IniStore.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsRules.h"
#include "base/AppError.h"
#include "base/FileSystem.h"
#include "base/Handles.h"
#include "base/Registry.h"

namespace {
constexpr wchar_t kSetValueError[] = L"'%s' の設定に失敗しました";
constexpr wchar_t kShortcutError[] = L"ショートカット %s を作成できません";
constexpr FILEOP_FLAGS kCopyFlags = FOF_NOCONFIRMATION | FOF_FILESONLY;

void SetUninstallValue(HKEY key, const wchar_t* name, const std::wstring& value)
{
    if (WriteStringValue(key, name, value) != ERROR_SUCCESS) {
        throw AppError(FormatMessageText(kSetValueError, name));
    }
}

// The uninstall entry. A key that cannot be opened for writing fails as its first value would.
void WriteUninstallEntry(const InstallPaths& paths, RegistryKeyOpener openKey)
{
    RegKey key;
    if (openKey(HKEY_LOCAL_MACHINE, kUninstallKey, true, KEY_READ | KEY_WRITE, key.Put()) != ERROR_SUCCESS || !key) {
        key.Release();
        throw AppError(FormatMessageText(kSetValueError, kDisplayNameValue));
    }
    SetUninstallValue(key.Get(), kDisplayNameValue, kDisplayName);
    SetUninstallValue(key.Get(), kUninstallStringValue, paths.uninstallerCommand);
    SetUninstallValue(key.Get(), kInstallLocationValue, paths.installFolder);
    RegFlushKey(key.Get());
}

// The uninstaller into the Windows folder as a new file, made there with the folder's owner and permissions: moved
// on its volume it would keep the owner who unpacked the package, who could later swap in anything for an
// administrator to run from the uninstall entry. For the same reason an older copy there, perhaps moved by an
// earlier version, is deleted rather than overwritten. The source goes only once the copy is made. At a second
// run from the same folder the source is gone, the shell says so in its own window and the old copy stays.
void PlaceUninstaller(const InstallPaths& paths, HWND owner, ShellFileOperation fileOperation)
{
    if (FileExists(paths.uninstallerSource)) {
        DeleteFileW(paths.uninstallerCommand.c_str());
    }
    const std::wstring from = DoubleZeroList(paths.uninstallerSource);
    const std::wstring to = DoubleZeroList(paths.windowsFolder + L"\\");
    SHFILEOPSTRUCTW op = {};
    op.hwnd = owner;
    op.wFunc = FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = kCopyFlags;
    if (fileOperation(&op) == 0 && !op.fAnyOperationsAborted && FileExists(paths.uninstallerCommand)) {
        DeleteFileW(paths.uninstallerSource.c_str());
    }
}

// The shortcuts: one link object saved at both places. A shortcut that cannot be made is reported by name and
// the installation goes on; the completion text must not stand for shortcuts that are not there.
void CreateShortcuts(const InstallPaths& paths, ErrorReporter& errors)
{
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    // SetPath answers S_FALSE for a target it cannot find; the link is still right.
    const bool linkReady =
        SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())) &&
        SUCCEEDED(link->SetPath(paths.shortcutTarget.c_str())) &&
        SUCCEEDED(link->SetWorkingDirectory(paths.workingFolder.c_str())) &&
        SUCCEEDED(link->SetDescription(kShortcutDescription)) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.PutVoid()));
    for (const std::wstring* shortcut : {&paths.desktopShortcut, &paths.programsShortcut}) {
        if (shortcut->empty()) {
            continue;
        }
        if (!linkReady || FAILED(file->Save(shortcut->c_str(), TRUE))) {
            errors.Report(FormatMessageText(kShortcutError, *shortcut));
        }
    }
}
} // namespace

InstallPaths GatherInstallPaths()
{
    const std::wstring desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    const std::wstring programs = ShellFolder(CSIDL_PROGRAMS);
    const std::wstring windows = WindowsFolder();
    return MakeInstallPaths(OwnFilePath(), windows, desktop, programs);
}

void InstallTo(const InstallPaths& paths, HWND owner, IniWriter& settings, const InstallSystem& system,
               ErrorReporter& errors)
{
    WriteUninstallEntry(paths, system.openKey);
    PlaceUninstaller(paths, owner, system.fileOperation);
    CreateShortcuts(paths, errors);
    WriteInstallerDefaults(settings, paths.installFolder);
}

void RunInstallation(HWND owner, const InstallSystem& system, ErrorReporter& errors, const InstallPaths& paths,
                     IniWriter* settings)
{
    try {
        IniStore store(HKEY_CURRENT_USER, kSettingsStartPath, system.openKey);
        InstallTo(paths, owner, settings ? *settings : store, system, errors);
    } catch (const AppError& error) {
        errors.Report(error.Message());
    }
}

void RunInstallation(HWND owner, const InstallSystem& system, ErrorReporter& errors)
{
    RunInstallation(owner, system, errors, GatherInstallPaths());
}

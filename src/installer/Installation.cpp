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
// The shortcut folders as the user knows them, to name a shortcut where the shell gives no folder.
constexpr wchar_t kDesktopName[] = L"デスクトップ";
constexpr wchar_t kProgramsName[] = L"スタート メニュー\\プログラム";
constexpr wchar_t kUninstallerHeldError[] = L"ファイル %s を置き換えられません";
constexpr FILEOP_FLAGS kCopyFlags = FOF_NOCONFIRMATION | FOF_FILESONLY;
// The uninstaller's own name and the numbered names after it.
constexpr int kUninstallerPlaces = 10;

void SetUninstallValue(HKEY key, const wchar_t* name, const std::wstring& value)
{
    if (WriteStringValue(key, name, value) != ERROR_SUCCESS) {
        throw AppError(FormatMessageText(kSetValueError, name));
    }
}

// The uninstall entry's key. A key that cannot be opened for writing fails as its first value would.
RegKey OpenUninstallEntry(const RegistryKeyOpener& openKey)
{
    RegKey key;
    if (openKey(HKEY_LOCAL_MACHINE, kUninstallKey, true, KEY_READ | KEY_WRITE, key.Put()) != ERROR_SUCCESS || !key) {
        key.Release();
        throw AppError(FormatMessageText(kSetValueError, kDisplayNameValue));
    }
    return key;
}

// The uninstall entry. Run again without the uninstaller beside it (the run before took it), the installation
// keeps the copy that the entry names, which may have a numbered name.
void WriteUninstallEntry(const InstallPaths& paths, const RegistryKeyOpener& openKey)
{
    RegKey key = OpenUninstallEntry(openKey);
    std::wstring command;
    if (FileExists(paths.uninstallerSource) ||
        ReadStringValue(key.Get(), kUninstallStringValue, command) != StoredString::Text || command.empty()) {
        command = paths.uninstallerCommand;
    }
    SetUninstallValue(key.Get(), kDisplayNameValue, kDisplayName);
    SetUninstallValue(key.Get(), kUninstallStringValue, command);
    SetUninstallValue(key.Get(), kInstallLocationValue, paths.installFolder);
    RegFlushKey(key.Get());
}

void PointUninstallEntryAt(const std::wstring& uninstaller, const RegistryKeyOpener& openKey)
{
    RegKey key = OpenUninstallEntry(openKey);
    SetUninstallValue(key.Get(), kUninstallStringValue, uninstaller);
    RegFlushKey(key.Get());
}

// Where the new copy goes: the uninstaller's own name once an older copy there is deleted. An older copy that
// cannot be deleted (open in a program, or kept by its permissions) is never written over, since it would keep
// its owner and permissions: the copy then takes the first numbered name that is free or can be freed (the
// numbered copies are all this installer's own). Empty when none can.
std::wstring FreeUninstallerPlace(const std::wstring& windowsFolder)
{
    for (int number = 1; number <= kUninstallerPlaces; ++number) {
        const std::wstring place = UninstallerPlace(windowsFolder, number);
        DeleteFileW(place.c_str());
        if (GetFileAttributesW(place.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return place;
        }
    }
    return {};
}

// The uninstaller into the Windows folder as a new file, made there with the folder's owner and permissions: moved
// on its volume it would keep the owner who unpacked the package, who could later swap in anything for an
// administrator to run from the uninstall entry. For the same reason an older copy there, perhaps moved by an
// earlier version, is deleted rather than overwritten. The source goes only once the copy is made. At a second
// run from the same folder the source is gone, the shell says so in its own window and the old copy stays.
// Returns where the uninstall entry is to point.
std::wstring PlaceUninstaller(const InstallPaths& paths, HWND owner, const ShellFileOperation& fileOperation,
                              ErrorReporter& errors)
{
    std::wstring place = paths.uninstallerCommand;
    if (FileExists(paths.uninstallerSource)) {
        place = FreeUninstallerPlace(paths.windowsFolder);
        if (place.empty()) {
            errors.Report(FormatMessageText(kUninstallerHeldError, paths.uninstallerCommand));
            return paths.uninstallerCommand;
        }
    }
    const std::wstring from = DoubleZeroList(paths.uninstallerSource);
    const std::wstring to = DoubleZeroList(place);
    SHFILEOPSTRUCTW op = {};
    op.hwnd = owner;
    op.wFunc = FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = kCopyFlags;
    if (fileOperation(&op) == 0 && !op.fAnyOperationsAborted && FileExists(place)) {
        DeleteFileW(paths.uninstallerSource.c_str());
    }
    return place;
}

// The shortcuts: one link object saved at both places. A shortcut that cannot be made, also for want of a folder
// from the shell, is reported by name and the installation goes on; the completion text must not stand for
// shortcuts that are not there.
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
    const struct {
        const std::wstring& path;
        const wchar_t* folderName;
    } shortcuts[] = {{paths.desktopShortcut, kDesktopName}, {paths.programsShortcut, kProgramsName}};
    for (const auto& shortcut : shortcuts) {
        if (shortcut.path.empty()) {
            errors.Report(FormatMessageText(kShortcutError, ShortcutIn(shortcut.folderName)));
        } else if (!linkReady || FAILED(file->Save(shortcut.path.c_str(), TRUE))) {
            errors.Report(FormatMessageText(kShortcutError, shortcut.path));
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
    const std::wstring uninstaller = PlaceUninstaller(paths, owner, system.fileOperation, errors);
    if (uninstaller != paths.uninstallerCommand) {
        PointUninstallEntryAt(uninstaller, system.openKey);
    }
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

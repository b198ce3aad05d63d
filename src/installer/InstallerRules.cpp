// Path rules of the installer and the uninstaller.
#include "installer/InstallerRules.h"

#include "base/FileSystem.h"
#include "settings/SettingsLayout.h"

std::wstring FolderOfFile(const std::wstring& path)
{
    auto slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        return {};
    }
    return WithoutTrailingBackslash(path.substr(0, slash));
}

InstallPaths MakeInstallPaths(const std::wstring& installerPath, const std::wstring& windowsFolder,
                              const std::wstring& desktopFolder, const std::wstring& programsFolder)
{
    InstallPaths p;
    p.installFolder = FolderOfFile(installerPath);
    p.windowsFolder = WithoutTrailingBackslash(windowsFolder);
    p.desktopShortcut = ShortcutIn(desktopFolder);
    p.programsShortcut = ShortcutIn(programsFolder);
    p.shortcutTarget = p.installFolder + L"\\" + kCompanionFileName;
    p.workingFolder = p.installFolder + L"\\";
    p.uninstallerSource = p.installFolder + L"\\" + kUninstallerFileName;
    p.uninstallerCommand = UninstallerPlace(p.windowsFolder, 1);
    return p;
}

std::wstring UninstallerPlace(const std::wstring& windowsFolder, int number)
{
    std::wstring name = kUninstallerFileName;
    if (number > 1) {
        name.insert(name.rfind(L'.'), L"_" + std::to_wstring(number));
    }
    return WithoutTrailingBackslash(windowsFolder) + L"\\" + name;
}

std::wstring DoubleZeroList(const std::wstring& name)
{
    std::wstring list = name;
    list.push_back(L'\0');
    list.push_back(L'\0');
    return list;
}

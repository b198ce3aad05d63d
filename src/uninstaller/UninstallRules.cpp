// Rules of the uninstaller: which files it removes and how it reports.
#include "uninstaller/UninstallRules.h"

#include <cwctype>

#include "base/FileSystem.h"
#include "base/ProductFiles.h"
#include "settings/SettingsLayout.h"

namespace {
bool IsDriveLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}
} // namespace

bool IsUsableInstallFolder(const std::wstring& folder)
{
    if (folder.find(L'"') != std::wstring::npos) {
        return false;
    }
    if (folder.size() >= 2 && IsDriveLetter(folder[0]) && folder[1] == L':') {
        return folder.size() == 2 || folder[2] == L'\\';
    }
    return folder.size() > 2 && folder[0] == L'\\' && folder[1] == L'\\' && folder[2] != L'\\' && folder[2] != L'?' &&
           folder[2] != L'.';
}

std::wstring FolderToUninstall(const std::wstring& installLocation, const std::wstring& path,
                               bool (*fileExists)(const std::wstring& file))
{
    if (!installLocation.empty()) {
        return installLocation;
    }
    if (IsUsableInstallFolder(path) && fileExists(WithoutTrailingBackslash(path) + L"\\" + kResidentFileName)) {
        return path;
    }
    return {};
}

std::vector<std::wstring> InstalledFiles(const std::wstring& folder)
{
    const std::wstring base = WithoutTrailingBackslash(folder) + L"\\";
    std::vector<std::wstring> files;
    for (const wchar_t* name : {kResidentFileName, kConverterFileName, kCompanionFileName, kInstallerFileName,
                                kUninstallerFileName, kReadmeFileName}) {
        files.push_back(base + name);
    }
    return files;
}

std::wstring DeleteAfterExitCommand(const std::wstring& file, int attempts)
{
    const std::wstring quoted = L"\"" + file + L"\"";
    // Each round tries the delete and, while the file is still there, waits about a second (ping's pause).
    return L"/d /q /c for /l %i in (1,1," + std::to_wstring(attempts) + L") do (if exist " + quoted + L" (del /f /q " +
           quoted + L" >nul 2>&1 & if exist " + quoted + L" ping -n 2 127.0.0.1 >nul))";
}

std::wstring UninstallReport(const std::vector<std::wstring>& notRemoved)
{
    if (notRemoved.empty()) {
        return kDoneText;
    }
    std::wstring text = kFailedHeading;
    text += L"\r\n";
    for (const std::wstring& item : notRemoved) {
        text += L"\r\n" + item;
    }
    return text;
}

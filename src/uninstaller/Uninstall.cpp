// The uninstaller Uninst_Sorabune.exe: after one confirmation it ends a running Sorabune as its exit dialog
// does, removes the shortcuts, the autostart value, the uninstall entry, the settings and the programs of the
// folder that the entry names, reports what it could not remove, and has itself deleted once it has ended.
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "base/ElevatedStart.h"
#include "base/FileSystem.h"
#include "base/Handles.h"
#include "base/ProductFiles.h"
#include "base/ProgramWindows.h"
#include "base/Registry.h"
#include "base/ShellPlaces.h"
#include "settings/SettingsLayout.h"
#include "uninstaller/ProgramRemoval.h"
#include "uninstaller/UninstallRules.h"

namespace {
constexpr DWORD kEndTimeoutMs = 10000;
constexpr wchar_t kHklmPrefix[] = L"HKEY_LOCAL_MACHINE\\";
constexpr wchar_t kHkcuPrefix[] = L"HKEY_CURRENT_USER\\";

// Closes a program's window as its own teardown expects and waits until the process has ended.
bool EndProgramOfWindow(const wchar_t* cls, const wchar_t* title)
{
    HWND window = FindWindowW(cls, title);
    if (!window) {
        return true;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    KernelHandle process(pid ? OpenProcess(SYNCHRONIZE, FALSE, pid) : nullptr);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, kEndTimeoutMs, &result);
    if (process) {
        return WaitForSingleObject(process.Get(), kEndTimeoutMs) == WAIT_OBJECT_0;
    }
    const DWORD start = GetTickCount();
    while (IsWindow(window) && GetTickCount() - start < kEndTimeoutMs) {
        Sleep(50);
    }
    return !IsWindow(window);
}

// The resident program's main window ends it: its teardown closes the companion and removes the tray icon.
// A companion that the program never found is closed on its own.
bool EndRunningSorabune()
{
    bool ended = EndProgramOfWindow(kResidentClass, kResidentTitle);
    ended = EndProgramOfWindow(kCompanionClass, kCompanionTitle) && ended;
    return ended;
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveFile(const std::wstring& path, std::vector<std::wstring>& notRemoved)
{
    if (!path.empty() && Exists(path) && !DeleteFileW(path.c_str())) {
        notRemoved.push_back(path);
    }
}

void RemoveShortcuts(std::vector<std::wstring>& notRemoved)
{
    RemoveFile(ShortcutIn(ShellFolder(CSIDL_DESKTOPDIRECTORY)), notRemoved);
    RemoveFile(ShortcutIn(ShellFolder(CSIDL_PROGRAMS)), notRemoved);
}

bool Gone(LSTATUS status)
{
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND;
}

void RemoveValue(HKEY root, const wchar_t* path, const wchar_t* name, const wchar_t* rootName,
                 std::vector<std::wstring>& notRemoved)
{
    if (!Gone(DeleteRegistryValue(root, path, name))) {
        notRemoved.push_back(std::wstring(rootName) + path + L" \"" + name + L"\"");
    }
}

void RemoveKey(HKEY root, const std::wstring& path, const wchar_t* rootName, std::vector<std::wstring>& notRemoved)
{
    if (!Gone(DeleteRegistryTree(root, path))) {
        notRemoved.push_back(rootName + path);
    }
}

// A running program cannot delete its own file; cmd.exe does it once this process has ended.
void RemoveSelfAfterExit(const std::wstring& self)
{
    wchar_t systemFolder[MAX_PATH] = {};
    GetSystemDirectoryW(systemFolder, MAX_PATH);
    const std::wstring system = systemFolder;
    const std::wstring cmd = system + L"\\cmd.exe";
    std::wstring commandLine = L"\"" + cmd + L"\" " + DeleteAfterExitCommand(self);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (CreateProcessW(cmd.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                       system.c_str(), &si, &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    } else {
        MoveFileExW(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
}
} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    if (!StartWithSystemLibrariesOnly(kUninstallCaption)) {
        return 1;
    }
    if (MessageBoxW(nullptr, kConfirmText, kUninstallCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return 0;
    }
    const std::wstring self = OwnFilePath();
    // Out of the installation folder, so that it can go when it is empty.
    SetCurrentDirectoryW(WindowsFolder().c_str());

    std::vector<std::wstring> notRemoved;
    if (!EndRunningSorabune()) {
        notRemoved.push_back(kNotEndedItem);
    }
    RemoveShortcuts(notRemoved);
    const std::wstring settingsKey = std::wstring(kSettingsStartPath) + L"\\" + kMainSection;
    const std::wstring folder =
        FolderToUninstall(ReadRegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, kInstallLocationValue),
                          ReadRegistryString(HKEY_CURRENT_USER, settingsKey.c_str(), L"Path"), FileExists);
    RemoveValue(HKEY_LOCAL_MACHINE, kAutostartSection, kAutostartValue, kHklmPrefix, notRemoved);
    RemoveKey(HKEY_LOCAL_MACHINE, kUninstallKey, kHklmPrefix, notRemoved);
    RemoveKey(HKEY_CURRENT_USER, settingsKey, kHkcuPrefix, notRemoved);
    SystemRemovalFileSystem files;
    RemovePrograms(folder, self, files, notRemoved);

    MessageBoxW(nullptr, UninstallReport(notRemoved).c_str(), kUninstallCaption,
                MB_OK | (notRemoved.empty() ? MB_ICONINFORMATION : MB_ICONWARNING));
    RemoveSelfAfterExit(self);
    return notRemoved.empty() ? 0 : 1;
}

// The released programs in a fresh Wine prefix, one user's story in order: install from the package into a
// folder with a Japanese name, with Japanese shortcut folders; install again; start Sorabune through the
// desktop shortcut; uninstall while it runs. Run by fresh_prefix.sh, which makes the prefix and unpacks the
// package into the folder that SORABUNE_PACKAGE_FOLDER names.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/PlantedLibrary.h"
#include "support/ProgramDriver.h"
#include "installer/InstallerTestSupport.h"
#include "base/Handles.h"
#include "base/Window.h"
#include "support/Registry.h"
#include "support/TestSupport.h"

using namespace e2e;

namespace {
constexpr DWORD kTimeoutMs = 30000;
// cmd.exe retries the uninstaller's deletion for about half a minute.
constexpr DWORD kSelfDeleteTimeoutMs = 45000;
constexpr wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// The shell derives the values above from these whenever it is asked for a folder.
constexpr wchar_t kUserShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sorabune";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kSettingsKey[] = L"Software\\Sorabune";
constexpr wchar_t kDesktop[] = L"C:\\ユーザー\\デスクトップ";
constexpr wchar_t kPrograms[] = L"C:\\ユーザー\\スタート メニュー\\プログラム";
// Where the user's own registry values (Shell Folders, "Path") point: nothing there may be written or deleted.
constexpr wchar_t kDecoy[] = L"C:\\おとり";
constexpr wchar_t kUninstallCaption[] = L"Sorabune のアンインストール";

std::wstring PackageFolder()
{
    wchar_t folder[MAX_PATH] = {};
    GetEnvironmentVariableW(L"SORABUNE_PACKAGE_FOLDER", folder, MAX_PATH);
    return folder;
}

std::wstring WindowsFolder()
{
    wchar_t folder[MAX_PATH] = {};
    GetWindowsDirectoryW(folder, MAX_PATH);
    return folder;
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Program StartProgram(const std::wstring& exe, const std::wstring& folder)
{
    Program program = StartIn(exe, L"", folder);
    if (!program) {
        ADD_FAILURE() << program.StartFailure();
    }
    return program;
}

std::wstring Value(HKEY root, const std::wstring& path, const std::wstring& name)
{
    for (const auto& v : ValuesOf(root, path)) {
        if (v.first == name) {
            return v.second;
        }
    }
    return L"<absent>";
}

void SetText(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& text)
{
    ASSERT_EQ(SetRegistryText(root, path, name, text), ERROR_SUCCESS);
}

// A dialog box of the given process, such as the shell's report of a move that failed; null when none is open.
HWND DialogOfProcess(DWORD pid)
{
    for (HWND box = FindWindowW(L"#32770", nullptr); box; box = FindWindowExW(nullptr, box, L"#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (owner == pid) {
            return box;
        }
    }
    return nullptr;
}

// Runs the installer of the package, checks its completion window and ends it with O  K. Message boxes that
// come before the window (the installer's error box, the shell's own reports) are answered; returns how many
// there were.
int InstallAndConfirm()
{
    Program installer = StartProgram(PackageFolder() + L"\\Install.exe", PackageFolder());
    if (!installer) {
        return -1;
    }
    const DWORD pid = GetProcessId(installer.Handle());
    int shellMessages = 0;
    HWND window = nullptr;
    WaitUntil(
        [&] {
            if (HWND box = DialogOfProcess(pid)) {
                ++shellMessages;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                WaitUntil([&] { return !IsWindow(box); }, kTimeoutMs);
            }
            window = FindWindowW(L"TForm1", L"Sorabune のインストール");
            return window && IsWindowVisible(window);
        },
        kTimeoutMs);
    EXPECT_NE(window, nullptr) << "no completion window";
    if (!window) {
        return shellMessages;
    }
    EXPECT_EQ(Utf8(WindowText(GetDlgItem(window, 1900))), "Sorabune のインストールが終了しました");
    if (Exists(PackageFolder() + L"\\" + kPlantedLibrary)) {
        EXPECT_FALSE(LoadsLibraryBesideIt(installer.Handle(), kPlantedLibrary));
    }
    DWORD_PTR result = 0;
    SendMessageTimeoutW(GetDlgItem(window, 1901), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &result);
    DWORD code = 99;
    EXPECT_TRUE(installer.WaitExit(kTimeoutMs, &code));
    EXPECT_EQ(code, 0u);
    return shellMessages;
}

// Waits for a message box of the uninstaller, returns its text and answers it with the given button.
std::string AnswerUninstaller(int button)
{
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = FindWindowW(L"#32770", kUninstallCaption)) != nullptr; }, kTimeoutMs)) {
        return "<no message box>";
    }
    wchar_t text[2048] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 2048);
    PostMessageW(box, WM_COMMAND, button, 0);
    WaitUntil([&] { return !IsWindow(box); }, kTimeoutMs);
    return Utf8(text);
}

class InstallEndToEndTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoInitialize(nullptr); }
    static void TearDownTestSuite() { CoUninitialize(); }
};
} // namespace

TEST_F(InstallEndToEndTest, InstallerRegistersMovesLinksAndWritesTheDefaults)
{
    ASSERT_FALSE(PackageFolder().empty());
    ASSERT_TRUE(Exists(PackageFolder() + L"\\Uninst_Sorabune.exe"));
    SHCreateDirectoryExW(nullptr, kDesktop, nullptr);
    SHCreateDirectoryExW(nullptr, kPrograms, nullptr);
    SHCreateDirectoryExW(nullptr, kDecoy, nullptr);
    SetText(HKEY_CURRENT_USER, kShellFolders, L"Desktop", kDecoy);
    SetText(HKEY_CURRENT_USER, kShellFolders, L"Programs", kDecoy);
    SetText(HKEY_CURRENT_USER, kUserShellFolders, L"Desktop", kDesktop);
    SetText(HKEY_CURRENT_USER, kUserShellFolders, L"Programs", kPrograms);

    // The installer runs with administrator rights from the unpacked package, beside a planted library.
    const std::wstring planted = PackageFolder() + L"\\" + kPlantedLibrary;
    ASSERT_TRUE(CopyFileW((BinFolder() + kPlantedLibrary).c_str(), planted.c_str(), FALSE));
    EXPECT_EQ(InstallAndConfirm(), 0) << "no error box: every shortcut was made and the move found its source";
    DeleteFileW(planted.c_str());

    const std::wstring uninstaller = WindowsFolder() + L"\\Uninst_Sorabune.exe";
    using Values = std::vector<std::pair<std::wstring, std::wstring>>;
    EXPECT_EQ(ValuesOf(HKEY_LOCAL_MACHINE, kUninstallKey), (Values{{L"DisplayName", L"Sorabune"},
                                                                   {L"InstallLocation", PackageFolder()},
                                                                   {L"UninstallString", uninstaller}}));
    EXPECT_TRUE(Exists(uninstaller));
    EXPECT_FALSE(Exists(PackageFolder() + L"\\Uninst_Sorabune.exe"));

    for (const std::wstring folder : {kDesktop, kPrograms}) {
        Shortcut s = ReadShortcut(folder + L"\\Sorabune.lnk");
        EXPECT_EQ(s.path, PackageFolder() + L"\\Sorabune.exe") << Utf8(folder);
        EXPECT_EQ(s.workingFolder, PackageFolder() + L"\\") << Utf8(folder);
        EXPECT_EQ(s.description, L"Sorabune");
        EXPECT_EQ(s.arguments, L"");
    }
    EXPECT_FALSE(Exists(std::wstring(kDecoy) + L"\\Sorabune.lnk"));

    // The installer's values reach the user's settings key; each value and its order are pinned by
    // InstallationTest.
    const std::wstring settings = kSettingsKey;
    EXPECT_EQ(
        ValuesOf(HKEY_CURRENT_USER, settings),
        (Values{{L"Path", PackageFolder()}, {L"StartupOnOff", L"0"}, {L"TimerWave", L"0"}, {L"TimerWaveOnOff", L"0"}}));
    EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, settings + L"\\KabeBmp"),
              (Values{{L"KabeChangeTime", L"0"}, {L"KabeJyunn", L"0"}, {L"KabeStyle", L"2"}}));
    EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, settings + L"\\OsiraseTimer").size(), 64u);
}

TEST_F(InstallEndToEndTest, SecondRunResetsTheDefaultsAndKeepsTheWallpaperListAndSounds)
{
    const std::wstring settings = kSettingsKey;
    SetText(HKEY_CURRENT_USER, settings, L"TimerWave", L"8");
    SetText(HKEY_CURRENT_USER, settings, L"TimerWaveCount", L"9");
    SetText(HKEY_CURRENT_USER, settings, L"TimerWave9", L"C:\\音\\鐘.wav");
    SetText(HKEY_CURRENT_USER, settings + L"\\KabeBmp", L"KabeStyle", L"1");
    SetText(HKEY_CURRENT_USER, settings + L"\\KabeBmp", L"KabeListCount", L"1");
    SetText(HKEY_CURRENT_USER, settings + L"\\KabeBmp", L"KabeBmp1", L"C:\\壁紙\\海.bmp");
    SetText(HKEY_CURRENT_USER, settings + L"\\OsiraseTimer", L"OsiraseTimer2Memo", L"会議");

    // The move of the uninstaller, whose source went at the first run, is tried again: Windows' shell reports
    // the missing file in one box of its own, Wine's says nothing.
    EXPECT_LE(InstallAndConfirm(), 1);

    EXPECT_EQ(Value(HKEY_CURRENT_USER, settings, L"TimerWave"), L"0");
    EXPECT_EQ(Value(HKEY_CURRENT_USER, settings, L"TimerWaveCount"), L"9");
    EXPECT_EQ(Value(HKEY_CURRENT_USER, settings, L"TimerWave9"), L"C:\\音\\鐘.wav");
    EXPECT_EQ(Value(HKEY_CURRENT_USER, settings + L"\\KabeBmp", L"KabeStyle"), L"2");
    EXPECT_EQ(Value(HKEY_CURRENT_USER, settings + L"\\KabeBmp", L"KabeListCount"), L"1");
    EXPECT_EQ(Value(HKEY_CURRENT_USER, settings + L"\\KabeBmp", L"KabeBmp1"), L"C:\\壁紙\\海.bmp");
    EXPECT_EQ(Value(HKEY_CURRENT_USER, settings + L"\\OsiraseTimer", L"OsiraseTimer2Memo"), L"");
    EXPECT_TRUE(Exists(WindowsFolder() + L"\\Uninst_Sorabune.exe"));
    EXPECT_TRUE(Exists(std::wstring(kDesktop) + L"\\Sorabune.lnk"));
}

TEST_F(InstallEndToEndTest, UninstallerEndsTheRunningProgramAndLeavesNothingBehind)
{
    // Started as the desktop shortcut starts it.
    Shortcut shortcut = ReadShortcut(std::wstring(kDesktop) + L"\\Sorabune.lnk");
    Program companion = StartProgram(shortcut.path, shortcut.workingFolder);
    HWND main = WaitForWindow(kMainClass, kMainTitle, kTimeoutMs);
    ASSERT_NE(main, nullptr) << "Sorabune did not start from the shortcut";
    Program resident = ProcessOfWindow(main);
    ASSERT_TRUE(WaitSplashDone(main, kTimeoutMs));
    ASSERT_NE(FindWindowW(kCompanionClass, kCompanionTitle), nullptr);
    // As a commit with autostart on leaves it.
    SetText(HKEY_LOCAL_MACHINE, kRunKey, L"Sorabune", L"\"" + PackageFolder() + L"\\Sorabune.exe\"");
    const std::wstring decoys[] = {std::wstring(kDecoy) + L"\\Sorabune.lnk",
                                   std::wstring(kDecoy) + L"\\SorabuneOpt.exe"};
    for (const std::wstring& decoy : decoys) {
        CloseHandle(CreateFileW(decoy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    SetText(HKEY_CURRENT_USER, kShellFolders, L"Desktop", kDecoy);
    SetText(HKEY_CURRENT_USER, kShellFolders, L"Programs", kDecoy);
    SetText(HKEY_CURRENT_USER, kSettingsKey, L"Path", kDecoy);

    const std::wstring uninstallerPath = Value(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString");
    Program uninstaller = StartProgram(uninstallerPath, L"");
    ASSERT_TRUE(uninstaller);
    EXPECT_EQ(AnswerUninstaller(IDYES), "Sorabune をアンインストールします。よろしいですか？");
    EXPECT_EQ(AnswerUninstaller(IDOK), "Sorabune のアンインストールが終了しました");
    DWORD code = 99;
    ASSERT_TRUE(uninstaller.WaitExit(kTimeoutMs, &code));
    EXPECT_EQ(code, 0u);

    // Ended the way its exit dialog ends it: the main window's teardown closed the companion too.
    EXPECT_TRUE(resident.WaitExit(kTimeoutMs));
    EXPECT_EQ(FindWindowW(kMainClass, kMainTitle), nullptr);
    EXPECT_EQ(FindWindowW(kCompanionClass, kCompanionTitle), nullptr);

    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kSettingsKey));
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kRunKey, L"Sorabune"), L"<absent>");
    EXPECT_FALSE(Exists(std::wstring(kDesktop) + L"\\Sorabune.lnk"));
    EXPECT_FALSE(Exists(std::wstring(kPrograms) + L"\\Sorabune.lnk"));
    EXPECT_FALSE(Exists(PackageFolder())) << "the emptied installation folder goes too";
    for (const std::wstring& decoy : decoys) {
        EXPECT_TRUE(Exists(decoy)) << Utf8(decoy);
    }
    EXPECT_TRUE(WaitUntil([&] { return !Exists(uninstallerPath); }, kSelfDeleteTimeoutMs))
        << "the uninstaller removes itself after it has ended";
}

TEST_F(InstallEndToEndTest, UninstallerAnsweredNoChangesNothing)
{
    // A fresh installation from a second unpacked copy, then the uninstaller is declined.
    EXPECT_EQ(InstallAndConfirm(), 0);
    const std::wstring uninstallerPath = WindowsFolder() + L"\\Uninst_Sorabune.exe";
    Program uninstaller = StartProgram(uninstallerPath, L"");
    EXPECT_EQ(AnswerUninstaller(IDNO), "Sorabune をアンインストールします。よろしいですか？");
    ASSERT_TRUE(uninstaller.WaitExit(kTimeoutMs));
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kSettingsKey));
    EXPECT_TRUE(Exists(std::wstring(kDesktop) + L"\\Sorabune.lnk"));
    EXPECT_TRUE(Exists(PackageFolder() + L"\\SorabuneOpt.exe"));
    EXPECT_TRUE(Exists(uninstallerPath));
}

TEST_F(InstallEndToEndTest, UninstallerReportsWhatItCouldNotRemoveAndRemovesTheRest)
{
    // The installation of the test before; a file held open by another program cannot be deleted.
    const std::wstring readme = PackageFolder() + L"\\Readme.txt";
    FileHandle held(CreateFileW(readme.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    // A file of the user's own in the program's folder is neither removed nor reported.
    const std::wstring own = PackageFolder() + L"\\メモ.txt";
    FileHandle(CreateFileW(own.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(Exists(own));
    Program uninstaller = StartProgram(WindowsFolder() + L"\\Uninst_Sorabune.exe", L"");
    EXPECT_EQ(AnswerUninstaller(IDYES), "Sorabune をアンインストールします。よろしいですか？");
    EXPECT_EQ(AnswerUninstaller(IDOK), "次のものを削除できませんでした。\r\n\r\n" + Utf8(readme));
    DWORD code = 0;
    ASSERT_TRUE(uninstaller.WaitExit(kTimeoutMs, &code));
    EXPECT_EQ(code, 1u);
    held.Reset();

    EXPECT_TRUE(Exists(readme));
    EXPECT_TRUE(Exists(own));
    EXPECT_FALSE(Exists(PackageFolder() + L"\\SorabuneOpt.exe"));
    EXPECT_FALSE(Exists(PackageFolder() + L"\\SorabuneConv.exe"));
    EXPECT_FALSE(Exists(PackageFolder() + L"\\Install.exe"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kSettingsKey));
    EXPECT_FALSE(Exists(std::wstring(kDesktop) + L"\\Sorabune.lnk"));
}

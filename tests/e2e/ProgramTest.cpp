// The real SorabuneOpt.exe and Sorabune.exe started as separate processes and watched through their windows.
#include <gtest/gtest.h>

#include <windows.h>

#include "e2e/PlantedLibrary.h"
#include "support/ProgramDriver.h"
#include "scheduler/SchedulerIds.h"
#include "settings/SettingsIds.h"
#include "support/TestSupport.h"

using namespace e2e;

namespace {
constexpr DWORD kTimeoutMs = 15000;
constexpr wchar_t kToken[] = L"Sorabune_START";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class ProgramTest : public testing::Test {
protected:
    void SetUp() override { KillLeftovers(); }
    void TearDown() override { KillLeftovers(); }
};

std::wstring ChildText(HWND parent, const wchar_t* cls)
{
    for (HWND child = FindWindowExW(parent, nullptr, cls, nullptr); child;
         child = FindWindowExW(parent, child, cls, nullptr)) {
        wchar_t text[512] = {};
        GetWindowTextW(child, text, 512);
        if (text[0]) {
            return text;
        }
    }
    return {};
}
} // namespace

TEST_F(ProgramTest, WithoutTheExactTokenTheProgramEndsSilently)
{
    for (const wchar_t* arguments : {L"", L"sorabune_start", L"Sorabune_STARTx", L"x Sorabune_START"}) {
        Program program = Start(L"SorabuneOpt.exe", arguments);
        ASSERT_TRUE(program) << program.StartFailure();
        DWORD code = 1;
        EXPECT_TRUE(program.WaitExit(kTimeoutMs, &code)) << Utf8(arguments);
        EXPECT_EQ(code, 0u);
        EXPECT_EQ(FindWindowW(kMainClass, kMainTitle), nullptr) << Utf8(arguments);
        EXPECT_EQ(FindWindowW(L"#32770", kDialogTitle), nullptr) << Utf8(arguments);
    }
}

TEST_F(ProgramTest, ASecondInstanceEndsAndTheFirstGoesOn)
{
    Program first = Start(L"SorabuneOpt.exe", kToken);
    ASSERT_TRUE(first) << first.StartFailure();
    HWND main = WaitForWindow(kMainClass, kMainTitle, kTimeoutMs);
    ASSERT_NE(main, nullptr);

    Program second = Start(L"SorabuneOpt.exe", kToken);
    ASSERT_TRUE(second) << second.StartFailure();
    DWORD code = 1;
    EXPECT_TRUE(second.WaitExit(kTimeoutMs, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(FindWindowW(kMainClass, kMainTitle), main);

    ASSERT_TRUE(WaitSplashDone(main, kTimeoutMs));
    EXPECT_TRUE(EndThroughExitDialog(main, kTimeoutMs));
    EXPECT_TRUE(first.WaitExit(kTimeoutMs, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(ProgramTest, CompanionStartsTheProgramWhichEndsThroughTheExitDialogAndClosesTheCompanion)
{
    Program launcher = Start(L"Sorabune.exe", L"");
    ASSERT_TRUE(launcher) << launcher.StartFailure();
    DWORD code = 1;
    EXPECT_TRUE(launcher.WaitExit(kTimeoutMs, &code));
    EXPECT_EQ(code, 0u);

    HWND main = WaitForWindow(kMainClass, kMainTitle, kTimeoutMs);
    ASSERT_NE(main, nullptr);
    Program resident = ProcessOfWindow(main);
    ASSERT_TRUE(WaitSplashDone(main, kTimeoutMs));
    HWND companionWindow = FindWindowW(kCompanionClass, kCompanionTitle);
    ASSERT_NE(companionWindow, nullptr);
    Program companion = ProcessOfWindow(companionWindow);
    EXPECT_FALSE(IsWindowVisible(companionWindow));

    HWND dialog = OpenExitDialog(main, kTimeoutMs);
    ASSERT_NE(dialog, nullptr);
    ClickTrayIcon(main, WM_RBUTTONDOWN);
    Sleep(300);
    HWND settings = FindWindowW(kSettingsClass, kDialogTitle);
    ASSERT_NE(settings, nullptr);
    EXPECT_FALSE(IsWindowVisible(settings));
    EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);

    DWORD_PTR result = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &result);
    EXPECT_TRUE(WaitWindowGone(kMainClass, kMainTitle, kTimeoutMs));
    EXPECT_TRUE(WaitWindowGone(kCompanionClass, kCompanionTitle, kTimeoutMs));
    EXPECT_TRUE(resident.WaitExit(kTimeoutMs, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(companion.WaitExit(kTimeoutMs, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(ProgramTest, CompanionWithAnyOtherArgumentEnds)
{
    Program companion = Start(L"Sorabune.exe", L"other");
    ASSERT_TRUE(companion) << companion.StartFailure();
    DWORD code = 1;
    EXPECT_TRUE(companion.WaitExit(kTimeoutMs, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(FindWindowW(kMainClass, kMainTitle), nullptr);
    EXPECT_EQ(FindWindowW(kCompanionClass, kCompanionTitle), nullptr);
}

// Runs on a display of fewer than 24 bits, which tests/e2e/depth16.sh gives it; the suite's own run leaves it out.
TEST_F(ProgramTest, LowColourDisplayIsRefusedWithTheMessageWhateverTheArguments)
{
    WindowDC screen;
    ASSERT_LT(GetDeviceCaps(screen.Get(), BITSPIXEL), 24) << "runs on a 16-bit display: tests/e2e/depth16.sh";
    for (const wchar_t* arguments : {L"Sorabune_START", L""}) {
        Program program = Start(L"SorabuneOpt.exe", arguments);
        ASSERT_TRUE(program) << program.StartFailure();
        HWND box = WaitForVisibleWindow(L"#32770", kDialogTitle, kTimeoutMs);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(Utf8(ChildText(box, L"Static")),
                  "このソフトはWindows2000またはXP\r\nモニター色数True Color(24bit)以上でご使用ください!!");
        EXPECT_EQ(FindWindowW(kMainClass, kMainTitle), nullptr);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        DWORD code = 1;
        EXPECT_TRUE(program.WaitExit(kTimeoutMs, &code));
        EXPECT_EQ(FindWindowW(kMainClass, kMainTitle), nullptr);
    }
}

// A library lying beside a program is loaded by nothing the program does, from its first window or box on:
// the library search is restricted before either appears. The installer is checked in the installation story.
TEST_F(ProgramTest, NoProgramLoadsALibraryLyingBesideIt)
{
    // This test program searches its own folder as Windows does by default, so the library can be found there.
    ASSERT_TRUE(LoadsLibraryBesideIt(GetCurrentProcess(), kPlantedLibrary));

    Program resident = Start(L"SorabuneOpt.exe", kToken);
    ASSERT_TRUE(resident) << resident.StartFailure();
    ASSERT_NE(WaitForWindow(kMainClass, kMainTitle, kTimeoutMs), nullptr);
    EXPECT_FALSE(LoadsLibraryBesideIt(resident.Handle(), kPlantedLibrary)) << "SorabuneOpt.exe";

    Program companion = Start(L"Sorabune.exe", kToken);
    ASSERT_TRUE(companion) << companion.StartFailure();
    ASSERT_NE(WaitForWindow(kCompanionClass, kCompanionTitle, kTimeoutMs), nullptr);
    EXPECT_FALSE(LoadsLibraryBesideIt(companion.Handle(), kPlantedLibrary)) << "Sorabune.exe";

    Program uninstaller = Start(L"Uninst_Sorabune.exe", L"");
    ASSERT_TRUE(uninstaller) << uninstaller.StartFailure();
    HWND confirm = WaitForWindow(L"#32770", L"Sorabune のアンインストール", kTimeoutMs);
    ASSERT_NE(confirm, nullptr);
    EXPECT_FALSE(LoadsLibraryBesideIt(uninstaller.Handle(), kPlantedLibrary)) << "Uninst_Sorabune.exe";
    PostMessageW(confirm, WM_COMMAND, IDNO, 0);
    DWORD code = 1;
    EXPECT_TRUE(uninstaller.WaitExit(kTimeoutMs, &code));
    EXPECT_EQ(code, 0u);
}

// The autostart command as O K stores it, run as Windows runs it at logon (a command line, no program name),
// starts the companion of a folder whose path holds a space, not a program where the path's first word ends.
TEST_F(ProgramTest, TheStoredAutostartCommandStartsTheCompanionFromAFolderWhosePathHoldsASpace)
{
    const std::wstring folder = BinFolder() + L"空舟 自動起動\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    // The last one, started without its token, ends at once and starts nothing.
    const std::wstring copies[][2] = {{L"SorabuneOpt.exe", folder + L"SorabuneOpt.exe"},
                                      {L"Sorabune.exe", folder + L"Sorabune.exe"},
                                      {L"SorabuneOpt.exe", BinFolder() + L"空舟.exe"}};
    for (const auto& copy : copies) {
        ASSERT_TRUE(CopyFileW((BinFolder() + copy[0]).c_str(), copy[1].c_str(), FALSE));
    }
    Program resident = StartIn(folder + L"SorabuneOpt.exe", kToken, folder);
    ASSERT_TRUE(resident) << resident.StartFailure();
    HWND main = WaitForWindow(kMainClass, kMainTitle, kTimeoutMs);
    ASSERT_TRUE(main && WaitSplashDone(main, kTimeoutMs));
    ClickTrayIcon(main, WM_RBUTTONDOWN);
    HWND settings = WaitForVisibleWindow(kSettingsClass, kDialogTitle, kTimeoutMs);
    SendMessageW(GetDlgItem(GetDlgItem(settings, IDC_CHIME_SHEET), IDC_STARTUPONOFF), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(settings, IDC_OKBTN), BM_CLICK, 0, 0);
    wchar_t command[MAX_PATH * 2] = {};
    DWORD bytes = sizeof(command);
    RegGetValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Sorabune", RRF_RT_REG_SZ, nullptr, command, &bytes);
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Sorabune");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Sorabune");
    EXPECT_TRUE(EndThroughExitDialog(main, kTimeoutMs));

    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    CloseHandle(pi.hThread);
    Program companion(pi.hProcess);
    main = WaitForWindow(kMainClass, kMainTitle, kTimeoutMs);
    ASSERT_NE(main, nullptr) << Utf8(command);
    Program started = ProcessOfWindow(main); // held: a Program ends its process when it goes
    ASSERT_TRUE(WaitSplashDone(main, kTimeoutMs));
    EXPECT_TRUE(EndThroughExitDialog(main, kTimeoutMs));
    EXPECT_TRUE(started.WaitExit(kTimeoutMs));
    for (const auto& copy : copies) {
        DeleteFileW(copy[1].c_str());
    }
    RemoveDirectoryW(folder.c_str());
}

// The wallpaper changer in the real SorabuneOpt.exe: stored settings and a stored list change the desktop's
// wallpaper values at start and on the interval schedule; a dropped folder is walked by the manual change. The settings
// key and the desktop values of the prefix are saved before and restored after every test.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "support/ProgramDriver.h"
#include "settings/IniStore.h"
#include "settings/SettingsLayout.h"
#include "support/TestSupport.h"
#include "settings/SettingsIds.h"
#include "wallpaper/CraftedPng.h"
#include "wallpaper/DesktopValues.h"
#include "wallpaper/Wallpaper.h"
#include "wallpaper/WallpaperIds.h"
#include "wallpaper/WallpaperTestSupport.h"

using namespace e2e;

namespace {
constexpr DWORD kTimeoutMs = 15000;
constexpr DWORD kIntervalDueMs = 12000;
constexpr wchar_t kToken[] = L"Sorabune_START";
constexpr wchar_t kSettingsKey[] = L"Software\\Sorabune";
constexpr wchar_t kBackupKey[] = L"Software\\SorabuneWallpaperE2EBackup";
// KabeChangeTime items.
constexpr int kAtStart = 1;
constexpr int kEveryTenSeconds = 10;

class WallpaperProgramTest : public testing::Test {
protected:
    void SetUp() override
    {
        KillLeftovers();
        desktopAside_.emplace();
        settingsAside_.emplace(kSettingsKey, kBackupKey);
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        // The installer's starting values: a valid stored state, so no error box holds the start up.
        IniStore store(HKEY_CURRENT_USER, kSettingsStartPath);
        WriteInstallerDefaults(store, folder.Path());
        a = folder.Bitmap(L"壁紙A.bmp", 64, 48);
        b = folder.Bitmap(L"壁紙B.bmp", 64, 48);
    }
    void TearDown() override
    {
        KillLeftovers();
        settingsAside_.reset();
        desktopAside_.reset();
    }

    void StoreWallpaperSettings(int changeTime, int style)
    {
        IniStore store(HKEY_CURRENT_USER, kSettingsStartPath);
        store.WriteInteger(kWallpaperSection, L"KabeChangeTime", changeTime);
        store.WriteInteger(kWallpaperSection, L"KabeJyunn", 0);
        store.WriteInteger(kWallpaperSection, L"KabeStyle", style);
        store.WriteInteger(kWallpaperSection, L"KabeListCount", 2);
        store.WriteString(kWallpaperSection, L"KabeBmp1", a);
        store.WriteString(kWallpaperSection, L"KabeBmp2", b);
    }

    static bool WaitWallpaper(const std::wstring& path, DWORD timeoutMs)
    {
        return WaitUntil([&] { return DesktopValue(L"Wallpaper") == path; }, timeoutMs);
    }

    ScratchFolder folder{L"SorabuneWallpaperE2E"};
    std::wstring a, b;

private:
    std::optional<DesktopValuesAside> desktopAside_;
    std::optional<UserKeyAside> settingsAside_;
};
} // namespace

TEST_F(WallpaperProgramTest, AtStartTheNextWallpaperOfTheStoredListIsApplied)
{
    // Fill, one of the styles after the first three: the stored position reaches the desktop unchanged.
    StoreWallpaperSettings(kAtStart, 4);
    SetDesktopValue(L"Wallpaper", a);
    SetDesktopValue(L"WallpaperStyle", L"0");

    Program program = Start(L"SorabuneOpt.exe", kToken);
    ASSERT_TRUE(program) << program.StartFailure();
    HWND main = WaitForWindow(kMainClass, kMainTitle, kTimeoutMs);
    ASSERT_NE(main, nullptr);
    // The change happens while the settings dialog is created, before the splash fades in.
    EXPECT_TRUE(WaitWallpaper(b, kTimeoutMs));
    EXPECT_EQ(DesktopValue(L"WallpaperStyle"), std::wstring(L"10"));
    EXPECT_EQ(DesktopValue(L"TileWallpaper"), std::wstring(L"0"));
    EXPECT_EQ(DesktopValue(L"WallpaperOriginX"), std::wstring(L"0"));
    EXPECT_EQ(DesktopValue(L"WallpaperOriginY"), std::wstring(L"0"));

    ASSERT_TRUE(WaitSplashDone(main, kTimeoutMs));
    EXPECT_TRUE(EndThroughExitDialog(main, kTimeoutMs));
    DWORD code = 1;
    EXPECT_TRUE(program.WaitExit(kTimeoutMs, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(WallpaperProgramTest, WithoutAStartScheduleTheDesktopKeepsItsWallpaper)
{
    StoreWallpaperSettings(0, 2);
    SetDesktopValue(L"Wallpaper", a);
    Program program = Start(L"SorabuneOpt.exe", kToken);
    ASSERT_TRUE(program) << program.StartFailure();
    HWND main = WaitForWindow(kMainClass, kMainTitle, kTimeoutMs);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitSplashDone(main, kTimeoutMs));
    EXPECT_EQ(DesktopValue(L"Wallpaper"), a);
    EXPECT_TRUE(EndThroughExitDialog(main, kTimeoutMs));
}

// The interval schedules run on the resident program's half-second tick.
TEST_F(WallpaperProgramTest, EveryTenSecondsTheWallpaperMovesOnThroughTheList)
{
    StoreWallpaperSettings(kEveryTenSeconds, 1);
    SetDesktopValue(L"Wallpaper", a);
    Program program = Start(L"SorabuneOpt.exe", kToken);
    ASSERT_TRUE(program) << program.StartFailure();
    HWND main = WaitForWindow(kMainClass, kMainTitle, kTimeoutMs);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(DesktopValue(L"Wallpaper"), a) << "no change at start";
    EXPECT_TRUE(WaitWallpaper(b, kIntervalDueMs));
    EXPECT_EQ(DesktopValue(L"TileWallpaper"), std::wstring(L"1"));
    EXPECT_TRUE(WaitWallpaper(a, kIntervalDueMs)) << "and again, wrapping to the first entry";
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, kTimeoutMs)) << "the splash is long over";
    EXPECT_TRUE(EndThroughExitDialog(main, kTimeoutMs));
}

namespace {
// A drop as the shell leaves it in the target's process: a DROPFILES block with wide names, there.
bool DropInto(HWND target, const std::vector<std::wstring>& paths)
{
    std::vector<unsigned char> block(sizeof(DROPFILES));
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    for (const std::wstring& path : paths) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(path.c_str());
        block.insert(block.end(), bytes, bytes + (path.size() + 1) * sizeof(wchar_t));
    }
    block.insert(block.end(), sizeof(wchar_t), 0);
    DWORD processId = 0;
    GetWindowThreadProcessId(target, &processId);
    KernelHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId));
    void* remote = process ? VirtualAllocEx(process.Get(), nullptr, block.size(), MEM_COMMIT, PAGE_READWRITE) : nullptr;
    return remote && WriteProcessMemory(process.Get(), remote, block.data(), block.size(), nullptr) &&
           PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

// The width of the program's own wallpaper bitmap, 0 when there is none.
unsigned WallpaperWidth()
{
    const std::vector<unsigned char> bytes = ReadBytes(ProgramWallpaperBitmap());
    return bytes.size() > 22 ? bytes[18] | bytes[19] << 8 : 0;
}
} // namespace

TEST_F(WallpaperProgramTest, ADroppedFolderIsOneEntryWhosePicturesTheButtonShowsInTurnWritingNothingIntoIt)
{
    const std::wstring photos = folder / L"photos";
    CreateDirectoryW(photos.c_str(), nullptr);
    folder.Bitmap(L"photos\\1.bmp", 61, 48);
    ASSERT_TRUE(WriteBytes(photos + L"\\2.png", GreyPng(62, 48)));
    folder.Bitmap(L"photos\\3.bmp", 63, 48);
    const std::vector<std::wstring> before = {L"1.bmp", L"2.png", L"3.bmp"};
    DeleteFileW(ProgramWallpaperBitmap().c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Sorabune\\KabeFolder");

    Program program = Start(L"SorabuneOpt.exe", kToken);
    ASSERT_TRUE(program) << program.StartFailure();
    HWND main = WaitForWindow(kMainClass, kMainTitle, kTimeoutMs);
    ASSERT_TRUE(main && WaitSplashDone(main, kTimeoutMs));
    ClickTrayIcon(main, WM_RBUTTONDOWN);
    HWND settings = WaitForVisibleWindow(kSettingsClass, kDialogTitle, kTimeoutMs);
    ASSERT_NE(settings, nullptr);
    HWND sheet = GetDlgItem(settings, IDC_WALLPAPER_SHEET);
    HWND list = GetDlgItem(sheet, IDC_WALLPAPER_LIST);
    ASSERT_TRUE(DropInto(list, {photos}));
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) == 1; }, kTimeoutMs));

    SendMessageW(list, LB_SETSEL, TRUE, 0);
    SendMessageW(list, LB_SETCARETINDEX, 0, FALSE);
    std::vector<unsigned> shown;
    for (int change = 0; change < 3; ++change) {
        const unsigned before = WallpaperWidth();
        SendMessageW(GetDlgItem(sheet, IDC_WALLPAPER_CHANGE_NOW), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return WallpaperWidth() != before; }, kTimeoutMs)) << change;
        shown.push_back(WallpaperWidth());
        EXPECT_EQ(DesktopValue(L"Wallpaper"), ProgramWallpaperBitmap());
    }
    EXPECT_EQ(shown, (std::vector<unsigned>{61, 62, 63})) << "one after another, in Explorer's order";
    SendMessageW(GetDlgItem(settings, IDC_OKBTN), BM_CLICK, 0, 0);
    IniStore store(HKEY_CURRENT_USER, kSettingsStartPath);
    EXPECT_EQ(store.ReadString(kWallpaperSection, L"KabeListCount", L""), L"1");
    EXPECT_EQ(store.ReadString(kWallpaperSection, L"KabeBmp1", L""), photos + L"\\");
    EXPECT_TRUE(EndThroughExitDialog(main, kTimeoutMs));
    EXPECT_TRUE(program.WaitExit(kTimeoutMs));

    std::vector<std::wstring> after;
    WIN32_FIND_DATAW data = {};
    HANDLE find = FindFirstFileW((photos + L"\\*").c_str(), &data);
    do {
        if (data.cFileName[0] != L'.') {
            after.push_back(data.cFileName);
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before) << "nothing written into the folder";
    DeleteFileW(ProgramWallpaperBitmap().c_str());
}

// The wallpaper changer in the real SorabuneOpt.exe: stored settings and a stored list change the desktop's
// wallpaper values at start and on the interval schedule. The settings key and the desktop values of the
// prefix are saved before and restored after every test.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "support/ProgramDriver.h"
#include "settings/IniStore.h"
#include "settings/SettingsLayout.h"
#include "support/TestSupport.h"
#include "wallpaper/DesktopValues.h"
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

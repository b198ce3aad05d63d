// The wallpaper changer in the real SorabuneOpt.exe: stored settings and a stored list change the desktop's
// wallpaper values at start and on the interval schedule. The settings key and the desktop values of the
// prefix are saved before and restored after every test.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <optional>
#include <string>

#include "e2e/ProgramDriver.h"
#include "settings/IniStore.h"
#include "settings/SettingsLayout.h"
#include "support/TestSupport.h"
#include "wallpaper/WallpaperTestSupport.h"

using namespace e2e;

namespace {
constexpr DWORD kTimeoutMs = 15000;
constexpr DWORD kIntervalDueMs = 12000;
constexpr wchar_t kToken[] = L"Sorabune_START";
constexpr wchar_t kSettingsKey[] = L"Software\\Sorabune";
constexpr wchar_t kBackupKey[] = L"Software\\SorabuneWallpaperE2EBackup";
constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr const wchar_t* kDesktopValues[] = {L"Wallpaper", L"TileWallpaper", L"WallpaperStyle", L"WallpaperOriginX",
                                             L"WallpaperOriginY"};
// KabeChangeTime items.
constexpr int kAtStart = 1;
constexpr int kEveryTenSeconds = 10;

std::optional<std::wstring> DesktopValue(const wchar_t* name)
{
    wchar_t buffer[2048] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(buffer);
}

void SetDesktopValue(const wchar_t* name, const std::optional<std::wstring>& value)
{
    RegKey key;
    RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr);
    if (value) {
        RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                       static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
    } else {
        RegDeleteValueW(key.Get(), name);
    }
}

bool CopyKey(const wchar_t* from, const wchar_t* to)
{
    RegKey source, target;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, from, 0, KEY_READ, source.Put()) != ERROR_SUCCESS) {
        return false;
    }
    RegCreateKeyExW(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, target.Put(), nullptr);
    return RegCopyTreeW(source.Get(), nullptr, target.Get()) == ERROR_SUCCESS;
}

class WallpaperProgramTest : public testing::Test {
protected:
    void SetUp() override
    {
        KillLeftovers();
        for (const wchar_t* name : kDesktopValues) {
            desktop_[name] = DesktopValue(name);
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, kBackupKey);
        hadSettings_ = CopyKey(kSettingsKey, kBackupKey);
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
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        if (hadSettings_) {
            CopyKey(kBackupKey, kSettingsKey);
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, kBackupKey);
        for (const auto& [name, value] : desktop_) {
            SetDesktopValue(name.c_str(), value);
        }
    }

    void StoreWallpaperSettings(int changeTime, int style)
    {
        IniStore store(HKEY_CURRENT_USER, kSettingsStartPath);
        store.WriteInteger(kKabeSection, L"KabeChangeTime", changeTime);
        store.WriteInteger(kKabeSection, L"KabeJyunn", 0);
        store.WriteInteger(kKabeSection, L"KabeStyle", style);
        store.WriteInteger(kKabeSection, L"KabeListCount", 2);
        store.WriteString(kKabeSection, L"KabeBmp1", a);
        store.WriteString(kKabeSection, L"KabeBmp2", b);
    }

    static bool WaitWallpaper(const std::wstring& path, DWORD timeoutMs)
    {
        return WaitUntil([&] { return DesktopValue(L"Wallpaper") == path; }, timeoutMs);
    }

    ScratchFolder folder{L"SorabuneWallpaperE2E"};
    std::wstring a, b;

private:
    std::map<std::wstring, std::optional<std::wstring>> desktop_;
    bool hadSettings_ = false;
};
} // namespace

TEST_F(WallpaperProgramTest, AtStartTheNextWallpaperOfTheStoredListIsApplied)
{
    StoreWallpaperSettings(kAtStart, 2);
    SetDesktopValue(L"Wallpaper", a);
    SetDesktopValue(L"WallpaperStyle", L"0");

    Program program = Start(L"SorabuneOpt.exe", kToken);
    HWND main = WaitForWindow(kMainClass, kMainTitle, kTimeoutMs);
    ASSERT_NE(main, nullptr);
    // The change happens while the settings dialog is created, before the splash is shown.
    EXPECT_TRUE(WaitWallpaper(b, kTimeoutMs));
    EXPECT_EQ(DesktopValue(L"WallpaperStyle"), std::wstring(L"2"));
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
    HWND main = WaitForWindow(kMainClass, kMainTitle, kTimeoutMs);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(DesktopValue(L"Wallpaper"), a) << "no change at start";
    EXPECT_TRUE(WaitWallpaper(b, kIntervalDueMs));
    EXPECT_EQ(DesktopValue(L"TileWallpaper"), std::wstring(L"1"));
    EXPECT_TRUE(WaitWallpaper(a, kIntervalDueMs)) << "and again, wrapping to the first entry";
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, kTimeoutMs)) << "the splash is long over";
    EXPECT_TRUE(EndThroughExitDialog(main, kTimeoutMs));
}

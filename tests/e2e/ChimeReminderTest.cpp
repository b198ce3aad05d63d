// The chimes and reminders of the real SorabuneOpt.exe: the eight WAVE resources in the executable, a reminder
// armed a few seconds ahead through the stored settings, and the preview of an MP3 file from the basic page.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "support/ProgramDriver.h"
#include "scheduler/SchedulerIds.h"
#include "settings/SettingsIds.h"
#include "scheduler/ReminderWindow.h"
#include "settings/IniStore.h"
#include "settings/SettingsLayout.h"
#include "base/Handles.h"
#include "support/TestSupport.h"

using namespace e2e;

namespace {
constexpr DWORD kTimeoutMs = 20000;
constexpr wchar_t kToken[] = L"Sorabune_START";
constexpr wchar_t kSettingsKey[] = L"Software\\Sorabune";
constexpr ULONGLONG kFileTimePerSecond = 10000000;
constexpr DWORD kArmAheadSeconds = 10;

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { FreeLibrary(h); }
};
using Module = UniqueHandle<ModuleTraits>;

std::uint32_t U32(const BYTE* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t U16(const BYTE* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void Store(const std::wstring& section, const std::wstring& name, const std::wstring& text)
{
    IniStore(HKEY_CURRENT_USER, kSettingsStartPath).WriteString(section, name, text);
}

void StoreTimerMoment(int timer, const SYSTEMTIME& t)
{
    const std::wstring stem = L"OsiraseTimer" + std::to_wstring(timer);
    Store(kReminderSection, stem + L"Year", std::to_wstring(t.wYear));
    Store(kReminderSection, stem + L"Month", std::to_wstring(t.wMonth));
    Store(kReminderSection, stem + L"Day", std::to_wstring(t.wDay));
    Store(kReminderSection, stem + L"Hour", std::to_wstring(t.wHour));
    Store(kReminderSection, stem + L"Min", std::to_wstring(t.wMinute));
    Store(kReminderSection, stem + L"Sec", std::to_wstring(t.wSecond));
}

SYSTEMTIME SecondsFromNow(DWORD seconds)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    now.wMilliseconds = 0;
    FILETIME ft;
    SystemTimeToFileTime(&now, &ft);
    ULARGE_INTEGER value = {{ft.dwLowDateTime, ft.dwHighDateTime}};
    value.QuadPart += seconds * kFileTimePerSecond;
    ft.dwLowDateTime = value.LowPart;
    ft.dwHighDateTime = value.HighPart;
    SYSTEMTIME later;
    FileTimeToSystemTime(&ft, &later);
    return later;
}

SYSTEMTIME OneSecondLater(const SYSTEMTIME& t)
{
    FILETIME ft;
    SystemTimeToFileTime(&t, &ft);
    ULARGE_INTEGER value = {{ft.dwLowDateTime, ft.dwHighDateTime}};
    value.QuadPart += kFileTimePerSecond;
    ft.dwLowDateTime = value.LowPart;
    ft.dwHighDateTime = value.HighPart;
    SYSTEMTIME later;
    FileTimeToSystemTime(&ft, &later);
    return later;
}

// The text of a control of another process: GetWindowText would give only the window's caption there, which
// an edit control does not keep.
std::wstring ControlText(HWND control)
{
    wchar_t text[256] = {};
    SendMessageW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

HWND SheetControl(HWND dialog, int sheetId, int id)
{
    return GetDlgItem(GetDlgItem(dialog, sheetId), id);
}

class ChimeReminderTest : public testing::Test {
protected:
    void SetUp() override
    {
        KillLeftovers();
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        // Valid dates for both timers, so that the load has nothing to complain about.
        SYSTEMTIME today;
        GetLocalTime(&today);
        StoreTimerMoment(1, today);
        StoreTimerMoment(2, today);
    }
    void TearDown() override
    {
        KillLeftovers();
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    }
};
} // namespace

TEST(ChimeResourceTest, EightChimesOfTheStatedFormatAndLengthsInTheProgram)
{
    const std::wstring exe = BinFolder() + L"SorabuneOpt.exe";
    Module module(LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(static_cast<bool>(module));
    const double seconds[] = {3.18, 3.00, 3.48, 4.25, 3.06, 2.88, 1.41, 0.58};
    for (int i = 0; i < 8; ++i) {
        const std::wstring name = L"TIMER" + std::to_wstring(i + 1) + L"A";
        SCOPED_TRACE(Utf8(name));
        HRSRC info = FindResourceW(module.Get(), name.c_str(), L"WAVE");
        ASSERT_NE(info, nullptr);
        const DWORD size = SizeofResource(module.Get(), info);
        const auto* p = static_cast<const BYTE*>(LockResource(LoadResource(module.Get(), info)));
        ASSERT_NE(p, nullptr);
        ASSERT_GE(size, 44u);
        ASSERT_EQ(std::memcmp(p, "RIFF", 4), 0);
        EXPECT_EQ(U32(p + 4), size - 8);
        ASSERT_EQ(std::memcmp(p + 8, "WAVEfmt ", 8), 0);
        ASSERT_EQ(U32(p + 16), 16u);
        EXPECT_EQ(U16(p + 20), 1) << "PCM";
        EXPECT_EQ(U16(p + 22), 1) << "one channel";
        EXPECT_EQ(U32(p + 24), 22050u);
        EXPECT_EQ(U32(p + 28), 22050u) << "bytes per second";
        EXPECT_EQ(U16(p + 32), 1) << "block align";
        EXPECT_EQ(U16(p + 34), 8) << "bits per sample";
        ASSERT_EQ(std::memcmp(p + 36, "data", 4), 0);
        const std::uint32_t samples = U32(p + 40);
        ASSERT_LE(44 + samples, size);
        // The stated length to the sample: the length times the rate, halves rounded up.
        EXPECT_EQ(samples, static_cast<std::uint32_t>(seconds[i] * 22050 + 0.5 + 1e-6));

        const BYTE* data = p + 44;
        const auto [low, high] = std::minmax_element(data, data + samples);
        EXPECT_GT(*low, 0) << "no clipping";
        EXPECT_LT(*high, 255) << "no clipping";
        EXPECT_GE(*high - 128, 64) << "clearly audible";
        double sum = 0;
        for (std::uint32_t s = 0; s < samples; ++s) {
            sum += data[s] - 128.0;
        }
        EXPECT_LT(std::abs(sum / samples), 0.5) << "no DC offset";
        EXPECT_EQ(data[0], 128) << "starts from silence";
        for (std::uint32_t s = samples - 20; s < samples; ++s) {
            EXPECT_NEAR(data[s], 128, 1) << "ends in silence, no click";
        }
    }
}

TEST_F(ChimeReminderTest, AReminderArmedInTheStoredSettingsShowsItsWindowAtItsSecond)
{
    const SYSTEMTIME when = SecondsFromNow(kArmAheadSeconds);
    StoreTimerMoment(1, when);
    Store(kReminderSection, L"OsiraseTimer1YoyakuHouhou", L"0");
    Store(kReminderSection, L"OsiraseTimer1OsiraseHouhou", L"2");
    Store(kReminderSection, L"OsiraseTimer1Jihou", L"2");
    Store(kReminderSection, L"OsiraseTimer1TimerOnOff", L"1");
    Store(kReminderSection, L"OsiraseTimer1Memo", L"e2e のお知らせ");

    Program resident = Start(L"SorabuneOpt.exe", kToken);
    ASSERT_TRUE(resident) << resident.StartFailure();
    HWND main = WaitForWindow(kMainClass, kMainTitle, kTimeoutMs);
    ASSERT_NE(main, nullptr);
    HWND window = WaitForVisibleWindow(L"TMessagesForm1", L"MessagesForm1", kArmAheadSeconds * 1000 + kTimeoutMs);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(FindWindowW(L"TMessagesForm2", L"MessagesForm2")));

    // The sentence names the moment (the window reads the clock right after the tick, within that second).
    const std::wstring label = WindowText(GetDlgItem(window, IDC_MESSAGELABEL));
    EXPECT_TRUE(label == LocalReminderSentence(when, 1) || label == LocalReminderSentence(OneSecondLater(when), 1))
        << Utf8(label) << " / expected " << Utf8(LocalReminderSentence(when, 1));
    EXPECT_EQ(Utf8(ControlText(GetDlgItem(window, IDC_MESSAGEMEMO))), "e2e のお知らせ");
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // The once-only reminder is off now, on the page, though not yet stored.
    HWND settings = FindWindowW(kSettingsClass, kDialogTitle);
    HWND onOff = SheetControl(settings, IDC_REMINDER_SHEET, IDC_REMINDER1_ON_OFF);
    EXPECT_EQ(SendMessageW(onOff, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(Utf8(WindowText(onOff)), "タイマーOFF");

    DWORD_PTR result = 0;
    SendMessageTimeoutW(GetDlgItem(window, IDC_MESSAGEBTN), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &result);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, kTimeoutMs));

    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, kTimeoutMs)) << "the splash is over";
    EXPECT_TRUE(EndThroughExitDialog(main, kTimeoutMs));
    EXPECT_TRUE(resident.WaitExit(kTimeoutMs));
}

TEST_F(ChimeReminderTest, PreviewOfAnMp3FileDisablesThePreviewButtonUntilItsEndNotice)
{
    const std::wstring mp3 = BinFolder() + L"testdata\\tone.mp3";
    ASSERT_NE(GetFileAttributesW(mp3.c_str()), INVALID_FILE_ATTRIBUTES)
        << "no MP3 test file: the build encodes it with lame (scripts/install-packages)";
    Store(kMainSection, L"TimerWaveCount", L"9");
    Store(kMainSection, L"TimerWave9", mp3);
    Store(kMainSection, L"TimerWave", L"8");

    Program resident = Start(L"SorabuneOpt.exe", kToken);
    ASSERT_TRUE(resident) << resident.StartFailure();
    HWND main = WaitForWindow(kMainClass, kMainTitle, kTimeoutMs);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitSplashDone(main, kTimeoutMs));
    ClickTrayIcon(main, WM_RBUTTONDOWN);
    HWND settings = WaitForVisibleWindow(kSettingsClass, kDialogTitle, kTimeoutMs);
    ASSERT_NE(settings, nullptr);
    HWND play = SheetControl(settings, IDC_CHIME_SHEET, IDC_TIMERWAVEPLAY);
    HWND stop = SheetControl(settings, IDC_CHIME_SHEET, IDC_TIMERWAVESTOP);
    ASSERT_TRUE(IsWindowEnabled(play));
    ASSERT_FALSE(IsWindowEnabled(stop));

    DWORD_PTR result = 0;
    ASSERT_TRUE(SendMessageTimeoutW(play, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &result));
    EXPECT_FALSE(IsWindowEnabled(play)) << "a user file is playing";
    EXPECT_TRUE(IsWindowEnabled(stop));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(play) && !IsWindowEnabled(stop); }, kTimeoutMs))
        << "the end notice came";

    SendMessageTimeoutW(GetDlgItem(settings, IDC_OKBTN), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &result);
    EXPECT_TRUE(EndThroughExitDialog(main, kTimeoutMs));
    EXPECT_TRUE(resident.WaitExit(kTimeoutMs));
}

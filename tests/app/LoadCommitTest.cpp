// The settings dialog's load and commit against the real registry of the Wine prefix: HKCU\Software\Sorabune
// is cleared around every test, and sound and wallpaper entries are real temporary files.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scheduler/SchedulerIds.h"
#include "settings/SettingsIds.h"
#include "wallpaper/WallpaperIds.h"
#include "settings/IniStore.h"
#include "settings/LoadCommit.h"
#include "wallpaper/Wallpaper.h"
#include "wallpaper/WallpaperPage.h"
#include "settings/SettingsDialog.h"
#include "app/MakePages.h"
#include "scheduler/ReminderPage.h"
#include "settings/SettingsLayout.h"
#include "support/DialogUi.h"
#include "support/Registry.h"
#include "support/ScratchFolder.h"
#include "support/TestSupport.h"

namespace {
const wchar_t kSettingsKey[] = L"Software\\Sorabune";
const std::string kRunKeyError = "キー Software\\Microsoft\\Windows\\CurrentVersion\\Run の作成に失敗しました";

LSTATUS DenyMachineWrites(HKEY root, const std::wstring& path, bool create, REGSAM access, HKEY* result)
{
    if (root == HKEY_LOCAL_MACHINE && create) {
        return ERROR_ACCESS_DENIED;
    }
    return OpenRegistryKey(root, path, create, access, result);
}

LSTATUS DenyMachine(HKEY root, const std::wstring& path, bool create, REGSAM access, HKEY* result)
{
    if (root == HKEY_LOCAL_MACHINE) {
        return ERROR_ACCESS_DENIED;
    }
    return OpenRegistryKey(root, path, create, access, result);
}

std::optional<std::wstring> RunEntry()
{
    return RegistryText(HKEY_LOCAL_MACHINE, kAutostartSection, kAutostartValue);
}

class LoadCommitTest : public testing::Test {
protected:
    void SetUp() override
    {
        ClearRegistry();
        CapturedErrors().clear();
    }
    void TearDown() override { ClearRegistry(); }

    static void ClearRegistry()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        DeleteRegistryValue(HKEY_LOCAL_MACHINE, kAutostartSection, kAutostartValue);
    }

    // A real file in the scratch folder ("日本語" in its name keeps the paths honest).
    std::wstring File(const std::wstring& name)
    {
        std::wstring path = folder_ / name;
        FileHandle file(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        EXPECT_TRUE(static_cast<bool>(file));
        return path;
    }
    std::wstring MissingFile(const std::wstring& name) { return folder_ / name; }

    static void Set(const std::wstring& section, const std::wstring& name, const std::wstring& text)
    {
        IniStore(HKEY_CURRENT_USER, kSettingsStartPath).WriteString(section, name, text);
    }
    static void SetDword(const std::wstring& section, const std::wstring& name)
    {
        const DWORD one = 1;
        ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, std::wstring(kSettingsStartPath) + L"\\" + section, name,
                                   REG_DWORD, &one, sizeof(one)),
                  ERROR_SUCCESS);
    }
    // The stored text, checked to be REG_SZ; nothing when absent.
    static std::optional<std::wstring> Stored(const std::wstring& section, const std::wstring& name)
    {
        return RegistryText(HKEY_CURRENT_USER, std::wstring(kSettingsStartPath) + L"\\" + section, name);
    }
    static std::wstring Text(const wchar_t* name) { return Stored(Setting(name).section, name).value_or(L"<absent>"); }

    // These dialogs play nothing; one player serves them all.
    static ChimePlayer& Chimes()
    {
        static ChimePlayer player;
        return player;
    }
    // The wallpaper change at the end of the load is counted, not made.
    PageServices Services()
    {
        PageServices services;
        services.wallpaper.startupChange = [this](SettingsDialog&, const SystemParametersInfoFn&) {
            ++startupWallpaperChanges;
        };
        services.wallpaper.spanOffered = spanOffered;
        return services;
    }
    std::unique_ptr<SettingsDialog> Load() { return Made(true); }
    std::unique_ptr<SettingsDialog> Design() { return Made(false); }
    // The dialogs reach the registry through registryAccess as it is at each call.
    std::unique_ptr<SettingsDialog> Made(bool load)
    {
        auto dialog = std::make_unique<SettingsDialog>(
            TestErrors(), TestLoop(), MakeSettingsPages(Chimes(), MakeReminderPage(), Services()),
            [this](HKEY root, const std::wstring& path, bool create, REGSAM access, HKEY* result) {
                return registryAccess(root, path, create, access, result);
            });
        EXPECT_TRUE(dialog->Create(nullptr, load));
        return dialog;
    }
    // O K as the user presses it, so that errors reach the standard error box.
    static void PressOk(SettingsDialog& dialog)
    {
        SendMessageW(dialog.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_OKBTN, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Ui(dialog).Control(IDC_OKBTN)));
    }
    static WallpaperStyle StyleInForce(SettingsDialog& dialog)
    {
        return static_cast<WallpaperPage&>(dialog.Page(kWallpaperPageIndex)).StyleInForce();
    }
    static std::vector<std::string> Errors()
    {
        std::vector<std::string> errors;
        for (const auto& e : CapturedErrors()) {
            errors.push_back(Utf8(e));
        }
        return errors;
    }
    static void InstallDefaults()
    {
        IniStore store(HKEY_CURRENT_USER, kSettingsStartPath);
        WriteInstallerDefaults(store, L"C:\\Sorabune");
    }

    // A stored text for every name of the layout, each a value its control can show and, but for the flags,
    // unlike its default; flip inverts every flag so that both values of each are carried through.
    std::map<std::wstring, std::wstring> EveryStoredValue(bool flip)
    {
        std::map<std::wstring, std::wstring> texts = {{L"Path", L"C:\\Sorabune"},
                                                      {L"TimerWaveCount", L"10"},
                                                      {L"TimerWave9", File(L"時報A.wav")},
                                                      {L"TimerWave10", File(L"chime b.mp3")},
                                                      {L"TimerWave", L"9"},
                                                      {L"TimerWaveOnOff", L"2"},
                                                      {L"KabeChangeTime", L"10"},
                                                      {L"KabeJyunn", L"1"},
                                                      {L"KabeStyle", L"3"},
                                                      {L"KabeListCount", L"3"}};
        for (int n = 1; n <= 3; ++n) {
            texts[L"KabeBmp" + std::to_wstring(n)] = File(L"壁紙" + std::to_wstring(n) + L".bmp");
        }
        const std::pair<const wchar_t*, const wchar_t*> timerTexts[] = {
            {L"YoyakuHouhou", L"2"}, {L"OsiraseHouhou", L"2"}, {L"Jihou", L"9"}, {L"Year", L"2024"},
            {L"Month", L"2"},        {L"Day", L"29"},          {L"Hour", L"23"}, {L"Min", L"59"},
            {L"Sec", L"58"},         {L"Memo", L"会議 15:00"}};
        const std::pair<const wchar_t*, const wchar_t*> timer2Texts[] = {
            {L"YoyakuHouhou", L"-1"}, {L"OsiraseHouhou", L"1"}, {L"Jihou", L"8"}, {L"Year", L"2031"},
            {L"Month", L"12"},        {L"Day", L"31"},          {L"Hour", L"7"},  {L"Min", L"5"},
            {L"Sec", L"9"},           {L"Memo", L"ゴミ出し"}};
        for (const auto& [stem, text] : timerTexts) {
            texts[TimerValueName(1, stem)] = text;
        }
        for (const auto& [stem, text] : timer2Texts) {
            texts[TimerValueName(2, stem)] = text;
        }
        int flagNumber = 0;
        for (const SettingDef& def : SettingsLayout()) {
            if (def.kind == ValueKind::Flag) {
                // A mix that differs from the defaults for most flags and is not the same for both timers.
                texts[def.name] = ((flagNumber++ % 3) != 0) != flip ? L"1" : L"0";
            }
        }
        return texts;
    }

    // Every value of the three sections, by name.
    static std::map<std::wstring, std::wstring> StoredValues()
    {
        std::map<std::wstring, std::wstring> values;
        IniStore store(HKEY_CURRENT_USER, kSettingsStartPath);
        for (const wchar_t* section : {kMainSection, kReminderSection, kWallpaperSection}) {
            for (const StoredValue& value : store.Values(section)) {
                values[value.name] = value.text;
            }
        }
        return values;
    }

    // The registry as the tests' dialogs reach it; a test puts in a refusal at the moment it wants one.
    RegistryKeyOpener registryAccess = OpenRegistryKey;
    int startupWallpaperChanges = 0;
    bool spanOffered = true;
    ScratchFolder folder_{L"SorabuneLoadCommitTest"};
};
} // namespace

// Every stored value goes into its control at the load and comes back from it at the commit, unchanged; the commit
// writes nothing else, and leaves the installation folder, which no page shows, alone.
TEST_F(LoadCommitTest, EveryStoredValueSurvivesLoadAndCommit)
{
    for (bool flip : {false, true}) {
        SCOPED_TRACE(flip ? "flags inverted" : "flags as set");
        ClearRegistry();
        std::map<std::wstring, std::wstring> texts = EveryStoredValue(flip);
        for (const auto& [name, text] : texts) {
            const bool chimeEntry = name == L"TimerWave9" || name == L"TimerWave10";
            const bool wallpaperEntry = name.starts_with(L"KabeBmp");
            Set(chimeEntry ? kMainSection : wallpaperEntry ? kWallpaperSection : Setting(name).section, name, text);
        }
        auto dialog = Load();
        EXPECT_TRUE(Errors().empty());
        ClearRegistry();
        ShowWindow(dialog->Hwnd(), SW_SHOW);
        PressOk(*dialog);
        EXPECT_TRUE(Errors().empty());
        EXPECT_FALSE(dialog->IsVisible());
        texts.erase(L"Path");
        EXPECT_EQ(StoredValues(), texts);
        EXPECT_EQ(StyleInForce(*dialog), WallpaperStyle::Fit);
        EXPECT_EQ(startupWallpaperChanges, 0);
    }
}

TEST_F(LoadCommitTest, EmptyKeyLoadsDefaultsReportsTheDateOnceAndStillFinishesTheLoad)
{
    Set(kWallpaperSection, L"KabeChangeTime", L"1");
    auto dialog = Load();
    EXPECT_EQ(Errors(), std::vector<std::string>{"Invalid argument to date encode"});

    SYSTEMTIME today = {};
    GetLocalTime(&today);
    for (int timer = 1; timer <= kReminderTimerCount; ++timer) {
        SYSTEMTIME date = Ui(*dialog).DateTime(ReminderPage::Id(timer, IDC_REMINDER1_DATE - IDC_REMINDER1_GROUP));
        EXPECT_EQ(date.wYear, today.wYear);
        EXPECT_EQ(date.wMonth, today.wMonth);
        SYSTEMTIME time = Ui(*dialog).DateTime(ReminderPage::Id(timer, IDC_REMINDER1_TIME - IDC_REMINDER1_GROUP));
        EXPECT_EQ(time.wHour, 0);
        EXPECT_EQ(time.wMinute, 0);
        EXPECT_EQ(time.wSecond, 0);
    }
    // Steps after the failed conversion ran: the style of item 0 and the start-up change.
    EXPECT_EQ(StyleInForce(*dialog), WallpaperStyle::Centre);
    EXPECT_EQ(startupWallpaperChanges, 1);

    // What the load put into the controls is each value's default, as the commit shows; the dates are today's.
    PressOk(*dialog);
    for (const SettingDef& def : SettingsLayout()) {
        const std::wstring stem = def.name.substr(std::min<std::size_t>(def.name.size(), 13));
        if (def.kind == ValueKind::String || def.name == L"KabeChangeTime" || stem == L"Year" || stem == L"Month" ||
            stem == L"Day") {
            continue;
        }
        const std::wstring fixedChimes = def.name == L"TimerWaveCount" ? L"8" : L"";
        EXPECT_EQ(Text(def.name.c_str()), fixedChimes.empty() ? std::to_wstring(def.loadDefault) : fixedChimes)
            << Utf8(def.name);
    }
    EXPECT_EQ(Text(L"OsiraseTimer1Memo"), L"");
}

TEST_F(LoadCommitTest, InstallerDefaultsLoadWithoutAnyMessage)
{
    InstallDefaults();
    auto dialog = Load();
    EXPECT_TRUE(Errors().empty());
    EXPECT_EQ(Ui(*dialog).Index(IDC_REMINDER1_SCHEDULE), -1);
    EXPECT_EQ(Ui(*dialog).Index(IDC_REMINDER2_SCHEDULE), -1);
    EXPECT_TRUE(Ui(*dialog).Enabled(IDC_REMINDER2_CHIME));
    EXPECT_FALSE(Ui(*dialog).Enabled(IDC_REMINDER1_DATE));
    SYSTEMTIME date = Ui(*dialog).DateTime(IDC_REMINDER1_DATE);
    EXPECT_EQ(date.wYear, 2002);
    EXPECT_EQ(date.wMonth, 4);
    EXPECT_EQ(date.wDay, 14);
    EXPECT_EQ(Ui(*dialog).Index(IDC_WALLPAPER_STYLE), 2);
    EXPECT_EQ(StyleInForce(*dialog), WallpaperStyle::Stretch);
    EXPECT_EQ(startupWallpaperChanges, 0);
}

TEST_F(LoadCommitTest, AStoredSpanLoadsAsFillWhereWindowsHasNoSpan)
{
    InstallDefaults();
    Set(kWallpaperSection, L"KabeStyle", L"5");
    for (bool offered : {true, false}) {
        spanOffered = offered;
        auto dialog = Load();
        EXPECT_EQ(Ui(*dialog).Index(IDC_WALLPAPER_STYLE), offered ? 5 : 4);
        EXPECT_EQ(StyleInForce(*dialog), offered ? WallpaperStyle::Span : WallpaperStyle::Fill);
    }
}

TEST_F(LoadCommitTest, AwkwardTextsLoadByTheRulesAndABadHourKeepsTheLoadGoing)
{
    InstallDefaults();
    Set(kWallpaperSection, L"KabeStyle", L"abc");
    Set(kReminderSection, L"OsiraseTimer1TimerOnOff", L"5");
    Set(kReminderSection, L"OsiraseTimer2Hour", L"24");
    Set(kReminderSection, L"OsiraseTimer2Min", L"30");
    Set(kMainSection, L"TimerWave", L"12");
    Set(kWallpaperSection, L"KabeChangeTime", L"1");
    auto dialog = Load();
    EXPECT_EQ(Errors(), std::vector<std::string>{"Invalid argument to time encode"});
    EXPECT_EQ(Ui(*dialog).Index(IDC_WALLPAPER_STYLE), 0);
    EXPECT_TRUE(Ui(*dialog).Checked(IDC_REMINDER1_ON_OFF));
    EXPECT_EQ(Ui(*dialog).Index(IDC_TIMERWAVE), -1);
    SYSTEMTIME time = Ui(*dialog).DateTime(IDC_REMINDER2_TIME);
    EXPECT_EQ(time.wHour, 0);
    EXPECT_EQ(time.wMinute, 0);
    EXPECT_EQ(Ui(*dialog).DateTime(IDC_REMINDER2_DATE).wYear, 2002);
    EXPECT_EQ(StyleInForce(*dialog), WallpaperStyle::Centre);
    EXPECT_EQ(startupWallpaperChanges, 1);
}

TEST_F(LoadCommitTest, AMissingFirstSoundFileMovesTheSecondUpAndTheCommitRenumbersIt)
{
    InstallDefaults();
    std::wstring second = File(L"second.wav");
    Set(kMainSection, L"TimerWaveCount", L"10");
    Set(kMainSection, L"TimerWave9", MissingFile(L"gone.wav"));
    Set(kMainSection, L"TimerWave10", second);
    Set(kMainSection, L"TimerWave", L"9");
    auto dialog = Load();
    EXPECT_TRUE(Errors().empty());
    for (int id : {IDC_TIMERWAVE, IDC_REMINDER1_CHIME, IDC_REMINDER2_CHIME}) {
        ASSERT_EQ(Ui(*dialog).ItemCount(id), 9);
        EXPECT_EQ(Ui(*dialog).ItemText(id, 8), second);
    }
    EXPECT_EQ(Ui(*dialog).Index(IDC_TIMERWAVE), -1);

    PressOk(*dialog);
    EXPECT_EQ(Stored(kMainSection, L"TimerWave9"), second);
    EXPECT_EQ(Text(L"TimerWaveCount"), L"9");
    EXPECT_EQ(Stored(kMainSection, L"TimerWave10"), second);
    EXPECT_EQ(Text(L"TimerWave"), L"-1");
}

// A folder entry (its path and a backslash) is stored and purged as a file is.
TEST_F(LoadCommitTest, OnlyTheCountedWallpapersThatExistAreLoadedAndOldTailValuesStay)
{
    InstallDefaults();
    Set(kWallpaperSection, L"KabeListCount", L"5");
    CreateDirectoryW(MissingFile(L"photos").c_str(), nullptr);
    const std::vector<std::wstring> walls = {File(L"w1.bmp"),          MissingFile(L"gone.bmp"), File(L"w3.bmp"),
                                             MissingFile(L"photos\\"), MissingFile(L"gone\\"),   File(L"w6.bmp")};
    for (std::size_t n = 1; n <= walls.size(); ++n) {
        Set(kWallpaperSection, L"KabeBmp" + std::to_wstring(n), walls[n - 1]);
    }
    auto dialog = Load();
    ASSERT_EQ(Ui(*dialog).ItemCount(IDC_WALLPAPER_LIST), 3);
    EXPECT_EQ(Ui(*dialog).ItemText(IDC_WALLPAPER_LIST, 0), walls[0]);
    EXPECT_EQ(Ui(*dialog).ItemText(IDC_WALLPAPER_LIST, 1), walls[2]);
    EXPECT_EQ(Ui(*dialog).ItemText(IDC_WALLPAPER_LIST, 2), walls[3]);

    Set(kWallpaperSection, L"KabeListCount", L"2");
    auto two = Load();
    EXPECT_EQ(Ui(*two).ItemCount(IDC_WALLPAPER_LIST), 1);

    Ui(*dialog).DeleteItem(IDC_WALLPAPER_LIST, 2);
    Ui(*dialog).DeleteItem(IDC_WALLPAPER_LIST, 1);
    Ui(*dialog).DeleteItem(IDC_WALLPAPER_LIST, 0);
    PressOk(*dialog);
    EXPECT_EQ(Text(L"KabeListCount"), L"0");
    EXPECT_EQ(Stored(kWallpaperSection, L"KabeBmp1"), walls[0]);
}

TEST_F(LoadCommitTest, AMissingListValueIsPassedOverLikeAMissingFile)
{
    InstallDefaults();
    Set(kWallpaperSection, L"KabeListCount", L"2147483647");
    Set(kWallpaperSection, L"KabeBmp1", File(L"g1.bmp"));
    Set(kWallpaperSection, L"KabeBmp3", File(L"g3.bmp"));
    Set(kWallpaperSection, L"KabeBmp4", File(L"g4.bmp"));
    auto dialog = Load();
    ASSERT_EQ(Ui(*dialog).ItemCount(IDC_WALLPAPER_LIST), 3);
    EXPECT_EQ(Ui(*dialog).ItemText(IDC_WALLPAPER_LIST, 2), folder_ / L"g4.bmp");
}

TEST_F(LoadCommitTest, AnEntryOnAShareThatIsNotConnectedStaysInTheList)
{
    InstallDefaults();
    const std::wstring away = L"\\\\sorabune-no-server\\pics\\a.bmp";
    Set(kWallpaperSection, L"KabeListCount", L"3");
    Set(kWallpaperSection, L"KabeBmp1", away);
    Set(kWallpaperSection, L"KabeBmp2", MissingFile(L"gone.bmp"));
    Set(kWallpaperSection, L"KabeBmp3", File(L"w3.bmp"));
    auto dialog = Load();
    ASSERT_EQ(Ui(*dialog).ItemCount(IDC_WALLPAPER_LIST), 2);
    EXPECT_EQ(Ui(*dialog).ItemText(IDC_WALLPAPER_LIST, 0), away);
    EXPECT_EQ(Ui(*dialog).ItemText(IDC_WALLPAPER_LIST, 1), folder_ / L"w3.bmp");
}

TEST_F(LoadCommitTest, ListsLongerThanAnEightBitCountLoadAndStoreCompletely)
{
    InstallDefaults();
    const int count = 300;
    auto dialog = Design();
    for (int n = 1; n <= count; ++n) {
        Ui(*dialog).AddItem(IDC_WALLPAPER_LIST, File(L"k" + std::to_wstring(n) + L".bmp"));
    }
    PressOk(*dialog);
    EXPECT_EQ(Text(L"KabeListCount"), L"300");
    auto loaded = Load();
    ASSERT_EQ(Ui(*loaded).ItemCount(IDC_WALLPAPER_LIST), count);
    EXPECT_EQ(Ui(*loaded).ItemText(IDC_WALLPAPER_LIST, count - 1), folder_ / L"k300.bmp");
}

TEST_F(LoadCommitTest, AValueThatIsNoTextAmongThousandsOfEntriesEndsTheListThere)
{
    InstallDefaults();
    const int count = 2000;
    const int bad = 1500;
    // A name long enough that its entry outgrows any small fixed buffer of a registry walk.
    const std::vector<std::wstring> files = {File(L"a.bmp"), File(std::wstring(150, L'長') + L".bmp")};
    Set(kWallpaperSection, L"KabeListCount", std::to_wstring(count));
    for (int n = 1; n <= count; ++n) {
        if (n == bad) {
            SetDword(kWallpaperSection, L"KabeBmp" + std::to_wstring(n));
        } else {
            Set(kWallpaperSection, L"KabeBmp" + std::to_wstring(n), files[n % 2]);
        }
    }
    auto dialog = Load();
    EXPECT_EQ(Errors(), std::vector<std::string>{"'KabeBmp1500' のデータ型が不正です"});
    ASSERT_EQ(Ui(*dialog).ItemCount(IDC_WALLPAPER_LIST), bad - 1);
    for (int index : {0, 1, bad - 2}) {
        EXPECT_EQ(Ui(*dialog).ItemText(IDC_WALLPAPER_LIST, index), files[(index + 1) % 2]) << index;
    }
    // Filled with its drawing held, the list box takes up drawing again and scrolls over all its entries.
    SCROLLINFO scroll = {sizeof(scroll), SIF_RANGE | SIF_PAGE};
    ASSERT_TRUE(GetScrollInfo(Ui(*dialog).Control(IDC_WALLPAPER_LIST), SB_VERT, &scroll));
    EXPECT_EQ(scroll.nMax, bad - 2);
}

TEST_F(LoadCommitTest, CorruptedCountsNeitherHangNorLoadMoreThanIsStored)
{
    InstallDefaults();
    std::wstring a = File(L"a.wav");
    std::wstring b = File(L"b.wav");
    std::wstring c = File(L"c.wav");
    Set(kMainSection, L"TimerWave9", a);
    Set(kMainSection, L"TimerWave10", b);
    Set(kMainSection, L"TimerWave11", c);
    Set(kWallpaperSection, L"KabeBmp1", File(L"w1.bmp"));
    Set(kWallpaperSection, L"KabeBmp2", File(L"w2.bmp"));
    struct Case {
        const wchar_t* chimeCount;
        const wchar_t* listCount;
        int chimes;
        int walls;
    };
    for (const Case& k : {Case{L"2147483647", L"2147483647", 10, 2}, Case{L"-1", L"-2147483648", 8, 0},
                          Case{L"abc", L"abc", 8, 0}, Case{L"266", L"258", 10, 2}}) {
        SCOPED_TRACE(Utf8(k.listCount));
        Set(kMainSection, L"TimerWaveCount", k.chimeCount);
        Set(kWallpaperSection, L"KabeListCount", k.listCount);
        auto dialog = Load();
        EXPECT_EQ(Ui(*dialog).ItemCount(IDC_TIMERWAVE), k.chimes);
        EXPECT_EQ(Ui(*dialog).ItemCount(IDC_REMINDER2_CHIME), k.chimes);
        EXPECT_EQ(Ui(*dialog).ItemCount(IDC_WALLPAPER_LIST), k.walls);
    }
    EXPECT_TRUE(Errors().empty());
}

TEST_F(LoadCommitTest, AValueOfTheWrongTypeStopsTheLoadThereAndKeepsWhatWasRead)
{
    InstallDefaults();
    Set(kMainSection, L"TimerWaveOnOff", L"2");
    Set(kReminderSection, L"OsiraseTimer1TimerOnOff", L"1");
    Set(kReminderSection, L"OsiraseTimer2TimerOnOff", L"1");
    SetDword(kReminderSection, L"OsiraseTimer1Memo");
    Set(kWallpaperSection, L"KabeStyle", L"0");
    Set(kWallpaperSection, L"KabeChangeTime", L"1");
    auto dialog = Load();
    EXPECT_EQ(Errors(), std::vector<std::string>{"'OsiraseTimer1Memo' のデータ型が不正です"});
    EXPECT_EQ(Ui(*dialog).Index(IDC_TIMERWAVEONOFF), 2);
    EXPECT_EQ(Ui(*dialog).Index(IDC_REMINDER2_SCHEDULE), -1);
    EXPECT_TRUE(Ui(*dialog).Checked(IDC_REMINDER1_ON_OFF));
    // Everything after the bad value keeps its design state.
    EXPECT_FALSE(Ui(*dialog).Checked(IDC_REMINDER2_ON_OFF));
    EXPECT_EQ(Ui(*dialog).Index(IDC_WALLPAPER_CHANGE_TIME), 0);
    EXPECT_EQ(StyleInForce(*dialog), kInitialWallpaperStyle);
    EXPECT_EQ(startupWallpaperChanges, 0);
}

TEST_F(LoadCommitTest, TheAutostartEntryFollowsStartupOnOff)
{
    std::wstring command = AutostartCommand();
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe);
    folder.erase(folder.find_last_of(L'\\') + 1);
    EXPECT_EQ(command, L"\"" + folder + L"Sorabune.exe\"");

    auto dialog = Design();
    Ui(*dialog).SetChecked(IDC_STARTUPONOFF, true);
    PressOk(*dialog);
    EXPECT_EQ(RunEntry(), command);
    Ui(*dialog).SetChecked(IDC_STARTUPONOFF, false);
    PressOk(*dialog);
    EXPECT_FALSE(RunEntry().has_value());
    PressOk(*dialog);
    EXPECT_FALSE(RunEntry().has_value());
    EXPECT_TRUE(Errors().empty());
}

TEST_F(LoadCommitTest, AMachineKeyThatCannotBeWrittenLeavesTheSettingsStoredAndTheDialogOpen)
{
    auto dialog = Design();
    Ui(*dialog).SetChecked(IDC_STARTUPONOFF, true);
    Ui(*dialog).SetIndex(IDC_WALLPAPER_STYLE, 1);
    ShowWindow(dialog->Hwnd(), SW_SHOW);
    registryAccess = DenyMachineWrites;
    PressOk(*dialog);
    EXPECT_EQ(Errors(), std::vector<std::string>{kRunKeyError});
    EXPECT_TRUE(dialog->IsVisible());
    EXPECT_EQ(Text(L"StartupOnOff"), L"1");
    EXPECT_EQ(Text(L"KabeStyle"), L"1");
    EXPECT_EQ(Text(L"TimerWaveCount"), L"8");
    EXPECT_FALSE(RunEntry().has_value());

    // Unticking and O K again closes it; the deletion fails silently.
    CapturedErrors().clear();
    registryAccess = DenyMachine;
    Ui(*dialog).SetChecked(IDC_STARTUPONOFF, false);
    PressOk(*dialog);
    EXPECT_TRUE(Errors().empty());
    EXPECT_FALSE(dialog->IsVisible());
    EXPECT_EQ(Text(L"StartupOnOff"), L"0");
}

TEST_F(LoadCommitTest, ASettingsKeyThatCannotBeWrittenStopsTheCommitWithItsSection)
{
    auto dialog = Design();
    ShowWindow(dialog->Hwnd(), SW_SHOW);
    registryAccess = [](HKEY root, const std::wstring& path, bool create, REGSAM access, HKEY* result) {
        if (create && path == L"Software\\Sorabune\\OsiraseTimer") {
            return static_cast<LSTATUS>(ERROR_ACCESS_DENIED);
        }
        return OpenRegistryKey(root, path, create, access, result);
    };
    PressOk(*dialog);
    EXPECT_EQ(Errors(), std::vector<std::string>{"キー Sorabune\\OsiraseTimer の作成に失敗しました"});
    EXPECT_TRUE(dialog->IsVisible());
    EXPECT_EQ(Text(L"StartupOnOff"), L"0");
    EXPECT_FALSE(Stored(kWallpaperSection, L"KabeStyle").has_value());
}

TEST_F(LoadCommitTest, ADateThePickerCannotShowFallsBackToTodayWithTheDateMessage)
{
    InstallDefaults();
    Set(kReminderSection, L"OsiraseTimer1Year", L"1000");
    Set(kReminderSection, L"OsiraseTimer2Year", L"2147483647");
    auto dialog = Load();
    EXPECT_EQ(Errors(), std::vector<std::string>{"Invalid argument to date encode"});
    SYSTEMTIME today = {};
    GetLocalTime(&today);
    EXPECT_EQ(Ui(*dialog).DateTime(IDC_REMINDER1_DATE).wYear, today.wYear);
    EXPECT_EQ(Ui(*dialog).DateTime(IDC_REMINDER2_DATE).wYear, today.wYear);
}

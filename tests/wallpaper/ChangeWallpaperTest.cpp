// SetWallpaper's desktop values and system call, and ChangeWallpaper's purge and choice, on a real dialog and the
// real registry of the Wine prefix (the system call itself is recorded, not made, but for the one change that has
// to reach the desktop).
#include "WallpaperPageTestSupport.h"

namespace {
constexpr int kSequential = 0;
constexpr int kRandom = 1;

class ChangeWallpaperTest : public WallpaperFixture {
protected:
    void ExpectDesktop(const std::wstring& path, const wchar_t* tile, const wchar_t* style)
    {
        EXPECT_EQ(DesktopValue(L"Wallpaper"), path);
        EXPECT_EQ(DesktopValue(L"TileWallpaper"), std::wstring(tile));
        EXPECT_EQ(DesktopValue(L"WallpaperStyle"), std::wstring(style));
        EXPECT_EQ(DesktopValue(L"WallpaperOriginX"), std::wstring(L"0"));
        EXPECT_EQ(DesktopValue(L"WallpaperOriginY"), std::wstring(L"0"));
    }
    std::wstring ChangeFrom(const std::wstring& shown)
    {
        SetDesktopValue(L"Wallpaper", shown);
        SystemCalls().clear();
        ChangeWallpaper(form, RecordSystemCall);
        return SystemCalls().empty() ? L"(nothing)" : Applied();
    }
};
} // namespace

TEST_F(ChangeWallpaperTest, SetWallpaperWritesTheStyleValuesAndPassesThePathToTheSystem)
{
    std::wstring path = folder.Bitmap(L"壁紙 1.bmp");
    SetWallpaper(path, WallpaperStyle::Tile, RecordSystemCall);
    ExpectDesktop(path, L"1", L"0");
    SetWallpaper(path, WallpaperStyle::Centre, RecordSystemCall);
    ExpectDesktop(path, L"0", L"0");
    SetWallpaper(path, WallpaperStyle::Stretch, RecordSystemCall);
    ExpectDesktop(path, L"0", L"2");
    ASSERT_EQ(SystemCalls().size(), 3u);
    for (const SystemCall& call : SystemCalls()) {
        EXPECT_EQ(call.action, UINT{SPI_SETDESKWALLPAPER});
        EXPECT_EQ(call.uiParam, 0u);
        EXPECT_FALSE(call.nullPath) << "null would mean the default wallpaper";
        EXPECT_EQ(call.path, path);
        EXPECT_EQ(call.winIni, UINT{SPIF_SENDWININICHANGE}) << "not written to the profile a second time";
    }
}

// The sequential choice itself (wrap, no match, case, repeated entries) is WallpaperRulesTest's; here the
// desktop's value, or its absence, is what the choice starts from.
TEST_F(ChangeWallpaperTest, SequentialOrderContinuesAfterTheWallpaperTheDesktopShows)
{
    std::wstring a = folder.Bitmap(L"A.bmp"), b = folder.Bitmap(L"B.bmp"), c = folder.Bitmap(L"C.bmp");
    SetItems({a, b, c});
    Pick(IDC_WALLPAPER_ORDER, kSequential);
    EXPECT_EQ(ChangeFrom(a), b);
    EXPECT_EQ(ChangeFrom(b), c);
    SetDesktopValue(L"Wallpaper", std::nullopt);
    ChangeWallpaper(form, RecordSystemCall);
    EXPECT_EQ(Applied(), a) << "no value at all";
}

TEST_F(ChangeWallpaperTest, TheStyleChosenOnThePageIsUsedAtOnceBeforeOk)
{
    std::wstring a = folder.Bitmap(L"A.bmp");
    SetItems({a});
    const std::pair<int, std::pair<const wchar_t*, const wchar_t*>> styles[] = {
        {2, {L"0", L"2"}}, {1, {L"1", L"0"}}, {0, {L"0", L"0"}}};
    for (const auto& [item, values] : styles) {
        Pick(IDC_WALLPAPER_STYLE, item);
        ChangeWallpaper(form, RecordSystemCall);
        ExpectDesktop(a, values.first, values.second);
    }
    // No choice at all keeps the style in force.
    Pick(IDC_WALLPAPER_STYLE, -1);
    EXPECT_EQ(CurrentWallpaperStyle(), WallpaperStyle::Centre);
}

TEST_F(ChangeWallpaperTest, PurgeRemovesEveryMissingFileNeighboursIncludedAndAnEmptyListChangesNothing)
{
    std::wstring a = folder.Bitmap(L"A.bmp"), b = folder.Bitmap(L"B.bmp");
    SetItems({folder / L"gone1.bmp", folder / L"gone2.bmp", a, folder / L"gone3.bmp", b, folder / L"gone4.bmp"});
    EXPECT_EQ(ChangeFrom(a), b);
    EXPECT_EQ(Items(), (std::vector<std::wstring>{a, b}));

    SetItems({folder / L"gone1.bmp", folder / L"gone2.bmp"});
    SetDesktopValue(L"Wallpaper", a);
    SystemCalls().clear();
    ChangeWallpaper(form, RecordSystemCall);
    EXPECT_TRUE(Items().empty());
    EXPECT_TRUE(SystemCalls().empty());
    EXPECT_EQ(DesktopValue(L"Wallpaper"), a);

    Pick(IDC_WALLPAPER_ORDER, kRandom);
    ChangeWallpaper(form, RecordSystemCall);
    EXPECT_TRUE(SystemCalls().empty());
    EXPECT_TRUE(CapturedErrors().empty());
}

TEST_F(ChangeWallpaperTest, RandomOrderDrawsFromTheWholeList)
{
    std::wstring a = folder.Bitmap(L"A.bmp"), b = folder.Bitmap(L"B.bmp"), c = folder.Bitmap(L"C.bmp");
    Pick(IDC_WALLPAPER_ORDER, kRandom);
    SetItems({a});
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ChangeFrom(a), a);
    }
    SetItems({a, b, c});
    std::map<std::wstring, int> hits;
    for (int i = 0; i < 60; ++i) {
        ++hits[ChangeFrom(a)];
    }
    EXPECT_EQ(hits.size(), 3u);
}

TEST_F(ChangeWallpaperTest, TwoStartsDrawFromDifferentlySeededSequences)
{
    Page().OnLoaded();
    const std::mt19937 first = WallpaperRandom();
    // Two starts are never within one step of the millisecond counter of each other.
    const DWORD loaded = GetTickCount();
    while (GetTickCount() == loaded) {
        Sleep(0);
    }
    Page().OnLoaded();
    EXPECT_TRUE(WallpaperRandom() != first) << "the same sequence again";
}

// Wine keeps the wallpaper that a process has read or set, so the first read makes a missing or wrong system
// call show: the registry alone does not change the answer.
TEST_F(ChangeWallpaperTest, AChangeReachesTheDesktop)
{
    std::wstring a = folder.Bitmap(L"A.bmp"), b = folder.Bitmap(L"B.bmp");
    SetItems({a, b});
    Pick(IDC_WALLPAPER_ORDER, kSequential);
    wchar_t before[MAX_PATH] = {};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, before, 0));
    SetDesktopValue(L"Wallpaper", a);
    ChangeWallpaper(form, SystemParametersInfoW);
    wchar_t shown[MAX_PATH] = {};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, shown, 0));
    EXPECT_EQ(Utf8(shown), Utf8(b));
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, before, SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

TEST_F(ChangeWallpaperTest, ListsLongerThan256EntriesAreServedWhole)
{
    std::wstring a = folder.Bitmap(L"A.bmp");
    std::vector<std::wstring> items;
    for (int i = 0; i < 300; ++i) {
        items.push_back(i == 280 ? folder.Bitmap(L"B.bmp") : a);
    }
    items[279] = folder.Bitmap(L"C.bmp");
    SetItems(items);
    EXPECT_EQ(ChangeFrom(items[279]), items[280]);
    EXPECT_EQ(ChangeFrom(items[280]), a);
    EXPECT_EQ(form.ItemCount(IDC_WALLPAPER_LIST), 300);
}

TEST_F(ChangeWallpaperTest, EntriesOnADriveThatIsNotThereStayUnappliedAndApplyAgainWhenItReturns)
{
    ASSERT_TRUE(TestDrive::Available()) << "no drive T: (scripts/wine-session maps it)";
    TestDrive drive;
    const std::wstring here = folder.Bitmap(L"here.bmp");
    const std::wstring t1 = drive.Bitmap(L"t1.bmp"), t2 = drive.Bitmap(L"t2.bmp");
    SetItems({t1, here, t2});
    drive.Unplug();
    Pick(IDC_WALLPAPER_ORDER, kSequential);
    EXPECT_EQ(ChangeFrom(here), here) << "t2 and t1 passed over";
    Focus(0);
    SystemCalls().clear();
    Click(IDC_WALLPAPER_CHANGE_NOW);
    ListClick(2);
    EXPECT_TRUE(SystemCalls().empty());
    EXPECT_EQ(Items(), (std::vector<std::wstring>{t1, here, t2})) << "nothing purged, clicked or not";

    drive.Plug();
    Pick(IDC_WALLPAPER_ORDER, kSequential);
    EXPECT_EQ(ChangeFrom(here), t2);
    DeleteFileW(t1.c_str());
    EXPECT_EQ(ChangeFrom(t2), here) << "a file gone from a drive that is there leaves the list";
    EXPECT_EQ(Items(), (std::vector<std::wstring>{here, t2}));
}

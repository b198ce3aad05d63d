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
        systemCalls.clear();
        ChangeWallpaper(dialog, recordSystemCall);
        return systemCalls.empty() ? L"(nothing)" : Applied();
    }
};
} // namespace

TEST_F(ChangeWallpaperTest, SetWallpaperWritesTheStyleValuesAndPassesThePathToTheSystem)
{
    std::wstring path = folder.Bitmap(L"壁紙 1.bmp");
    SetWallpaper(path, WallpaperStyle::Tile, recordSystemCall);
    ExpectDesktop(path, L"1", L"0");
    SetWallpaper(path, WallpaperStyle::Centre, recordSystemCall);
    ExpectDesktop(path, L"0", L"0");
    SetWallpaper(path, WallpaperStyle::Stretch, recordSystemCall);
    ExpectDesktop(path, L"0", L"2");
    ASSERT_EQ(systemCalls.size(), 3u);
    for (const SystemCall& call : systemCalls) {
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
    ChangeWallpaper(dialog, recordSystemCall);
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
        ChangeWallpaper(dialog, recordSystemCall);
        ExpectDesktop(a, values.first, values.second);
    }
    // No choice at all keeps the style in force.
    Pick(IDC_WALLPAPER_STYLE, -1);
    EXPECT_EQ(Page().StyleInForce(), WallpaperStyle::Centre);
}

TEST_F(ChangeWallpaperTest, PurgeRemovesEveryMissingFileNeighboursIncludedAndAnEmptyListChangesNothing)
{
    std::wstring a = folder.Bitmap(L"A.bmp"), b = folder.Bitmap(L"B.bmp");
    SetItems({folder / L"gone1.bmp", folder / L"gone2.bmp", a, folder / L"gone3.bmp", b, folder / L"gone4.bmp"});
    EXPECT_EQ(ChangeFrom(a), b);
    EXPECT_EQ(Items(), (std::vector<std::wstring>{a, b}));

    SetItems({folder / L"gone1.bmp", folder / L"gone2.bmp"});
    SetDesktopValue(L"Wallpaper", a);
    systemCalls.clear();
    ChangeWallpaper(dialog, recordSystemCall);
    EXPECT_TRUE(Items().empty());
    EXPECT_TRUE(systemCalls.empty());
    EXPECT_EQ(DesktopValue(L"Wallpaper"), a);

    Pick(IDC_WALLPAPER_ORDER, kRandom);
    ChangeWallpaper(dialog, recordSystemCall);
    EXPECT_TRUE(systemCalls.empty());
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
    std::vector<std::wstring> pictures(1000);
    std::generate(pictures.begin(), pictures.end(), [n = 0]() mutable { return std::to_wstring(++n) + L".jpg"; });
    const auto draws = [&](WallpaperChanger& changer) {
        std::vector<std::optional<std::size_t>> drawn;
        for (const wchar_t* entry : {L"C:\\a\\", L"C:\\b\\", L"C:\\c\\"}) {
            drawn.push_back(changer.Places().Next(entry, pictures, WallpaperOrder::Random));
        }
        return drawn;
    };
    const WallpaperStyle style = kInitialWallpaperStyle;
    WallpaperChanger first(dialog, {}, {}, style, {}, nullptr);
    // Two starts are never within one step of the millisecond counter of each other.
    const DWORD made = GetTickCount();
    while (GetTickCount() == made) {
        Sleep(0);
    }
    WallpaperChanger second(dialog, {}, {}, style, {}, nullptr);
    EXPECT_NE(draws(first), draws(second)) << "the same sequence again";
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
    ChangeWallpaper(dialog, SystemParametersInfoW);
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
    EXPECT_EQ(Ui(dialog).ItemCount(IDC_WALLPAPER_LIST), 300);
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
    systemCalls.clear();
    Click(IDC_WALLPAPER_CHANGE_NOW);
    ListClick(2);
    EXPECT_TRUE(systemCalls.empty());
    EXPECT_EQ(Items(), (std::vector<std::wstring>{t1, here, t2})) << "nothing purged, clicked or not";

    drive.Plug();
    Pick(IDC_WALLPAPER_ORDER, kSequential);
    EXPECT_EQ(ChangeFrom(here), t2);
    DeleteFileW(t1.c_str());
    EXPECT_EQ(ChangeFrom(t2), here) << "a file gone from a drive that is there leaves the list";
    EXPECT_EQ(Items(), (std::vector<std::wstring>{here, t2}));
}

namespace {
// Folder entries: their pictures are bitmaps of one height and widths of their own, so that the width of the
// program's own bitmap tells which picture a change made the wallpaper.
class FolderChangeTest : public ChangeWallpaperTest {
protected:
    void SetUp() override
    {
        ChangeWallpaperTest::SetUp();
        CreateDirectoryW(photos.c_str(), nullptr);
    }
    void Picture(const std::wstring& name, unsigned width) { folder.Bitmap(L"photos\\" + name, width, 5); }
    // The width of the picture the change made the wallpaper, 0 when none was made.
    unsigned Changed(SettingsDialog& dialog)
    {
        systemCalls.clear();
        ChangeWallpaper(dialog, recordSystemCall);
        TestLoop().HandleMessagesUntil([&] { return !PageOf(dialog).Changer().Busy(); });
        return ShownWidth();
    }
    unsigned Changed() { return Changed(dialog); }
    unsigned ShownWidth()
    {
        if (systemCalls.empty() || systemCalls.back().path != TestWallpaperBitmap()) {
            return 0;
        }
        EXPECT_EQ(DesktopValue(L"Wallpaper"), TestWallpaperBitmap());
        const std::vector<unsigned char> bytes = ReadBytes(TestWallpaperBitmap());
        return bytes.size() > 22 ? bytes[18] | bytes[19] << 8 : 0;
    }
    static WallpaperPage& PageOf(SettingsDialog& dialog) { return static_cast<WallpaperPage&>(dialog.Page(2)); }
    // The files of the photo folder and its subfolders, sorted.
    std::vector<std::wstring> Files()
    {
        FolderQueries queries = SystemFolderQueries();
        return ListFolderPictures(photos, queries, [](std::wstring_view) { return true; }).pictures;
    }

    const std::wstring photos = folder / L"photos";
    const std::wstring entry = photos + L"\\";
};
} // namespace

// In order across a restart, with a picture added and one deleted between changes; the folder gets no file.
TEST_F(FolderChangeTest, InOrderAFolderShowsItsPicturesOneAfterAnotherAcrossRestarts)
{
    CreateDirectoryW((photos + L"\\sub").c_str(), nullptr);
    Picture(L"sub\\a.bmp", 11);
    Picture(L"2.bmp", 12);
    Picture(L"10.bmp", 13);
    SetItems({entry});
    Pick(IDC_WALLPAPER_ORDER, kSequential);
    EXPECT_EQ(Changed(), 11u);
    EXPECT_EQ(Changed(), 12u);
    {
        SettingsDialog restarted{TestErrors(), TestLoop(),
                                 With(BlankPages(), kWallpaperPageIndex, MakeWallpaperPage(Services()))};
        ASSERT_TRUE(restarted.Create(nullptr, false));
        Ui(restarted).AddItem(IDC_WALLPAPER_LIST, entry);
        EXPECT_EQ(Changed(restarted), 13u) << "the place is kept";
    }
    Picture(L"5.bmp", 14);
    DeleteFileW((photos + L"\\2.bmp").c_str());
    EXPECT_EQ(Changed(), 11u) << "wraps";
    EXPECT_EQ(Changed(), 14u) << "the new one in its place, the deleted one passed over";
    EXPECT_EQ(Changed(), 13u);
    EXPECT_EQ(Files(), (std::vector<std::wstring>{L"sub\\a.bmp", L"5.bmp", L"10.bmp"})) << "nothing written";
    EXPECT_EQ(Items(), std::vector<std::wstring>{entry});
    EXPECT_TRUE(CapturedErrors().empty());
}

TEST_F(FolderChangeTest, AtRandomNoPictureComesTwiceBeforeTheFolderIsShownThroughAndThePreviewShowsTheNext)
{
    for (unsigned width = 11; width <= 14; ++width) {
        Picture(std::to_wstring(width) + L".bmp", width);
    }
    SetItems({entry});
    Pick(IDC_WALLPAPER_ORDER, kRandom);
    // Centred, a small picture is one piece of its whole width.
    Pick(IDC_WALLPAPER_STYLE, 0);
    for (int round = 0; round < 2; ++round) {
        std::set<unsigned> shown;
        for (int i = 0; i < 4; ++i) {
            ListClick(0);
            ASSERT_TRUE(Page().Preview());
            ASSERT_EQ(Page().Preview()->pieces.size(), 1u);
            const int previewed = Page().Preview()->pieces[0].from.width;
            const unsigned next = Changed();
            EXPECT_EQ(next, static_cast<unsigned>(previewed)) << "the preview showed the one to come";
            EXPECT_TRUE(shown.insert(next).second) << "round " << round << ": " << next << " again";
        }
        EXPECT_EQ(shown, (std::set<unsigned>{11, 12, 13, 14}));
    }
}

// A list of files and a folder: the folder's turn comes between its neighbours, though the desktop shows the
// program's own bitmap; an empty folder is passed over and kept, a gone one purged.
TEST_F(FolderChangeTest, AFolderTakesItsTurnInTheListAnEmptyOneIsPassedOverAndAGoneOnePurged)
{
    const std::wstring a = folder.Bitmap(L"A.bmp", 21, 5), b = folder.Bitmap(L"B.bmp", 22, 5);
    Picture(L"1.bmp", 11);
    Picture(L"2.bmp", 12);
    const std::wstring empty = folder / L"empty\\";
    CreateDirectoryW(empty.c_str(), nullptr);
    SetItems({a, entry, empty, folder / L"gone\\", b});
    Pick(IDC_WALLPAPER_ORDER, kSequential);
    SetDesktopValue(L"Wallpaper", b);
    EXPECT_EQ(Changed(), 0u);
    EXPECT_EQ(Applied(), a);
    EXPECT_EQ(Items(), (std::vector<std::wstring>{a, entry, empty, b})) << "the gone folder purged";
    EXPECT_EQ(Changed(), 11u);
    EXPECT_EQ(Changed(), 0u) << "the empty folder passed over";
    EXPECT_EQ(Applied(), b);
    EXPECT_EQ(Changed(), 0u);
    EXPECT_EQ(Applied(), a);
    EXPECT_EQ(Changed(), 12u) << "the folder's next picture";
    EXPECT_EQ(Items(), (std::vector<std::wstring>{a, entry, empty, b}));
}

// A picture that cannot be read is passed over for the next and named once while the program runs; the manual
// change button walks the folder.
TEST_F(FolderChangeTest, AFailingPictureIsSkippedAndReportedOnceAndTheButtonWalksTheFolder)
{
    WriteBytes(photos + L"\\1 bad.jpg", std::vector<unsigned char>(2000, 0x41));
    Picture(L"2.bmp", 12);
    Picture(L"3.bmp", 13);
    SetItems({entry});
    Pick(IDC_WALLPAPER_ORDER, kSequential);
    EXPECT_EQ(Changed(), 12u);
    ASSERT_EQ(CapturedErrors().size(), 1u);
    EXPECT_EQ(CapturedErrors()[0],
              L"次の画像は壁紙にできなかったため、飛ばしました。\n" + photos + L"\\1 bad.jpg" + L"（JPEG エラー #53）");
    EXPECT_EQ(Changed(), 13u);
    EXPECT_EQ(Changed(), 12u) << "the bad one passed over again";
    EXPECT_EQ(CapturedErrors().size(), 1u) << "and not named again";

    Focus(0);
    for (unsigned expected : {13u, 12u}) {
        systemCalls.clear();
        Click(IDC_WALLPAPER_CHANGE_NOW);
        WaitForChange();
        EXPECT_EQ(ShownWidth(), expected);
    }
}

// The wallpaper list's rules without windows: next entry in order and at random, purge, UP and DOWN, the add
// rule's extensions, the open dialog's names, the names of converted bitmaps, what the preview draws for each
// style, and a folder entry's walk and the order of its pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <unordered_set>
#include <set>
#include <string>
#include <vector>

#include "base/BitmapFile.h"
#include "wallpaper/PictureFolders.h"
#include "wallpaper/WallpaperRules.h"

namespace {
using Exchanges = std::vector<std::pair<std::size_t, std::size_t>>;

// Applies exchanges as the page does: entries and selection travel together.
std::vector<std::wstring> Apply(std::vector<std::wstring> list, std::vector<bool>& selected, const Exchanges& moves)
{
    for (auto [from, to] : moves) {
        std::swap(list[from], list[to]);
        selected[to] = true;
        selected[from] = false;
    }
    return list;
}
} // namespace

TEST(WallpaperRulesTest, SequentialChoiceContinuesAfterTheLastEqualEntryAndWraps)
{
    const std::vector<std::wstring> abc = {L"C:\\w\\A.bmp", L"C:\\w\\B.bmp", L"C:\\w\\C.bmp"};
    EXPECT_EQ(NextSequentialPosition(abc, L"C:\\w\\A.bmp"), 1u);
    EXPECT_EQ(NextSequentialPosition(abc, L"C:\\w\\C.bmp"), 0u) << "last entry wraps";
    EXPECT_EQ(NextSequentialPosition(abc, L"D:\\other.bmp"), 0u) << "no match";
    EXPECT_EQ(NextSequentialPosition(abc, L""), 0u);
    EXPECT_EQ(NextSequentialPosition(abc, L"c:\\w\\a.bmp"), 0u) << "case differs: no match";
    EXPECT_EQ(NextSequentialPosition(abc, L"C:\\w\\A.bm"), 0u) << "whole strings only";
    const std::vector<std::wstring> aba = {L"A", L"B", L"A"};
    EXPECT_EQ(NextSequentialPosition(aba, L"A"), 0u) << "A B A with A shown: A again";
    EXPECT_EQ(NextSequentialPosition(aba, L"B"), 2u);
    EXPECT_FALSE(NextSequentialPosition({}, L"A"));
}

TEST(WallpaperRulesTest, PositionsAreFullWidthBeyond256Entries)
{
    std::vector<std::wstring> list;
    for (int i = 0; i < 1000; ++i) {
        list.push_back(L"W" + std::to_wstring(i));
    }
    EXPECT_EQ(NextSequentialPosition(list, L"W255"), 256u);
    EXPECT_EQ(NextSequentialPosition(list, L"W700"), 701u);
    EXPECT_EQ(NextSequentialPosition(list, L"W999"), 0u);
    std::mt19937 generator(7);
    std::set<std::size_t> drawn;
    for (int i = 0; i < 5000; ++i) {
        drawn.insert(*RandomPosition(std::vector<bool>(list.size(), true), generator));
    }
    EXPECT_GT(*drawn.rbegin(), 900u);
}

TEST(WallpaperRulesTest, RandomChoiceCoversTheListAndNeedsEntries)
{
    std::mt19937 generator(1);
    EXPECT_FALSE(RandomPosition({}, generator));
    EXPECT_FALSE(RandomPosition({false, false}, generator)) << "every drive absent";
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(RandomPosition({true}, generator), 0u);
        EXPECT_EQ(RandomPosition({false, true, false}, generator), 1u) << "entries on absent drives are never drawn";
    }
    std::vector<int> hits(3);
    for (int i = 0; i < 3000; ++i) {
        ++hits[*RandomPosition({true, true, true}, generator)];
    }
    for (int count : hits) {
        EXPECT_GT(count, 850);
    }
}

TEST(WallpaperRulesTest, SequentialChoicePassesOverEntriesThatCannotBeAppliedNow)
{
    const std::vector<std::wstring> abcd = {L"A", L"B", L"C", L"D"};
    struct Case {
        const wchar_t* shown;
        std::vector<bool> usable;
        std::optional<std::size_t> next;
    };
    const Case cases[] = {
        {L"A", {true, false, false, true}, 3},  // B and C on an absent drive
        {L"D", {false, true, true, true}, 1},   // wraps, then passes over A
        {L"B", {true, false, true, true}, 2},   // the shown entry itself may be unusable now
        {L"X", {false, false, true, false}, 2}, // no match starts at the first usable
        {L"A", {false, false, false, false}, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NextSequentialPosition(abcd, c.shown, c.usable), c.next) << testing::PrintToString(c.usable);
    }
}

TEST(WallpaperRulesTest, PurgeFindsNeighbouringMissingFiles)
{
    EXPECT_EQ(MissingPositions({false, false, true, false, true, false}), (std::vector<std::size_t>{0, 1, 3, 5}));
    EXPECT_TRUE(MissingPositions({true, true}).empty());
    EXPECT_TRUE(MissingPositions({}).empty());
}

TEST(WallpaperRulesTest, UpAndDownMoveTheSelectionOnePlaceUnlessItTouchesTheEnd)
{
    const std::vector<std::wstring> list = {L"a", L"b", L"c", L"d", L"e"};
    std::vector<bool> selected = {false, true, true, false, true};
    EXPECT_EQ(Apply(list, selected, UpExchanges(selected)), (std::vector<std::wstring>{L"b", L"c", L"a", L"e", L"d"}));
    EXPECT_EQ(selected, (std::vector<bool>{true, true, false, true, false}));

    selected = {false, true, true, false, false};
    EXPECT_EQ(Apply(list, selected, DownExchanges(selected)),
              (std::vector<std::wstring>{L"a", L"d", L"b", L"c", L"e"}));
    EXPECT_EQ(selected, (std::vector<bool>{false, false, true, true, false}));

    EXPECT_TRUE(UpExchanges({true, false, true}).empty()) << "first selected: nothing moves, not even the others";
    EXPECT_TRUE(DownExchanges({true, false, true}).empty()) << "last selected: nothing moves";
    EXPECT_TRUE(UpExchanges({}).empty());
    EXPECT_TRUE(DownExchanges({}).empty());
    EXPECT_TRUE(UpExchanges({false, false}).empty()) << "nothing selected";
}

TEST(WallpaperRulesTest, AddRuleGoesByTheExtensionInAnyCaseAndTheDialogListsEveryOne)
{
    EXPECT_EQ(AddKindOf(L"C:\\p\\photo.bmp"), AddKind::Bitmap);
    EXPECT_EQ(AddKindOf(L"C:\\p\\photo.BmP"), AddKind::Bitmap);
    EXPECT_EQ(AddKindOf(L"C:\\p\\photo.jpg"), AddKind::Jpeg);
    EXPECT_EQ(AddKindOf(L"C:\\p\\photo.Jpg"), AddKind::Jpeg);
    EXPECT_EQ(AddKindOf(L"C:\\p\\写真.JPG"), AddKind::Jpeg);
    EXPECT_EQ(AddKindOf(L"C:\\p\\photo.jpeg"), AddKind::Jpeg);
    EXPECT_EQ(AddKindOf(L"C:\\p\\photo.JFIF"), AddKind::Jpeg);
    EXPECT_EQ(AddKindOf(L"C:\\p\\photo.jpe"), AddKind::Jpeg);
    EXPECT_EQ(AddKindOf(L"C:\\p\\photo.Tiff"), AddKind::Decoded);
    EXPECT_EQ(AddKindOf(L"C:\\p\\photo.webp"), AddKind::Unreadable);
    EXPECT_EQ(AddKindOf(L"C:\\p\\photo.WebP", {L".heic", L".webp"}), AddKind::Decoded) << "an installed codec's";
    EXPECT_EQ(AddKindOf(L"C:\\p.jpg\\photo"), AddKind::Unreadable) << "a dot in a folder name is no extension";
    EXPECT_EQ(AddKindOf(L"C:\\p\\bmp"), AddKind::Unreadable);
    EXPECT_EQ(AddDialogPatterns({L".png", L".jpg", L".webp"}),
              L"*.bmp;*.jpg;*.jpeg;*.jpe;*.jfif;*.png;*.gif;*.tif;*.tiff;*.webp");
}

TEST(WallpaperRulesTest, ABitmapTakesTheFirstNameThatIsFreeOrHoldsItsPicturesOwnConversion)
{
    using enum NameHolder;
    const struct {
        const wchar_t* picture;
        std::map<std::wstring, NameHolder> names; // every other name is free
        BitmapTarget target;
    } cases[] = {
        {L"C:\\p\\photo.jpg", {}, BitmapTarget{L"C:\\p\\photo.BMP", false}},
        {L"C:\\p.x\\写真.Jpg", {}, BitmapTarget{L"C:\\p.x\\写真.BMP", false}},
        {L"C:\\p\\photo.jpg", {{L"C:\\p\\photo.BMP", ThisPicturesBitmap}}, BitmapTarget{L"C:\\p\\photo.BMP", true}},
        // The user's own photo.bmp, or photo.jpg's bitmap when photo.png comes.
        {L"C:\\p\\photo.png", {{L"C:\\p\\photo.BMP", SomethingElse}}, BitmapTarget{L"C:\\p\\photo (2).BMP", false}},
        {L"C:\\p\\photo.png",
         {{L"C:\\p\\photo.BMP", SomethingElse},
          {L"C:\\p\\photo (2).BMP", SomethingElse},
          {L"C:\\p\\photo (3).BMP", ThisPicturesBitmap}},
         BitmapTarget{L"C:\\p\\photo (3).BMP", true}},
        {L"C:\\p\\noextension", {}, BitmapTarget{L"C:\\p\\noextension.BMP", false}},
    };
    for (const auto& c : cases) {
        const auto target = BitmapTargetFor(c.picture, [&c](const std::wstring& name) {
            const auto held = c.names.find(name);
            return held == c.names.end() ? Nothing : held->second;
        });
        ASSERT_TRUE(target);
        EXPECT_EQ(target->path, c.target.path);
        EXPECT_EQ(target->replacesOwnConversion, c.target.replacesOwnConversion);
    }
    EXPECT_FALSE(BitmapTargetFor(L"C:\\p\\a.jpg", [](const std::wstring&) { return SomethingElse; }))
        << "every name taken";

    // A picture's own conversion is known by its file name in any letter case, whatever its folder.
    EXPECT_EQ(ConversionTag(L"C:\\p\\Photo.JPG"), ConversionTag(L"D:\\q\\photo.jpg"));
    EXPECT_NE(ConversionTag(L"C:\\p\\photo.jpg"), ConversionTag(L"C:\\p\\photo.png"));
    EXPECT_NE(ConversionTag(L"C:\\p\\photo.jpg"), 0u) << "zero is every other bitmap's";
}

// A 16:9 screen in the 220 x 165 frame lies at 0, 21 as 220 x 123; one screen pixel is 0.1375 of the frame's.
TEST(WallpaperRulesTest, ThePreviewLaysThePictureOnTheScreenAsEachStyleDoes)
{
    constexpr Extent kScreen = {1600, 900};
    constexpr Extent kFrame = {220, 165};
    constexpr PreviewRect kScreenInFrame = {0, 21, 220, 123};
    struct Row {
        WallpaperStyle style;
        Extent picture;
        std::vector<PreviewPiece> pieces;
    };
    const Row rows[] = {
        {WallpaperStyle::Fit, {400, 900}, {{{82, 21, 55, 123}, {0, 0, 400, 900}}}},
        {WallpaperStyle::Fill, {400, 900}, {{kScreenInFrame, {0, 337, 400, 225}}}},
        {WallpaperStyle::Fill, {3200, 900}, {{kScreenInFrame, {800, 0, 1600, 900}}}},
        {WallpaperStyle::Span, {400, 900}, {{kScreenInFrame, {0, 337, 400, 225}}}},
        {WallpaperStyle::Stretch, {400, 900}, {{kScreenInFrame, {0, 0, 400, 900}}}},
        {WallpaperStyle::Centre, {400, 300}, {{{82, 62, 55, 41}, {0, 0, 400, 300}}}},
        {WallpaperStyle::Centre, {2000, 1000}, {{kScreenInFrame, {200, 50, 1600, 900}}}},
        {WallpaperStyle::Tile,
         {500, 900},
         {{{0, 21, 68, 123}, {0, 0, 500, 900}},
          {{68, 21, 69, 123}, {0, 0, 500, 900}},
          {{137, 21, 69, 123}, {0, 0, 500, 900}},
          {{206, 21, 14, 123}, {0, 0, 100, 900}}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.style));
        PreviewLayout layout = LayOutPreview(row.style, row.picture, kScreen, kFrame);
        EXPECT_TRUE(layout.screen == kScreenInFrame);
        ASSERT_EQ(layout.pieces.size(), row.pieces.size());
        for (std::size_t i = 0; i < row.pieces.size(); ++i) {
            EXPECT_TRUE(layout.pieces[i].to == row.pieces[i].to) << i;
            EXPECT_TRUE(layout.pieces[i].from == row.pieces[i].from) << i;
        }
    }
    // A small tile is drawn as blocks of its copies; the last column of blocks is cut at the screen's edge.
    PreviewLayout small = LayOutPreview(WallpaperStyle::Tile, {30, 20}, kScreen, kFrame);
    EXPECT_EQ(small.tileBlock.width, 4);
    EXPECT_EQ(small.tileBlock.height, 3);
    ASSERT_EQ(small.pieces.size(), 14u * 15u);
    EXPECT_TRUE(small.pieces[13].from == (PreviewRect{0, 0, 40, 60}));
    EXPECT_TRUE(LayOutPreview(WallpaperStyle::Fit, {0, 0}, kScreen, kFrame).pieces.empty());
    // Span over a second screen of the same size, right and then left of the primary: its half of the picture.
    for (int left : {0, -1600}) {
        PreviewLayout span = LayOutPreview(WallpaperStyle::Span, {3200, 900}, kScreen, kFrame, {left, 0, 3200, 900});
        ASSERT_EQ(span.pieces.size(), 1u);
        EXPECT_TRUE(span.pieces[0].to == kScreenInFrame);
        EXPECT_TRUE(span.pieces[0].from == (PreviewRect{-left, 0, 1600, 900})) << left;
    }
}

TEST(PictureFoldersTest, TheWalkStopsAtItsDepthWalksAFolderOnceAndEndsWhenTold)
{
    // A chain of folders far deeper than the walk goes, each with one picture and a file that is none, and a link
    // back to the top one.
    const int levels = kMaxFolderDepth + 20;
    const auto depthOf = [](const std::wstring& folder) {
        return static_cast<int>(std::count(folder.begin(), folder.end(), L'\\')) - 1;
    };
    std::atomic<bool> stop{false};
    int listed = 0;
    FolderQueries queries;
    queries.list = [&](const std::wstring& folder, std::size_t) {
        stop = ++listed == 10;
        std::vector<FolderEntry> entries = {{L"p.jpg", false}, {L"notes.txt", false}, {L"back", true}};
        if (depthOf(folder) < levels) {
            entries.push_back({L"d", true});
        }
        return entries;
    };
    queries.identity = [](const std::wstring& folder) {
        return folder.size() > 5 && folder.compare(folder.size() - 5, 5, L"\\back") == 0 ? L"C:\\top" : folder;
    };
    const auto isPicture = [](std::wstring_view path) {
        return path.size() > 4 && path.substr(path.size() - 4) == L".jpg";
    };

    const FolderPictures found = ListFolderPictures(L"C:\\top", queries, isPicture);
    ASSERT_EQ(found.pictures.size(), static_cast<std::size_t>(kMaxFolderDepth + 1)) << "levels 0 to the limit, once";
    EXPECT_TRUE(found.whole);
    EXPECT_EQ(std::count(found.pictures.front().begin(), found.pictures.front().end(), L'\\'), kMaxFolderDepth)
        << "relative paths, the deepest first, as subfolders come first";
    EXPECT_EQ(found.pictures.back(), L"p.jpg");

    listed = 0;
    const FolderPictures stopped = ListFolderPictures(L"C:\\top", queries, isPicture, &stop);
    EXPECT_FALSE(stopped.whole);
    EXPECT_LT(stopped.pictures.size(), found.pictures.size());
}

TEST(PictureFoldersTest, AFolderOfMoreThanTheWalkReadsIsListedInPart)
{
    std::size_t asked = 0;
    FolderQueries queries;
    queries.list = [&](const std::wstring&, std::size_t most) {
        asked = most;
        return std::vector<FolderEntry>(std::min<std::size_t>(most, kMaxFolderPictures + 10), {L"p.jpg", false});
    };
    queries.identity = [](const std::wstring& folder) { return folder; };
    const FolderPictures found = ListFolderPictures(L"C:\\big", queries, [](std::wstring_view) { return true; });
    EXPECT_EQ(asked, kMaxFolderEntriesRead);
    EXPECT_EQ(found.pictures.size(), kMaxFolderPictures);
    EXPECT_FALSE(found.whole);
}

// A folder in order: subfolders first, then files, each in Explorer's order; the place is the picture shown last,
// so that pictures added or deleted between two changes keep the walk going where it was.
TEST(PictureFoldersTest, InOrderTheNextPictureComesAfterTheOneShownLastWhateverCameOrWent)
{
    std::vector<std::wstring> pictures = {L"sub2\\deeper\\0.jpg", L"sub2\\9.png", L"sub10\\1.jpg", L"2.jpg", L"10.jpg"};
    EXPECT_TRUE(std::is_sorted(pictures.begin(), pictures.end(), [](const std::wstring& a, const std::wstring& b) {
        return WalkOrderLess(a, b);
    })) << "the walk's own order";
    struct Row {
        const wchar_t* last;
        std::optional<std::size_t> next;
    };
    const Row rows[] = {
        {L"", 0},                     // never shown: the first
        {L"sub2\\9.png", 2},          // the next, one folder down
        {L"2.jpg", 4},                // 2 before 10
        {L"10.jpg", 0},               // the last wraps
        {L"SUB10\\1.JPG", 3},         // any letter case
        {L"5.jpg", 4},                // deleted since: its place among the others stays
        {L"sub2\\deeper\\zz.jpg", 1}, // deleted from a subfolder
        {L"sub3\\a.jpg", 2},          // a whole subfolder deleted
    };
    for (const Row& row : rows) {
        EXPECT_EQ(NextPictureAfter(pictures, row.last), row.next) << testing::PrintToString(std::wstring(row.last));
    }
    // Added since 2.jpg was shown: 3.jpg comes next, a picture added before it waits for the next round.
    pictures.insert(pictures.begin() + 4, L"3.jpg");
    pictures.insert(pictures.begin() + 3, L"1.jpg");
    EXPECT_EQ(NextPictureAfter(pictures, L"2.jpg"), 5u);
    EXPECT_EQ(pictures[5], L"3.jpg");
    EXPECT_FALSE(NextPictureAfter({}, L"2.jpg")) << "an empty folder";
}

TEST(PictureFoldersTest, AtRandomNoPictureComesTwiceBeforeTheFolderHasBeenShownThrough)
{
    std::mt19937 generator(3);
    std::vector<std::wstring> pictures = {L"a.jpg", L"b.jpg", L"c.jpg", L"d.jpg"};
    std::unordered_set<std::wstring> shown;
    std::wstring previous;
    const auto draw = [&] {
        const auto next = RandomUnshown(pictures, shown, previous, generator);
        previous = pictures[*next];
        shown.insert(PictureKey(previous));
        return previous;
    };
    for (int round = 0; round < 50; ++round) {
        std::set<std::wstring> seen;
        const std::wstring last = previous;
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            const std::wstring picture = draw();
            EXPECT_TRUE(seen.insert(picture).second) << "twice in one round";
            EXPECT_TRUE(i > 0 || picture != last) << "the last of a round does not open the next";
        }
    }
    // One drawn and shown, then one deleted and one added: the new one is drawn in this round, the deleted never.
    shown = {PictureKey(L"A.JPG")};
    pictures = {L"a.jpg", L"c.jpg", L"d.jpg", L"e.jpg"};
    std::set<std::wstring> rest;
    for (int i = 0; i < 3; ++i) {
        rest.insert(draw());
    }
    EXPECT_EQ(rest, (std::set<std::wstring>{L"c.jpg", L"d.jpg", L"e.jpg"}));
    pictures = {L"only.jpg"};
    EXPECT_EQ(draw(), L"only.jpg");
    EXPECT_EQ(draw(), L"only.jpg") << "a folder of one picture";
    EXPECT_FALSE(RandomUnshown({}, shown, previous, generator));
}

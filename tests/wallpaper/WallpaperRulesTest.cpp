// The wallpaper list's rules without windows: next entry in order and at random, purge, UP and DOWN, the add
// rule's extensions, the open dialog's names, the names of converted bitmaps, what the preview draws for each
// style, and the walk of a dropped folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
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
    // A chain of folders far deeper than the walk goes, each with one picture, and a second name for the top one.
    const int levels = kMaxFolderDepth + 20;
    const auto depthOf = [](const std::wstring& folder) {
        return static_cast<int>(std::count(folder.begin(), folder.end(), L'\\')) - 1;
    };
    FolderQueries queries;
    queries.isFolder = [](const std::wstring& path) { return path.find(L".jpg") == std::wstring::npos; };
    queries.list = [&](const std::wstring& folder) {
        std::vector<FolderEntry> entries = {{L"p.jpg", false}};
        if (depthOf(folder) < levels) {
            entries.push_back({L"d", true});
        }
        return entries;
    };
    queries.identity = [](const std::wstring& folder) { return folder == L"C:\\alias" ? L"C:\\top" : folder; };
    const auto isPicture = [](std::wstring_view) { return true; };

    const auto items = ExpandFolders({L"C:\\top", L"C:\\alias"}, queries, isPicture);
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), static_cast<std::size_t>(kMaxFolderDepth + 1)) << "levels 0 to the limit, once";
    EXPECT_EQ(depthOf(items->front().path), kMaxFolderDepth + 1) << "the deepest first, as subfolders come first";
    EXPECT_TRUE(items->front().fromFolder);

    std::size_t told = 0;
    EXPECT_FALSE(ExpandFolders({L"C:\\top"}, queries, isPicture, [&](std::size_t, const std::wstring&) {
        return ++told < 3;
    })) << "ended after the third folder";
    EXPECT_EQ(told, 3u);
}

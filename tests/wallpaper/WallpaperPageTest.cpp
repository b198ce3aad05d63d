// The wallpaper page driven through its real controls: add through AddDialog and by dropping files, delete,
// UP and DOWN, the preview and the manual change.
#include "WallpaperPageTestSupport.h"

#include "base/BitmapFile.h"
#include "wallpaper/AddProgressWindow.h"
#include "wallpaper/CraftedJpeg.h"
#include "support/DialogUi.h"
#include "wallpaper/CraftedPng.h"

#include <climits>
#include <shellapi.h>
#include <shlobj.h>

namespace {
HHOOK hook = nullptr;
LRESULT CALLBACK EscToTheProgressWindow(int code, WPARAM wParam, LPARAM lParam)
{
    wchar_t name[64] = {};
    if (code == HCBT_CREATEWND && GetClassNameW(reinterpret_cast<HWND>(wParam), name, 64) &&
        std::wstring(name) == AddProgressWindow::kClassName) {
        PostMessageW(reinterpret_cast<HWND>(wParam), WM_KEYDOWN, VK_ESCAPE, 0);
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

class WallpaperPageTest : public WallpaperFixture {
protected:
    // The add dialog answers dialogAnswer, or is cancelled; either way it counts in dialogShown.
    WallpaperPageTest() { addDialog = answerDialog; }
    const OpenFilesFn answerDialog = [this](HWND) {
        ++dialogShown;
        return std::optional(dialogAnswer);
    };
    const OpenFilesFn cancelDialog = [this](HWND) -> std::optional<std::vector<std::wstring>> {
        ++dialogShown;
        return std::nullopt;
    };
    std::vector<std::wstring> dialogAnswer;
    int dialogShown = 0;

    void Add(std::vector<std::wstring> files)
    {
        dialogAnswer = std::move(files);
        Click(IDC_WALLPAPER_ADD);
    }
    void Drop(const std::vector<std::wstring>& files)
    {
        SendMessageW(List(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(files)), 0);
    }
    std::wstring Jpeg(const std::wstring& name)
    {
        EXPECT_TRUE(CopyTestFile(TestImage(L"testorig.jpg"), folder / name));
        return folder / name;
    }
};
} // namespace

TEST_F(WallpaperPageTest, AddAppendsBitmapsConvertsPicturesAndNamesTheUnreadableFilesOnce)
{
    std::wstring a = folder.Bitmap(L"a.bmp"), b = folder.Bitmap(L"b.Bmp");
    std::wstring photo = Jpeg(L"photo.jpg"), mixed = Jpeg(L"写真.Jpg"), jfif = Jpeg(L"long.jfif");
    WriteBytes(folder / L"notes.txt", {1});
    WriteBytes(folder / L"photo.webp", {1});
    Add({a, photo, folder / L"notes.txt", jfif, folder / L"photo.webp", mixed, b, a});
    EXPECT_EQ(dialogShown, 1);
    EXPECT_EQ(Items(),
              (std::vector<std::wstring>{a, folder / L"photo.BMP", folder / L"long.BMP", folder / L"写真.BMP", b, a}));
    EXPECT_TRUE(FileExistsForTest(photo)) << "the JPEG stays";
    ASSERT_EQ(CapturedErrors().size(), 1u);
    EXPECT_EQ(CapturedErrors()[0], L"次のファイルは読める画像ではないため、追加しませんでした。\n" +
                                       folder / L"notes.txt" + L"\n" + folder / L"photo.webp");
    CapturedErrors().clear();

    addDialog = cancelDialog;
    Click(IDC_WALLPAPER_ADD);
    EXPECT_EQ(Ui(dialog).ItemCount(IDC_WALLPAPER_LIST), 6);
}

TEST_F(WallpaperPageTest, APictureThatCannotBeConvertedIsPassedOverAndNamedInOneMessageAtTheEnd)
{
    std::wstring a = folder.Bitmap(L"a.bmp");
    WriteBytes(folder / L"bad.jpg", std::vector<unsigned char>(2000, 0x41));
    const HCURSOR before = SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    HCURSOR atTheBox = nullptr;
    TestErrors().atReport = [&] { atTheBox = GetCursor(); };
    Add({a, folder / L"bad.jpg", Jpeg(L"later.jpg")});
    TestErrors().atReport = nullptr;
    EXPECT_EQ(atTheBox, LoadCursorW(nullptr, IDC_ARROW)) << "the wait cursor is set back before the box";
    SetCursor(before);
    EXPECT_EQ(Items(), (std::vector<std::wstring>{a, folder / L"later.BMP"})) << "the rest are added";
    ASSERT_EQ(CapturedErrors().size(), 1u);
    EXPECT_EQ(CapturedErrors()[0], L"次のファイルは変換できなかったため、追加しませんでした。\n" + folder / L"bad.jpg" +
                                       L"（JPEG エラー #53）")
        << "JERR_NO_SOI";

    CapturedErrors().clear();
    WriteBytes(folder / L"notes.txt", {1});
    Add({folder / L"無い.jpg", a, folder / L"notes.txt"});
    ASSERT_EQ(CapturedErrors().size(), 1u);
    EXPECT_EQ(CapturedErrors()[0], L"次のファイルは読める画像ではないため、追加しませんでした。\n" +
                                       folder / L"notes.txt" +
                                       L"\n\n次のファイルは変換できなかったため、追加しませんでした。\n" +
                                       folder / L"無い.jpg" + L"（開けません）");
}

TEST_F(WallpaperPageTest, PicturesOfOneNameGetBitmapsOfTheirOwnAndTheUsersBitmapStaysAsItIs)
{
    CreateDirectoryW((folder / L"tree").c_str(), nullptr);
    Jpeg(L"tree\\a.jpg");
    WriteBytes(folder / L"tree\\a.png", GreyPng(4, 3));
    WriteBytes(folder / L"tree\\x.png", GreyPng(4, 3));
    const std::wstring users = folder.Bitmap(L"tree\\x.bmp", 2, 2);
    const std::vector<unsigned char> usersBytes = ReadBytes(users);
    const std::vector<std::wstring> expected = {folder / L"tree\\a.BMP", folder / L"tree\\a (2).BMP", users,
                                                folder / L"tree\\x (2).BMP"};
    Add({folder / L"tree\\a.jpg", folder / L"tree\\a.png", users, folder / L"tree\\x.png"});
    EXPECT_EQ(Items(), expected);
    EXPECT_TRUE(ReadBytes(users) == usersBytes);
    EXPECT_TRUE(CapturedErrors().empty());

    // Added again, a picture refreshes its own bitmap.
    const std::vector<unsigned char> refreshed = ReadBytes(folder / L"tree\\a (2).BMP");
    WriteBytes(folder / L"tree\\a.png", GreyPng(5, 3));
    Add({folder / L"tree\\a.png"});
    EXPECT_EQ(Items().back(), folder / L"tree\\a (2).BMP");
    EXPECT_FALSE(ReadBytes(folder / L"tree\\a (2).BMP") == refreshed);
    EXPECT_TRUE(ReadBytes(users) == usersBytes);
}

TEST_F(WallpaperPageTest, DroppedFilesRunTheAddRuleWholeNamesInTheShellsOrder)
{
    std::wstring japanese = folder.Bitmap(L"日本語の壁紙.bmp");
    // Longer than MAX_PATH: the add rule takes a bitmap's name as it is, so it need not exist.
    std::wstring longName = folder.Path() + std::wstring(300, L'x') + L".bmp";
    std::wstring photo = Jpeg(L"ドロップ.jpg");
    Drop({longName, japanese, photo, folder / L"readme.txt"});
    EXPECT_EQ(Items(), (std::vector<std::wstring>{longName, japanese, folder / L"ドロップ.BMP"}));
    EXPECT_EQ(Page().fileDrop().Files().size(), 4u);
    EXPECT_EQ(Page().fileDrop().TargetControl(), List());
    EXPECT_TRUE(GetWindowLongPtrW(List(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(WallpaperPageTest, ADroppedOrChosenFolderIsOneEntryAndNothingInItIsReadOrWritten)
{
    CreateDirectoryW((folder / L"tree").c_str(), nullptr);
    CreateDirectoryW((folder / L"tree\\sub").c_str(), nullptr);
    std::wstring listed = folder.Bitmap(L"tree\\listed.bmp");
    folder.Bitmap(L"tree\\sub\\9.bmp");
    Jpeg(L"tree\\photo.jpg");
    const std::vector<std::wstring> before = folder.Names();
    SetItems({listed});
    Drop({folder / L"tree", listed});
    const std::vector<std::wstring> expected = {listed, folder / L"tree\\", listed};
    EXPECT_EQ(Items(), expected);
    EXPECT_TRUE(CapturedErrors().empty());
    EXPECT_EQ(folder.Names(), before) << "no bitmap beside photo.jpg";
    EXPECT_FALSE(FileExistsForTest(folder / L"tree\\photo.BMP"));
    // The same folder again, however spelt, from the drop or from the add dialog's folder picker.
    Drop({folder / L"TREE\\"});
    Add({folder / L"tree"});
    EXPECT_EQ(Items(), expected) << "a folder listed already is not added again";
    Add({folder / L"tree\\sub"});
    EXPECT_EQ(Items().back(), folder / L"tree\\sub\\");
}

TEST_F(WallpaperPageTest, EscInTheProgressWindowEndsALongAddKeepingWhatWasAdded)
{
    std::vector<std::wstring> files;
    for (int i = 0; i < 5; ++i) {
        files.push_back(folder.Bitmap(std::to_wstring(i) + L".bmp"));
    }
    // Esc reaches the progress window as soon as it is made: the first pump between files sees it.
    hook = SetWindowsHookExW(WH_CBT, EscToTheProgressWindow, nullptr, GetCurrentThreadId());
    Drop(files);
    EXPECT_EQ(Items(), std::vector<std::wstring>{files[0]});
    EXPECT_EQ(FindWindowW(AddProgressWindow::kClassName, nullptr), nullptr);
    EXPECT_TRUE(IsWindowEnabled(dialog.Hwnd()));
    EXPECT_TRUE(CapturedErrors().empty());
    UnhookWindowsHookEx(hook);
}

TEST_F(WallpaperPageTest, DeleteRemovesTheSelectionAndAlwaysClearsThePreview)
{
    std::wstring a = folder.Bitmap(L"a.bmp", 100, 50);
    SetItems({a, L"b", L"c", L"d"});
    ListClick(0);
    ASSERT_TRUE(Page().Preview());
    Select({});
    Click(IDC_WALLPAPER_DELETE);
    EXPECT_FALSE(Page().Preview()) << "nothing selected: only the preview goes";
    EXPECT_EQ(Ui(dialog).ItemCount(IDC_WALLPAPER_LIST), 4);

    Select({1, 3});
    Click(IDC_WALLPAPER_DELETE);
    EXPECT_EQ(Items(), (std::vector<std::wstring>{a, L"c"}));
}

TEST_F(WallpaperPageTest, UpAndDownMoveTheSelectionWithItsEntriesAndFocus)
{
    SetItems({L"a", L"b", L"c", L"d", L"e"});
    Select({1, 2, 4});
    Focus(4);
    Click(IDC_WALLPAPER_UP);
    EXPECT_EQ(Items(), (std::vector<std::wstring>{L"b", L"c", L"a", L"e", L"d"}));
    EXPECT_EQ(Selected(), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(SendMessageW(List(), LB_GETCARETINDEX, 0, 0), 3) << "the focus goes with its entry";
    // Which exchanges a selection allows is the rules' (WallpaperRulesTest); the page applies them both ways.
    Select({2});
    Click(IDC_WALLPAPER_DOWN);
    EXPECT_EQ(Items(), (std::vector<std::wstring>{L"b", L"c", L"e", L"a", L"d"}));
    EXPECT_EQ(Selected(), (std::vector<int>{3}));

    SetItems({});
    Click(IDC_WALLPAPER_UP);
    Click(IDC_WALLPAPER_DOWN);
    Click(IDC_WALLPAPER_CHANGE_NOW);
    EXPECT_TRUE(Items().empty());
    EXPECT_TRUE(systemCalls.empty());
}

TEST_F(WallpaperPageTest, PreviewOfAMissingFileRemovesItsEntryAndKeepsTheOldPicture)
{
    std::wstring small = folder.Bitmap(L"small.bmp", 100, 50);
    SetItems({small, folder / L"gone.bmp"});
    ListClick(0);
    ASSERT_TRUE(Page().Preview());
    const PreviewLayout before = *Page().Preview();
    ListClick(1);
    EXPECT_EQ(Items(), std::vector<std::wstring>{small}) << "missing entry removed";
    ASSERT_TRUE(Page().Preview());
    ASSERT_EQ(Page().Preview()->pieces.size(), before.pieces.size()) << "the old preview stays";
    EXPECT_EQ(Page().Preview()->pieces[0].from.width, before.pieces[0].from.width);
}

namespace {
constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
// The desktop's colour around a picture that does not cover the screen; the page's own colour around the screen.
const COLORREF kDesktop = GetSysColor(COLOR_DESKTOP), kPage = GetSysColor(COLOR_BTNFACE);

// A 40 x 90 picture: a red band over the top third, below it green on the left and blue on the right.
std::vector<unsigned char> BandedBitmap()
{
    constexpr int kWidth = 40, kHeight = 90, kStride = kWidth * 3;
    std::vector<unsigned char> bytes = GreyBitmap(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const COLORREF colour = y < 30 ? kRed : x < 20 ? kGreen : kBlue;
            unsigned char* pixel = &bytes[kBitmapHeaderSize + (kHeight - 1 - y) * kStride + x * 3];
            pixel[0] = GetBValue(colour);
            pixel[1] = GetGValue(colour);
            pixel[2] = GetRValue(colour);
        }
    }
    return bytes;
}

// The nearest of the picture's colours, the desktop's and the page's.
COLORREF Seen(COLORREF pixel)
{
    COLORREF nearest = CLR_INVALID;
    int best = INT_MAX;
    for (COLORREF colour : {kRed, kGreen, kBlue, kDesktop, kPage}) {
        const int r = GetRValue(pixel) - GetRValue(colour), g = GetGValue(pixel) - GetGValue(colour),
                  b = GetBValue(pixel) - GetBValue(colour);
        if (r * r + g * g + b * b < best) {
            best = r * r + g * g + b * b;
            nearest = colour;
        }
    }
    return nearest;
}
} // namespace

// Each item of 表示方法, on a 320 x 180 screen: the desktop's values it writes, and four points of the screen as
// the preview paints them (10, 10), (150, 100), (170, 70) and (300, 170), each a few pixels from any edge.
TEST_F(WallpaperPageTest, ThePreviewShowsEachStyleAsTheDesktopValuesItWritesWillLayThePicture)
{
    WriteBytes(folder / L"banded.bmp", BandedBitmap());
    SetItems({folder / L"banded.bmp"});
    ListClick(0);
    struct Row {
        int item;
        const wchar_t* tile;
        const wchar_t* style;
        COLORREF points[4];
    };
    const Row rows[] = {
        {0, L"0", L"0", {kDesktop, kGreen, kRed, kDesktop}},  // at its size in the middle
        {1, L"1", L"0", {kRed, kRed, kGreen, kBlue}},         // repeated from the corner
        {2, L"0", L"2", {kRed, kGreen, kBlue, kBlue}},        // squashed to the screen
        {3, L"0", L"6", {kDesktop, kGreen, kBlue, kDesktop}}, // whole, bands left and right
        {4, L"0", L"10", {kGreen, kGreen, kBlue, kBlue}},     // covering, the red band cut away
        {5, L"0", L"22", {kGreen, kGreen, kBlue, kBlue}},     // one screen: as fill
    };
    const POINT points[] = {{10, 10}, {150, 100}, {170, 70}, {300, 170}};
    HWND img = Ui(dialog).Control(IDC_WALLPAPER_PREVIEW);
    RECT frame;
    GetClientRect(img, &frame);
    MemoryCanvas canvas(frame.right, frame.bottom);
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_STATIC;
    item.CtlID = IDC_WALLPAPER_PREVIEW;
    item.hwndItem = img;
    item.hDC = canvas.Get();
    item.rcItem = frame;
    ASSERT_EQ(Ui(dialog).ItemCount(IDC_WALLPAPER_STYLE), 6);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.item);
        Pick(IDC_WALLPAPER_STYLE, row.item);
        WaitForPreview();
        ASSERT_TRUE(Page().OnDrawItem(&item));
        const PreviewRect screen = Page().Preview()->screen;
        for (int i = 0; i < 4; ++i) {
            const int x = screen.x + points[i].x * screen.width / 320, y = screen.y + points[i].y * screen.height / 180;
            EXPECT_EQ(Seen(GetPixel(canvas.Get(), x, y)), row.points[i]) << "point " << i;
        }
        Click(IDC_WALLPAPER_CHANGE_NOW);
        EXPECT_EQ(DesktopValue(L"TileWallpaper"), std::wstring(row.tile));
        EXPECT_EQ(DesktopValue(L"WallpaperStyle"), std::wstring(row.style));
    }
    EXPECT_NE(kDesktop, kPage) << "the screen's edge would not show";
    EXPECT_EQ(GetPixel(canvas.Get(), 0, 0), kPage) << "above the screen";

    // A small picture tiles through a block of its copies, which has to cover the screen like the picture; the
    // preview drawn before it is not kept.
    Pick(IDC_WALLPAPER_STYLE, 1);
    WaitForPreview();
    ASSERT_TRUE(Page().OnDrawItem(&item));
    SetItems({folder.Bitmap(L"tiny.bmp", 4, 3)});
    ListClick(0);
    ASSERT_TRUE(Page().OnDrawItem(&item));
    const PreviewRect screen = Page().Preview()->screen;
    for (int x = 1; x < 8; ++x) {
        EXPECT_EQ(GetPixel(canvas.Get(), screen.x + screen.width * x / 8, screen.y + screen.height * x / 8),
                  RGB(0x80, 0x80, 0x80))
            << x;
    }
}

TEST_F(WallpaperPageTest, ManualChangeAppliesTheFocusedEntryAndDropsAMissingOne)
{
    std::wstring a = folder.Bitmap(L"A.bmp"), b = folder.Bitmap(L"B.bmp");
    SetItems({a, b, folder / L"gone.bmp"});
    SetDesktopValue(L"Wallpaper", a);
    Pick(IDC_WALLPAPER_STYLE, 2);
    ListClick(0);
    Click(IDC_WALLPAPER_CHANGE_NOW);
    EXPECT_EQ(Applied(), a) << "the focused entry, not the next one";
    EXPECT_EQ(DesktopValue(L"WallpaperStyle"), std::wstring(L"2"));

    systemCalls.clear();
    Select({2});
    Focus(2);
    Click(IDC_WALLPAPER_CHANGE_NOW);
    EXPECT_TRUE(systemCalls.empty());
    EXPECT_EQ(Items(), (std::vector<std::wstring>{a, b}));
    EXPECT_EQ(DesktopValue(L"Wallpaper"), a);
}

namespace {
// The real AddDialog, answered from a timer inside its modal loop: first a folder's path, which the dialog opens,
// then the quoted names of the files in it.
struct DialogSeen {
    bool found = false;
    std::wstring filter;
    bool readOnlyShown = true;
    bool resizable = false;
};
DialogSeen seen;
UINT_PTR answerTimer = 0;
std::vector<std::wstring> answers;

BOOL CALLBACK FindOpenDialog(HWND hwnd, LPARAM result)
{
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(result) = hwnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK AnswerOpenDialog(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindOpenDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog || answers.empty()) {
        return;
    }
    constexpr int kFileTypeBox = 0x470; // cmb1
    constexpr int kReadOnlyBox = 0x410; // chx1
    // The file name box: an edit (edt1) in Wine's item dialog, a combo box (cmb13) in others.
    HWND name = GetDlgItem(dialog, 0x480) ? GetDlgItem(dialog, 0x480) : GetDlgItem(dialog, 0x47C);
    if (!seen.found) {
        seen.found = true;
        wchar_t text[256] = {};
        GetWindowTextW(GetDlgItem(dialog, kFileTypeBox), text, 256);
        seen.filter = text;
        HWND readOnly = GetDlgItem(dialog, kReadOnlyBox);
        seen.readOnlyShown = readOnly && IsWindowVisible(readOnly);
        seen.resizable = (GetWindowLongPtrW(dialog, GWL_STYLE) & WS_THICKFRAME) != 0;
    }
    SetWindowTextW(name, answers.front().c_str());
    answers.erase(answers.begin());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}
} // namespace

TEST_F(WallpaperPageTest, TheRealOpenDialogReturnsEveryChosenFileAndLeavesTheCurrentFolder)
{
    // More names than the 64K-character name buffer of the older dialog held.
    CreateDirectoryW((folder / L"chosen").c_str(), nullptr);
    std::wstring typed;
    std::vector<std::wstring> expected;
    for (int i = 0; i < 330; ++i) {
        std::wstring name = L"壁紙" + std::to_wstring(1000 + i) + std::wstring(200, L'x') + L".bmp";
        expected.push_back(folder.Bitmap(L"chosen\\" + name));
        typed += L"\"" + name + L"\" ";
    }
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(folder.Path().c_str());
    addDialog = ShowAddDialog;
    seen = {};
    answers = {folder / L"chosen", typed};
    answerTimer = SetTimer(nullptr, 0, 200, AnswerOpenDialog);
    Click(IDC_WALLPAPER_ADD);
    KillTimer(nullptr, answerTimer);
    wchar_t after[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, after);
    SetCurrentDirectoryW(previous);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(Utf8(seen.filter), "画像ファイル");
    EXPECT_FALSE(seen.readOnlyShown);
    EXPECT_TRUE(seen.resizable);
    EXPECT_EQ(std::wstring(after) + L"\\", folder.Path()) << "the folder browsed to is not left in use";
    std::vector<std::wstring> items = Items();
    std::sort(items.begin(), items.end());
    EXPECT_EQ(items, expected);
}

namespace {
int previewTicks = 0;
// A plain callback: a lambda is no stdcall function on i686.
void CALLBACK CountPreviewTick(HWND, UINT, UINT_PTR, DWORD)
{
    ++previewTicks;
}
} // namespace

// A 24-megapixel picture (a progressive one of two passes over every block) is decoded by the converter while the
// page's thread goes on: the click has returned before the picture has come, and the thread's timer keeps its
// moments until it does.
TEST_F(WallpaperPageTest, ThePreviewOfALargePictureComesWhileTheThreadGoesOn)
{
    const std::wstring large = folder / L"large.jpg";
    ASSERT_TRUE(WriteBytes(large, ArithmeticJpeg(6000, 4000, {{0, 0, 0, 0}, {1, 63, 0, 0}})));
    SetItems({large});
    Pick(IDC_WALLPAPER_STYLE, 2);
    previewTicks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, CountPreviewTick);
    Select({0});
    Focus(0);
    SendMessageW(dialog.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_WALLPAPER_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(List()));
    EXPECT_TRUE(Page().PreviewPending()) << "the click waited for the picture";
    EXPECT_FALSE(Page().Preview());
    WaitForPreview();
    KillTimer(nullptr, timer);
    EXPECT_GE(previewTicks, 2) << "the timer kept its moments";
    ASSERT_TRUE(Page().Preview());
    ASSERT_EQ(Page().Preview()->pieces.size(), 1u);
    EXPECT_EQ(Page().Preview()->pieces[0].from.width, 6000) << "laid out at its size as shown";
}

namespace {
BOOL CALLBACK FindFolderButton(HWND hwnd, LPARAM result)
{
    wchar_t text[64] = {};
    GetWindowTextW(hwnd, text, 64);
    if (std::wstring(text) == kAddFolderButtonText) {
        *reinterpret_cast<HWND*>(result) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The add dialog's own button first, then the folder picker that it opens, given the folder's path.
int foldersDialogs = 0;
std::wstring folderAnswer;
void CALLBACK AnswerWithAFolder(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindOpenDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) {
        return;
    }
    HWND button = nullptr;
    EnumChildWindows(dialog, FindFolderButton, reinterpret_cast<LPARAM>(&button));
    if (button) {
        ++foldersDialogs;
        SendMessageW(button, BM_CLICK, 0, 0);
        return;
    }
    // A dialog that stays after its answer is ended, so that the test ends too.
    if (++foldersDialogs > 2) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    HWND name = GetDlgItem(dialog, 0x480) ? GetDlgItem(dialog, 0x480) : GetDlgItem(dialog, 0x47C);
    SetWindowTextW(name, folderAnswer.c_str());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}
} // namespace

// A keyboard user adds a folder through the add dialog: its own button opens the system's folder picker.
TEST_F(WallpaperPageTest, TheAddDialogsButtonOpensTheFolderPickerWhoseFolderBecomesOneEntry)
{
    CreateDirectoryW((folder / L"chosen").c_str(), nullptr);
    folder.Bitmap(L"chosen\\a.bmp");
    addDialog = ShowAddDialog;
    foldersDialogs = 0;
    folderAnswer = folder / L"chosen";
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, AnswerWithAFolder);
    Click(IDC_WALLPAPER_ADD);
    KillTimer(nullptr, timer);
    EXPECT_EQ(foldersDialogs, 2) << "the add dialog, then the folder picker";
    EXPECT_EQ(Items(), std::vector<std::wstring>{folder / L"chosen\\"});
}

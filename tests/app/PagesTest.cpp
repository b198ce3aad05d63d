// The six pages of the settings dialog as a person sees them: texts that fit their controls, controls that
// neither overlap nor leave their sheet, every control at its place and in its font at the dialog's DPI, and the
// help page's manual (each other page's own controls are tested beside it).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "info/InfoIds.h"
#include "scheduler/SchedulerIds.h"
#include "settings/SettingsIds.h"
#include "wallpaper/WallpaperIds.h"
#include "settings/HelpText.h"
#include "app/MakePages.h"
#include "scheduler/ChimePlayer.h"
#include "support/DialogUi.h"
#include "support/CommonControls6.h"
#include "support/PagesTestSupport.h"

SettingsPages PagesUnderTest()
{
    static ChimePlayer player;
    return MakeSettingsPages(player);
}
#include "base/Window.h"
#include "base/Handles.h"

namespace {
// What a push button's frame and focus rectangle take from its width, and the gap between a check box's
// box and its text; the group box caption starts a little way in from the frame's corner.
constexpr int kButtonFrame = 8;
constexpr int kCheckGap = 6;
constexpr int kGroupCaptionInset = 16;
// Room a drop-down's edit part loses to its border and inner margins besides the arrow button.
constexpr int kComboFrame = 8;
constexpr int kReminderTimers = 2;
constexpr int kWeekdays = 7;

// The character heights of the layout: the version page's labels (title, then the others up to the home page
// link) and O K have their own, everything else the dialog's.
int DesignFontPx(int id)
{
    const bool ownText = (id > IDC_TITLE_VERSION && id <= IDC_HOMEPAGE_LINK) || id == IDC_OKBTN;
    return id == IDC_TITLE_VERSION ? 33 : ownText ? 20 : 15;
}

bool IsGroupBox(HWND hwnd)
{
    return IsClass(hwnd, WC_BUTTONW) && (Style(hwnd) & BS_TYPEMASK) == BS_GROUPBOX;
}

std::vector<HWND> ChildrenOf(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

bool Contains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

struct TextExtent {
    SIZE size;
    // The room above the characters that the font's line height includes.
    int leading;
};

// What the text takes in the control's own font, line breaks included.
TextExtent MeasureText(HWND control, const std::wstring& text, UINT format)
{
    WindowDC dc(control);
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    SelectInDC select(dc.Get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    RECT rc = {};
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rc, format | DT_CALCRECT);
    TEXTMETRICW tm = {};
    GetTextMetricsW(dc.Get(), &tm);
    return {{rc.right - rc.left, rc.bottom - rc.top}, static_cast<int>(tm.tmInternalLeading)};
}

SIZE TextSize(HWND control, const std::wstring& text, UINT format)
{
    return MeasureText(control, text, format).size;
}

std::string Describe(HWND control)
{
    return Utf8(ClassOf(control)) + " #" + std::to_string(GetDlgCtrlID(control)) + " \"" + Utf8(WindowText(control)) +
           "\"";
}

// Whether two controls are meant to lie on each other: a group box around its contents, a weekday
// indicator on its weekday button, the preview inside its sunken panel.
bool DesignedOverlap(HWND a, HWND b)
{
    for (int pass = 0; pass < 2; ++pass) {
        if (IsGroupBox(a) && Contains(RectInParent(a), RectInParent(b))) {
            return true;
        }
        int idA = GetDlgCtrlID(a);
        int idB = GetDlgCtrlID(b);
        for (int timer = 0; timer < kReminderTimers; ++timer) {
            int offset = timer * (IDC_REMINDER2_GROUP - IDC_REMINDER1_GROUP);
            for (int day = 0; day < kWeekdays; ++day) {
                if (idA == IDC_REMINDER1_WEEKDAY1_INDICATOR + offset + day &&
                    idB == IDC_REMINDER1_WEEKDAY1 + offset + day) {
                    return true;
                }
            }
        }
        if (idA == IDC_WALLPAPER_PREVIEW && idB == IDC_WALLPAPER_PREVIEW_FRAME) {
            return true;
        }
        std::swap(a, b);
    }
    return false;
}

int FontHeightOf(HWND control)
{
    LOGFONTW lf = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    return lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
}

// Edges of a rectangle, as bits.
constexpr int kLeft = 1, kTop = 2, kRight = 4, kBottom = 8, kAllEdges = 15;

// The given edges (left, top, right, bottom) of a control's place against its layout rectangle at a DPI.
void ExpectEdgesAt(HWND control, const RECT& design, int dpi, int edges, const std::string& what)
{
    const RECT actual = RectInParent(control);
    const LONG got[] = {actual.left, actual.top, actual.right, actual.bottom};
    const LONG want[] = {design.left, design.top, design.right, design.bottom};
    for (int i = 0; i < 4; ++i) {
        if (edges & (1 << i)) {
            EXPECT_NEAR(got[i], AtDpi(want[i], dpi), 1) << what << ", edge " << i;
        }
    }
}

// The frame and every control of every page at its layout rectangle scaled to a DPI, in its font scaled alike.
void ExpectLaidOutAt(const SettingsDialog& dialog, int dpi)
{
    EXPECT_EQ(dialog.Dpi(), dpi);
    ExpectEdgesAt(Ui(dialog).Control(IDC_OKBTN), {468, 396, 578, 428}, dpi, kAllEdges, "O K");
    ExpectEdgesAt(Ui(dialog).Control(IDC_PAGECONTROL), {8, 8, 580, 388}, dpi, kAllEdges, "page control");
    for (int id : {IDC_OKBTN, IDC_PAGECONTROL}) {
        EXPECT_NEAR(FontHeightOf(Ui(dialog).Control(id)), AtDpi(DesignFontPx(id), dpi), 1) << id;
    }
    for (int sheetId : kSheetIds) {
        // A group box lies below the controls inside it, so that its frame does not clip them.
        const std::vector<HWND> children = ChildrenOf(GetDlgItem(dialog.Hwnd(), sheetId));
        for (std::size_t box = 0; box < children.size(); ++box) {
            for (std::size_t below = box + 1; IsGroupBox(children[box]) && below < children.size(); ++below) {
                EXPECT_FALSE(Contains(RectInParent(children[box]), RectInParent(children[below])))
                    << Describe(children[below]) << " lies below its group box";
            }
        }
        for (HWND control : children) {
            const std::string what = Describe(control);
            const std::optional<RECT> design = dialog.DesignRect(control);
            ASSERT_TRUE(design) << what << " comes from no table";
            // The information page's blocks take the size of their text, its memory figures the width of the widest
            // figure, with their units behind them, the version page's links the width of their text; a drop-down's
            // field is as tall as its font makes it (its height in the table is the open list's).
            const int id = GetDlgCtrlID(control);
            const bool memoryColumn = id == IDC_MEMORY_TOTAL || id == IDC_MEMORY_FREE || id == IDC_MEMORY_LOAD ||
                                      id == IDC_MEMORY_TOTAL_UNIT || id == IDC_MEMORY_FREE_UNIT ||
                                      id == IDC_MEMORY_LOAD_UNIT;
            const bool link = id == IDC_MAIL_LINK || id == IDC_HOMEPAGE_LINK;
            const int edges = design->right == design->left    ? kLeft | kTop
                              : memoryColumn                   ? kTop | kBottom
                              : IsClass(control, WC_COMBOBOXW) ? kLeft | kTop | kRight
                              : link                           ? kLeft | kTop | kBottom
                                                               : kAllEdges;
            ExpectEdgesAt(control, *design, dpi, edges, what);
            EXPECT_NEAR(FontHeightOf(control), AtDpi(DesignFontPx(GetDlgCtrlID(control)), dpi), 1) << what;
        }
    }
}

// The dialog's controls and those of its sheets: id, place and character height.
ChildPlaces Snapshot(HWND dialog)
{
    ChildPlaces places = ChildPlacesOf(dialog);
    for (int sheetId : kSheetIds) {
        const ChildPlaces onSheet = ChildPlacesOf(GetDlgItem(dialog, sheetId));
        places.insert(places.end(), onSheet.begin(), onSheet.end());
    }
    return places;
}

std::vector<std::wstring> SplitLines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find(L"\r\n", start);
        lines.push_back(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos) {
            return lines;
        }
        start = end + 2;
    }
}

} // namespace

TEST_F(PagesTest, EveryControlStandsAtItsTableRectangleScaledToTheDialogsDpi)
{
    const int dpi = dialog_.Dpi();
    EXPECT_EQ(dpi, WindowDpi(dialog_.Hwnd()));
    RECT client;
    GetClientRect(dialog_.Hwnd(), &client);
    EXPECT_NEAR(client.right, AtDpi(SettingsDialog::kClientWidth, dpi), 1);
    EXPECT_NEAR(client.bottom, AtDpi(SettingsDialog::kClientHeight, dpi), 1);
    ExpectLaidOutAt(dialog_, dpi);
}

TEST_F(PagesTest, AnotherDpiLaysEveryPageOutAnewAndTheFirstOneExactlyAsBefore)
{
    // The information page's blocks are sized to their texts once built.
    dialog_.SelectPage(kInfoPageIndex);
    const int dpi = dialog_.Dpi();
    const int other = dpi == 96 ? 144 : 96;
    const auto before = Snapshot(dialog_.Hwnd());
    ASSERT_TRUE(MoveToDpi(dialog_.Hwnd(), other));
    ExpectLaidOutAt(dialog_, other);
    ASSERT_TRUE(MoveToDpi(dialog_.Hwnd(), dpi));
    EXPECT_EQ(Snapshot(dialog_.Hwnd()), before);
}

TEST_F(PagesTest, EveryCaptionFitsItsControl)
{
    int checkBox = GetSystemMetrics(SM_CXMENUCHECK);
    for (int page = 0; page < SettingsDialog::kPageCount; ++page) {
        for (HWND control : ChildrenOf(Sheet(page))) {
            std::wstring text = WindowText(control);
            if (text.empty()) {
                continue;
            }
            RECT client;
            GetClientRect(control, &client);
            LONG style = Style(control);
            SCOPED_TRACE("page " + std::to_string(page) + ", " + Describe(control));
            if (IsClass(control, WC_STATICW)) {
                // A label is designed as tall as its characters (15 px labels for 15 px characters); the
                // leading the font adds to a line is room it may go without.
                TextExtent extent = MeasureText(control, text, (style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
                EXPECT_LE(extent.size.cx, client.right);
                EXPECT_LE(extent.size.cy - extent.leading, client.bottom);
            } else if (IsClass(control, WC_BUTTONW)) {
                SIZE size = TextSize(control, text, DT_SINGLELINE);
                LONG type = style & BS_TYPEMASK;
                if (type == BS_GROUPBOX) {
                    EXPECT_LE(size.cx + kGroupCaptionInset, client.right);
                } else if ((type == BS_AUTOCHECKBOX || type == BS_CHECKBOX) && !(style & BS_PUSHLIKE)) {
                    EXPECT_LE(checkBox + kCheckGap + size.cx, client.right);
                    EXPECT_LE(size.cy, client.bottom);
                } else {
                    EXPECT_LE(size.cx + kButtonFrame, client.right);
                    EXPECT_LE(size.cy + kButtonFrame / 2, client.bottom);
                }
            }
        }
    }
}

TEST_F(PagesTest, EveryDropDownItemFitsItsDropDown)
{
    int arrow = GetSystemMetrics(SM_CXVSCROLL);
    for (int page = 0; page < SettingsDialog::kPageCount; ++page) {
        for (HWND control : ChildrenOf(Sheet(page))) {
            if (!IsClass(control, WC_COMBOBOXW)) {
                continue;
            }
            RECT client;
            GetClientRect(control, &client);
            int count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                int len = static_cast<int>(SendMessageW(control, CB_GETLBTEXTLEN, i, 0));
                std::wstring item(static_cast<std::size_t>(len) + 1, L'\0');
                SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
                item.resize(static_cast<std::size_t>(len));
                SCOPED_TRACE("page " + std::to_string(page) + ", " + Describe(control) + " item " + Utf8(item));
                EXPECT_LE(TextSize(control, item, DT_SINGLELINE | DT_NOPREFIX).cx + arrow + kComboFrame, client.right);
            }
        }
    }
}

// With the program's common controls, an open list shows every item (none has 30), whatever height the table
// gives its drop-down. Lists open only where the user sees them.
TEST(PagesDropDownTest, EveryOpenListShowsAllItsItems)
{
    CommonControls6 controls6;
    ASSERT_TRUE(controls6.Active());
    SettingsDialog dialog(TestErrors(), TestLoop(), PagesUnderTest());
    ASSERT_TRUE(dialog.Create(nullptr, false));
    ShowWindow(dialog.Hwnd(), SW_SHOWNOACTIVATE);
    for (int sheetId : kSheetIds) {
        ShowWindow(GetDlgItem(dialog.Hwnd(), sheetId), SW_SHOWNA);
        for (HWND control : ChildrenOf(GetDlgItem(dialog.Hwnd(), sheetId))) {
            if (IsClass(control, WC_COMBOBOXW)) {
                SendMessageW(control, CB_SHOWDROPDOWN, TRUE, 0);
                COMBOBOXINFO info = {sizeof(info)};
                GetComboBoxInfo(control, &info);
                RECT list = {};
                GetClientRect(info.hwndList, &list);
                SendMessageW(control, CB_SHOWDROPDOWN, FALSE, 0);
                EXPECT_GE(list.bottom,
                          SendMessageW(control, CB_GETCOUNT, 0, 0) * SendMessageW(control, CB_GETITEMHEIGHT, 0, 0))
                    << Describe(control);
            }
        }
    }
}

TEST_F(PagesTest, ControlsStayInsideTheirSheetAndOverlapOnlyByDesign)
{
    for (int page = 0; page < SettingsDialog::kPageCount; ++page) {
        HWND sheet = Sheet(page);
        RECT sheetRect;
        GetClientRect(sheet, &sheetRect);
        std::vector<HWND> controls = ChildrenOf(sheet);
        ASSERT_FALSE(controls.empty());
        for (std::size_t i = 0; i < controls.size(); ++i) {
            RECT a = RectInParent(controls[i]);
            EXPECT_TRUE(Contains(sheetRect, a)) << "page " << page << ": " << Describe(controls[i]);
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                RECT b = RectInParent(controls[j]);
                RECT both;
                if (IntersectRect(&both, &a, &b) && !DesignedOverlap(controls[i], controls[j])) {
                    ADD_FAILURE() << "page " << page << ": " << Describe(controls[i]) << " overlaps "
                                  << Describe(controls[j]);
                }
            }
        }
    }
}

TEST(PagesHelpTextTest, ManualHasItsLinesSectionsAndPageParts)
{
    std::vector<std::wstring> lines = SplitLines(HelpText());
    ASSERT_GT(lines.size(), 2u);
    EXPECT_TRUE(lines[0].empty());
    EXPECT_FALSE(lines[1].empty());
    EXPECT_EQ(lines[1].find_first_not_of(L'\u3000'), std::wstring::npos) << Utf8(lines[1]);

    const wchar_t* const headings[] = {
        L"\u3000\u3000Sorabune\u3000について",
        L"\u3000\u3000Sorabune\u3000の取扱方法",
        L"\u3000\u3000Sorabune\u3000の終了",
        L"\u3000\u3000Sorabune\u3000の設定",
        L"\u3000\u3000Sorabune\u3000の設定方法",
        L" ＊「基本設定」では下記の設定ができます",
        L" ＊「お知らせタイマー」では、タイマーを２つまで設定できます",
        L" ＊「壁紙チェンジャー」では、手動又は自動で壁紙を変更できます",
        L" ＊「各種情報」",
        L" ＊「ヘルプ」\u3000この説明文",
        L" ＊「バージョン」",
    };
    auto previous = lines.begin() + 1;
    for (const wchar_t* heading : headings) {
        auto at = std::find(previous + 1, lines.end(), std::wstring(heading));
        ASSERT_NE(at, lines.end()) << "missing or out of order: " << Utf8(heading);
        previous = at;
    }
}

// The manual speaks of the tabs, buttons and choices by their texts in 「」, and of a run of them (the chimes, the
// weekdays) by its ends, 「first」～「last」: a text changed on either side shows here.
TEST_F(PagesTest, ManualNamesEveryTabButtonAndChoiceByItsText)
{
    const std::wstring manual = HelpText();
    const auto named = [&](const std::wstring& text) {
        return manual.find(L"「" + text + L"」") != std::wstring::npos;
    };
    // Each drop-down's items are a run, so are neighbouring toggles of one character; any other text stands alone.
    std::vector<std::vector<std::wstring>> runs;
    HWND tabs = Ui(dialog_).Control(IDC_PAGECONTROL);
    for (int i = 0; i < SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0); ++i) {
        wchar_t text[64] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        runs.push_back({text});
    }
    bool inWeekdays = false;
    for (int page = 0; page < SettingsDialog::kPageCount; ++page) {
        for (HWND control : ChildrenOf(Sheet(page))) {
            if (IsClass(control, WC_STATICW)) {
                continue;
            }
            const std::wstring text = WindowText(control);
            const bool weekday = IsClass(control, WC_BUTTONW) && (Style(control) & BS_PUSHLIKE) && text.size() == 1;
            if (IsClass(control, WC_COMBOBOXW)) {
                runs.emplace_back();
                for (int i = 0; i < DropDown(control).ItemCount(); ++i) {
                    runs.back().push_back(DropDown(control).ItemText(i));
                }
            } else if (weekday && inWeekdays) {
                runs.back().push_back(text);
            } else if (IsClass(control, WC_BUTTONW) && !IsGroupBox(control)) {
                runs.push_back({text});
            }
            inWeekdays = weekday;
        }
    }
    for (const std::vector<std::wstring>& run : runs) {
        const bool byItsEnds = manual.find(L"「" + run.front() + L"」～「" + run.back() + L"」") != std::wstring::npos;
        for (const std::wstring& text : run) {
            EXPECT_TRUE(named(text) || byItsEnds) << Utf8(text);
        }
    }
    EXPECT_NE(manual.find(L"の " + Ui(dialog_).Text(IDC_OKBTN) + L" を押す"), std::wstring::npos);
}

// Tab goes round each page as it is laid out, top to bottom and left to right, between the page control and O K.
// The reminder page's own test walks its two groups.
TEST_F(PagesTest, TabVisitsEveryPageInLayoutOrder)
{
    const struct {
        PageIndex page;
        std::vector<int> order;
    } pages[] = {
        {kChimePageIndex,
         {IDC_PAGECONTROL, IDC_TIMERWAVEONOFF, IDC_TIMERWAVE, IDC_TIMERWAVEPLAY, IDC_TIMERWAVEADD, IDC_TIMERWAVEDEL,
          IDC_STARTUPONOFF, IDC_OKBTN}},
        {kWallpaperPageIndex,
         {IDC_PAGECONTROL, IDC_WALLPAPER_LIST, IDC_WALLPAPER_ADD, IDC_WALLPAPER_DELETE, IDC_WALLPAPER_UP,
          IDC_WALLPAPER_DOWN, IDC_WALLPAPER_CHANGE_NOW, IDC_WALLPAPER_STYLE, IDC_WALLPAPER_ORDER,
          IDC_WALLPAPER_CHANGE_TIME, IDC_OKBTN}},
        {kInfoPageIndex, {IDC_PAGECONTROL, IDC_OKBTN}},
        {kHelpPageIndex, {IDC_PAGECONTROL, IDC_HELP_TEXT, IDC_OKBTN}},
        {kVersionPageIndex, {IDC_PAGECONTROL, IDC_MAIL_LINK, IDC_HOMEPAGE_LINK, IDC_OKBTN}},
    };
    constexpr std::size_t kMostSteps = 40;
    for (const auto& [page, order] : pages) {
        dialog_.SelectPage(page);
        HWND first = Ui(dialog_).Control(IDC_PAGECONTROL);
        std::vector<int> visited;
        HWND control = first;
        do {
            visited.push_back(GetDlgCtrlID(control));
            control = GetNextDlgTabItem(dialog_.Hwnd(), control, FALSE);
        } while (control && control != first && visited.size() < kMostSteps);
        EXPECT_EQ(visited, order) << "page " << page;
    }
}

TEST_F(PagesTest, HelpMemoShowsTheManualReadOnlyWithoutWrappingALine)
{
    HWND memo = Ui(dialog_).Control(IDC_HELP_TEXT);
    LONG style = Style(memo);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_EQ(Ui(dialog_).Text(IDC_HELP_TEXT), HelpText());

    // The memo wraps what is too wide, so a wrapped line shows as an extra line.
    EXPECT_EQ(SendMessageW(memo, EM_GETLINECOUNT, 0, 0), static_cast<LRESULT>(SplitLines(HelpText()).size()));
    RECT format;
    SendMessageW(memo, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    for (const std::wstring& line : SplitLines(HelpText())) {
        EXPECT_LE(TextSize(memo, line, DT_SINGLELINE | DT_NOPREFIX).cx, format.right - format.left) << Utf8(line);
    }
}

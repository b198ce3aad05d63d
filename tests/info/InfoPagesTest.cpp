// The information and version pages in the real settings dialog: the blocks built on selection and sized to
// their text, the memory figures of this machine, and the links' look, cursor and targets.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "info/InfoPage.h"
#include "info/VersionPage.h"
#include "info/InfoIds.h"
#include "support/DialogUi.h"
#include "support/BlankPages.h"
#include "settings/SettingsDialog.h"
#include "base/Dpi.h"
#include "base/Handles.h"
#include "base/HighContrast.h"
#include "base/MessageLoop.h"
#include "support/TestSupport.h"

namespace {
constexpr int kHelpPage = 4;

struct OpenCall {
    HWND owner;
    std::wstring verb, file, parameters, directory;
    int show;
};
std::vector<OpenCall>& OpenCalls()
{
    static std::vector<OpenCall> calls;
    return calls;
}
HINSTANCE WINAPI RecordOpen(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, INT show)
{
    OpenCalls().push_back({owner, verb ? verb : L"", file ? file : L"", parameters ? parameters : L"",
                           directory ? directory : L"", show});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

std::wstring Environment(const wchar_t* name)
{
    wchar_t value[256] = {};
    return GetEnvironmentVariableW(name, value, 256) < 256 ? value : L"";
}

SIZE ClientSize(HWND hwnd)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    return {rc.right, rc.bottom};
}

SIZE TextSizeIn(HWND control)
{
    std::wstring text = WindowText(control);
    WindowDC dc(control);
    SelectInDC select(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT rc = {};
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rc, DT_CALCRECT | DT_NOPREFIX);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

class InfoPagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialog_.Create(nullptr, false));
        OpenCalls().clear();
    }

    // The drives block asks drives_, whatever a test puts there.
    DriveQueries Drives()
    {
        DriveQueries drives;
        drives.driveType = [this](const std::wstring& root) { return drives_.driveType(root); };
        drives.diskSpace = [this](const std::wstring& root, std::uint64_t* freeToCaller, std::uint64_t* total) {
            return drives_.diskSpace(root, freeToCaller, total);
        };
        return drives;
    }

    std::string Text(int id) const { return Utf8(Ui(dialog_).Text(id)); }
    LOGFONTW FontOf(int id) const
    {
        LOGFONTW lf = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Ui(dialog_).Control(id), WM_GETFONT, 0, 0)), sizeof(lf), &lf);
        return lf;
    }
    // The text colour the dialog gives a label when it paints it.
    COLORREF PaintColour(int id)
    {
        MemoryDC dc(CreateCompatibleDC(nullptr));
        SetTextColor(dc.Get(), RGB(1, 2, 3));
        SendMessageW(dialog_.Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                     reinterpret_cast<LPARAM>(Ui(dialog_).Control(id)));
        return GetTextColor(dc.Get());
    }

    // The system's drives unless a test puts in its own.
    DriveQueries drives_ = SystemDriveQueries();
    // The links open through RecordOpen.
    SettingsDialog dialog_{TestErrors(), TestLoop(),
                           With(With(BlankPages(), kInfoPageIndex, MakeInfoPage(Drives())), kVersionPageIndex,
                                MakeVersionPage(RecordOpen))};
};
} // namespace

TEST_F(InfoPagesTest, BlocksAreBuiltWhenThePageIsSelectedAndSizedToTheirText)
{
    EXPECT_EQ(Text(IDC_DRIVES), "");
    dialog_.SelectPage(kHelpPage);
    EXPECT_EQ(Text(IDC_NAMES), "") << "built only for the information page";

    dialog_.SelectPage(kInfoPageIndex);
    // Known another way than the page asks: the names Wine puts into every process's environment, and the
    // test session's screen (scripts/wine-session: Xvfb and virtual desktop of 1024 x 768, the prefix's DPI, which
    // its windows have).
    const std::wstring computer = Environment(L"COMPUTERNAME");
    const std::wstring user = Environment(L"USERNAME");
    ASSERT_FALSE(computer.empty() || user.empty());
    EXPECT_EQ(Ui(dialog_).Text(IDC_NAMES), L"コンピュータ名  " + computer + L"\r\nログイン名  " + user);
    EXPECT_EQ(Text(IDC_SCREEN), "現在のモニタの\r\n  サイズ  1024 X 768\r\n  解像度  " +
                                    std::to_string(WindowDpi(dialog_.Hwnd())) + " dpi");
    // Wine's drive C is a fixed drive.
    std::string drives = Text(IDC_DRIVES);
    EXPECT_EQ(drives.rfind("C:\\ ドライブの\r\n全容量  ", 0), 0u) << drives;
    for (int id : {IDC_NAMES, IDC_SCREEN, IDC_DRIVES}) {
        SIZE client = ClientSize(Ui(dialog_).Control(id));
        SIZE text = TextSizeIn(Ui(dialog_).Control(id));
        if (id == IDC_DRIVES && client.cy < text.cy) {
            // The session has more drives than the page holds (its test drive T: counts too): they scroll.
            EXPECT_TRUE(GetWindowLongPtrW(Ui(dialog_).Control(id), GWL_STYLE) & WS_VSCROLL) << drives;
            continue;
        }
        EXPECT_EQ(client.cx, text.cx) << id;
        EXPECT_EQ(client.cy, text.cy) << id;
    }
}

// Twenty-six fixed drives of five terabytes: the drives block stays inside the page, and scrolled a line at a
// time it shows, row by row, what a plain label of the whole text shows: every drive's lines, whole and alike.
TEST_F(InfoPagesTest, EachOfTwentySixDrivesScrollsIntoViewInsideThePage)
{
    drives_.driveType = [](const std::wstring&) { return static_cast<unsigned>(DRIVE_FIXED); };
    drives_.diskSpace = [](const std::wstring&, std::uint64_t* freeToCaller, std::uint64_t* total) {
        *freeToCaller = *total = 5000000000000ull;
        return true;
    };
    dialog_.SelectPage(kInfoPageIndex);

    HWND block = Ui(dialog_).Control(IDC_DRIVES);
    RECT shown = {};
    RECT page = {};
    GetWindowRect(block, &shown);
    GetWindowRect(GetParent(block), &page);
    EXPECT_TRUE(shown.right <= page.right && shown.bottom <= page.bottom) << shown.right << " " << shown.bottom;
    RECT view = {};
    GetClientRect(block, &view);
    HWND plain = CreateWindowExW(0, WC_STATICW, Ui(dialog_).Text(IDC_DRIVES).c_str(), WS_CHILD | SS_LEFT | SS_NOPREFIX,
                                 0, 0, view.right, 4000, GetParent(block), nullptr, nullptr, nullptr);
    SendMessageW(plain, WM_SETFONT, SendMessageW(block, WM_GETFONT, 0, 0), FALSE);
    const ClientPicture whole = PrintClient(plain);
    DestroyWindow(plain);
    int textRows = 0;
    for (int i = 0; i < whole.width * whole.height; ++i) {
        textRows = whole.pixels[i] != whole.pixels.back() ? i / whole.width + 1 : textRows;
    }
    ASSERT_GT(textRows, view.bottom) << "more drives than the page holds";

    int seenRows = 0;
    for (int pos = 0, before = -1; pos != before; before = pos, pos = GetScrollPos(block, SB_VERT)) {
        const ClientPicture part = PrintClient(block);
        int differing = 0;
        for (int i = 0; i < part.width * part.height; ++i) {
            differing += part.pixels[i] != whole.At(i % part.width, pos + i / part.width);
        }
        EXPECT_EQ(differing, 0) << "scrolled by " << pos;
        seenRows = pos + part.height;
        SendMessageW(block, WM_VSCROLL, SB_LINEDOWN, 0);
    }
    EXPECT_GE(seenRows, textRows) << "the last drive's lines come into view";
}

TEST_F(InfoPagesTest, BlocksKeepTheirTextUntilThePageIsSelectedAgain)
{
    dialog_.SelectPage(kInfoPageIndex);
    Ui(dialog_).SetText(IDC_SCREEN, L"old");
    dialog_.SelectPage(0);
    EXPECT_EQ(Text(IDC_SCREEN), "old");
    dialog_.SelectPage(kInfoPageIndex);
    EXPECT_EQ(Text(IDC_SCREEN).rfind("現在のモニタの", 0), 0u);
}

TEST_F(InfoPagesTest, MemoryLabelsShowThisMachinesFigures)
{
    EXPECT_EQ(Text(IDC_MEMORY_TOTAL), "0");
    static_cast<InfoPage&>(dialog_.Page(kInfoPageIndex)).UpdateMemoryFigures();
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    EXPECT_EQ(std::stoull(Text(IDC_MEMORY_TOTAL)), status.ullTotalPhys / 1024);
    // Free memory moves between the two readings; it stays within the installed memory.
    EXPECT_LE(std::stoull(Text(IDC_MEMORY_FREE)), status.ullTotalPhys / 1024);
    int load = std::stoi(Text(IDC_MEMORY_LOAD));
    EXPECT_GE(load, 0);
    EXPECT_LE(load, 100);
}

// Ten digits of kilobytes are 9.5 GB of memory or more; at the session's DPI each figure shows them whole, apart
// from its caption and its unit.
TEST_F(InfoPagesTest, WidestMemoryFiguresShowWholeBetweenCaptionAndUnit)
{
    const int rows[][3] = {{IDC_MEMORY_TOTAL_CAPTION, IDC_MEMORY_TOTAL, IDC_MEMORY_TOTAL_UNIT},
                           {IDC_MEMORY_FREE_CAPTION, IDC_MEMORY_FREE, IDC_MEMORY_FREE_UNIT},
                           {IDC_MEMORY_LOAD_CAPTION, IDC_MEMORY_LOAD, IDC_MEMORY_LOAD_UNIT}};
    for (const auto& [captionId, figureId, unitId] : rows) {
        HWND figure = Ui(dialog_).Control(figureId);
        for (wchar_t digit = L'0'; digit <= L'9'; ++digit) {
            SetWindowTextW(figure, std::wstring(10, digit).c_str());
            EXPECT_LE(TextSizeIn(figure).cx, ClientSize(figure).cx) << figureId << " " << static_cast<char>(digit);
        }
        const RECT caption = RectInParent(Ui(dialog_).Control(captionId)), place = RectInParent(figure),
                   unit = RectInParent(Ui(dialog_).Control(unitId));
        EXPECT_LE(caption.right, place.left) << figureId;
        EXPECT_LT(place.right, unit.left) << figureId;
        EXPECT_GE(unit.right - unit.left, TextSizeIn(Ui(dialog_).Control(unitId)).cx) << unitId;
    }
}

// The links are underlined in the system's link colour at all times; the pointer makes one bold.
TEST_F(InfoPagesTest, LinksAreUnderlinedInTheLinkColourAndTurnBoldUnderThePointerEachOnItsOwn)
{
    dialog_.SelectPage(kVersionPageIndex);
    const COLORREF linkColour = LinkColour(false, GetSysColor(COLOR_HOTLIGHT), GetSysColor(COLOR_BTNFACE));
    HWND mail = Ui(dialog_).Control(IDC_MAIL_LINK);
    EXPECT_EQ(PaintColour(IDC_MAIL_LINK), linkColour);
    EXPECT_LT(FontOf(IDC_MAIL_LINK).lfWeight, FW_BOLD);

    SendMessageW(mail, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(PaintColour(IDC_MAIL_LINK), linkColour);
    EXPECT_GE(FontOf(IDC_MAIL_LINK).lfWeight, FW_BOLD);
    EXPECT_TRUE(FontOf(IDC_MAIL_LINK).lfUnderline);
    EXPECT_EQ(PaintColour(IDC_HOMEPAGE_LINK), linkColour) << "the other link stays as it was";
    EXPECT_LT(FontOf(IDC_HOMEPAGE_LINK).lfWeight, FW_BOLD);

    // A click leaves the link pointed at.
    SendMessageW(dialog_.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_MAIL_LINK, STN_CLICKED), reinterpret_cast<LPARAM>(mail));
    EXPECT_EQ(PaintColour(IDC_MAIL_LINK), linkColour);

    SendMessageW(mail, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(PaintColour(IDC_MAIL_LINK), linkColour);
    EXPECT_LT(FontOf(IDC_MAIL_LINK).lfWeight, FW_BOLD);
    EXPECT_EQ(FontOf(IDC_MAIL_LINK).lfHeight, -Scale(20, dialog_.Dpi()));
    EXPECT_TRUE(FontOf(IDC_MAIL_LINK).lfUnderline);

    HWND homepage = Ui(dialog_).Control(IDC_HOMEPAGE_LINK);
    SendMessageW(homepage, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(PaintColour(IDC_HOMEPAGE_LINK), linkColour);
    EXPECT_EQ(PaintColour(IDC_MAIL_LINK), linkColour);
    SendMessageW(homepage, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(PaintColour(IDC_HOMEPAGE_LINK), linkColour);
}

TEST_F(InfoPagesTest, LinksShowTheHandAndOpenWhatTheyShowOnAClickOrOnEnter)
{
    dialog_.SelectPage(kVersionPageIndex);
    for (int id : {IDC_MAIL_LINK, IDC_HOMEPAGE_LINK}) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        SendMessageW(Ui(dialog_).Control(id), WM_SETCURSOR, reinterpret_cast<WPARAM>(Ui(dialog_).Control(id)),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND)) << id;
        SendMessageW(dialog_.Hwnd(), WM_COMMAND, MAKEWPARAM(id, STN_CLICKED),
                     reinterpret_cast<LPARAM>(Ui(dialog_).Control(id)));
    }
    ASSERT_EQ(OpenCalls().size(), 2u);
    EXPECT_EQ(OpenCalls()[0].file, L"mailto:" + Ui(dialog_).Text(IDC_MAIL_LINK));
    EXPECT_EQ(OpenCalls()[1].file, Ui(dialog_).Text(IDC_HOMEPAGE_LINK));
    for (const OpenCall& call : OpenCalls()) {
        EXPECT_EQ(call.owner, dialog_.Hwnd());
        EXPECT_EQ(call.verb, L"OPEN");
        EXPECT_EQ(call.parameters, L"");
        EXPECT_EQ(call.directory, L"");
        EXPECT_EQ(call.show, SW_SHOW);
    }
    // From the keyboard: the focused link looks pointed, and Enter opens it rather than pressing O K.
    ShowWindow(dialog_.Hwnd(), SW_SHOW);
    HWND homepage = Ui(dialog_).Control(IDC_HOMEPAGE_LINK);
    SetFocus(homepage);
    EXPECT_EQ(FontOf(IDC_HOMEPAGE_LINK).lfWeight, FW_BOLD);
    PostMessageW(homepage, WM_KEYDOWN, VK_RETURN, 1);
    ProcessPendingMessages();
    ASSERT_EQ(OpenCalls().size(), 3u);
    EXPECT_EQ(OpenCalls()[2].file, Ui(dialog_).Text(IDC_HOMEPAGE_LINK));
    EXPECT_TRUE(dialog_.IsVisible());
    SetFocus(Ui(dialog_).Control(IDC_MAIL_LINK));
    EXPECT_LT(FontOf(IDC_HOMEPAGE_LINK).lfWeight, FW_BOLD) << "the focus gone, the link looks as before";
    // The placeholders stay on the reserved example domains.
    EXPECT_NE(Utf8(Ui(dialog_).Text(IDC_MAIL_LINK)).find("@example."), std::string::npos);
    EXPECT_NE(Utf8(Ui(dialog_).Text(IDC_HOMEPAGE_LINK)).find("://www.example."), std::string::npos);
}

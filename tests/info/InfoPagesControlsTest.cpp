// The information and version pages in the real settings dialog as a person first sees them: the labels at
// their places, the version page's title, date and links in their fonts.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "info/InfoIds.h"
#include "info/InfoPage.h"
#include "info/VersionPage.h"
#include "support/DialogUi.h"
#include "support/PagesTestSupport.h"

SettingsPages PagesUnderTest()
{
    return With(With(BlankPages(), kInfoPageIndex, MakeInfoPage(SystemDriveQueries())), kVersionPageIndex,
                MakeVersionPage(ShellExecuteW));
}

TEST_F(PagesTest, InformationPageLabelsStandAtTheirPlaces)
{
    struct Expected {
        int id;
        int left, top;
        const char* text;
    };
    // Right-aligned captions are checked by their right edge, the edge their text keeps.
    const Expected labels[] = {
        {IDC_NAMES, 34, 36, ""},          {IDC_MEMORY_TOTAL, 132, 80, "0"}, {IDC_MEMORY_FREE, 132, 100, "0"},
        {IDC_MEMORY_LOAD, 132, 120, "0"}, {IDC_SCREEN, 310, 80, ""},        {IDC_DRIVES, 37, 148, ""},
    };
    const int dpi = dialog_.Dpi();
    for (const Expected& e : labels) {
        RECT rc = Place(e.id);
        EXPECT_NEAR(rc.left, AtDpi(e.left, dpi), 1) << e.id;
        EXPECT_NEAR(rc.top, AtDpi(e.top, dpi), 1) << e.id;
        EXPECT_EQ(Caption(e.id), e.text) << e.id;
    }
    const Expected captions[] = {
        {IDC_MEMORY_TOTAL_CAPTION, 34 + 95, 80, "物理メモリ容量"},
        {IDC_MEMORY_FREE_CAPTION, 34 + 95, 100, "空きメモリ容量"},
        {IDC_MEMORY_LOAD_CAPTION, 34 + 95, 120, "メモリ使用率"},
    };
    for (const Expected& e : captions) {
        RECT rc = Place(e.id);
        EXPECT_NEAR(rc.right, AtDpi(e.left, dpi), 1) << e.id;
        EXPECT_NEAR(rc.top, AtDpi(e.top, dpi), 1) << e.id;
        EXPECT_NEAR(rc.bottom - rc.top, AtDpi(15, dpi), 1) << e.id;
        EXPECT_EQ(Style(Ui(dialog_).Control(e.id)) & SS_TYPEMASK, SS_RIGHT) << e.id;
        EXPECT_EQ(Caption(e.id), e.text) << e.id;
    }
    for (int id : {IDC_MEMORY_TOTAL, IDC_MEMORY_FREE, IDC_MEMORY_LOAD}) {
        RECT rc = Place(id);
        EXPECT_NEAR(rc.bottom - rc.top, AtDpi(15, dpi), 1) << id;
        EXPECT_EQ(Style(Ui(dialog_).Control(id)) & SS_TYPEMASK, SS_RIGHT) << id;
    }
}

TEST_F(PagesTest, VersionPageShowsTitleDateAndLinksInTheirFonts)
{
    struct Expected {
        int id;
        int left, top;
        // Underlined, and as wide as the text in bold, the face it takes under the pointer.
        bool link = false;
    };
    const Expected places[] = {
        {IDC_TITLE_VERSION, 137, 116},      {IDC_RELEASE_DATE, 423, 48},    {IDC_AUTHOR, 424, 72},
        {IDC_MAIL_CAPTION, 48, 216},        {IDC_MAIL_LINK, 48, 236, true}, {IDC_HOMEPAGE_CAPTION, 48, 268},
        {IDC_HOMEPAGE_LINK, 48, 288, true},
    };
    const int dpi = dialog_.Dpi();
    for (const Expected& e : places) {
        RECT rc = Place(e.id);
        EXPECT_NEAR(rc.left, AtDpi(e.left, dpi), 1) << e.id;
        EXPECT_NEAR(rc.top, AtDpi(e.top, dpi), 1) << e.id;
        LOGFONTW lf = FontOf(e.id);
        EXPECT_EQ(Utf8(lf.lfFaceName), "ＭＳ Ｐゴシック") << e.id;
        EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET) << e.id;
        if (e.id == IDC_TITLE_VERSION) {
            EXPECT_NEAR(-lf.lfHeight, AtDpi(33, dpi), 1);
            EXPECT_GE(lf.lfWeight, FW_BOLD);
        } else {
            EXPECT_NEAR(-lf.lfHeight, AtDpi(20, dpi), 1) << e.id;
            EXPECT_LT(lf.lfWeight, FW_BOLD) << e.id;
            EXPECT_EQ(lf.lfUnderline != 0, e.link) << e.id;
        }
        if (e.link) {
            lf.lfWeight = FW_BOLD;
            const Font bold(CreateFontIndirectW(&lf));
            WindowDC dc(Ui(dialog_).Control(e.id));
            SelectInDC select(dc.Get(), bold.Get());
            RECT extent = {};
            DrawTextW(dc.Get(), Ui(dialog_).Text(e.id).c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            EXPECT_EQ(rc.right - rc.left, extent.right) << e.id;
        }
    }
    EXPECT_EQ(Caption(IDC_TITLE_VERSION), "Sorabune ver 4a");
    EXPECT_EQ(Caption(IDC_RELEASE_DATE), "2003.10.15");
    EXPECT_EQ(Caption(IDC_MAIL_CAPTION), "メール");
    EXPECT_EQ(Caption(IDC_HOMEPAGE_CAPTION), "ホームページ");
    EXPECT_FALSE(Caption(IDC_AUTHOR).empty());
    EXPECT_EQ(Caption(IDC_MAIL_LINK).find("mailto:"), std::string::npos);
    EXPECT_EQ(Caption(IDC_HOMEPAGE_LINK).rfind("http", 0), 0u);
    for (int id : {IDC_MAIL_LINK, IDC_HOMEPAGE_LINK}) {
        EXPECT_TRUE(Style(Ui(dialog_).Control(id)) & SS_NOTIFY) << "a link must report clicks: " << id;
    }
}

// The information and version pages in the real settings dialog as a person first sees them: the memory figures
// beside their captions, the version page's title, date and links in their fonts.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <string>
#include <utility>

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

// The places are the table's (PagesTest.EveryControlStandsAtItsTableRectangleScaledToTheDialogsDpi).
TEST_F(PagesTest, InformationPageFiguresAreRightAlignedBesideTheirCaptions)
{
    const std::pair<int, const char*> captions[] = {
        {IDC_MEMORY_TOTAL_CAPTION, "物理メモリ容量"},
        {IDC_MEMORY_FREE_CAPTION, "空きメモリ容量"},
        {IDC_MEMORY_LOAD_CAPTION, "メモリ使用率"},
    };
    for (const auto& [id, text] : captions) {
        EXPECT_EQ(Caption(id), text) << id;
    }
    for (int id : {IDC_MEMORY_TOTAL_CAPTION, IDC_MEMORY_FREE_CAPTION, IDC_MEMORY_LOAD_CAPTION, IDC_MEMORY_TOTAL,
                   IDC_MEMORY_FREE, IDC_MEMORY_LOAD}) {
        EXPECT_EQ(Style(Ui(dialog_).Control(id)) & SS_TYPEMASK, SS_RIGHT) << id;
    }
    for (int id : {IDC_MEMORY_TOTAL, IDC_MEMORY_FREE, IDC_MEMORY_LOAD}) {
        EXPECT_EQ(Caption(id), "0") << id;
    }
}

TEST_F(PagesTest, VersionPageShowsTitleDateAndLinksInTheirFonts)
{
    // The places and character heights are the table's (PagesTest.EveryControlStandsAtItsTableRectangle...).
    for (int id : {IDC_TITLE_VERSION, IDC_RELEASE_DATE, IDC_AUTHOR, IDC_MAIL_CAPTION, IDC_MAIL_LINK,
                   IDC_HOMEPAGE_CAPTION, IDC_HOMEPAGE_LINK}) {
        // Underlined, and as wide as the text in bold, the face it takes under the pointer.
        const bool link = id == IDC_MAIL_LINK || id == IDC_HOMEPAGE_LINK;
        LOGFONTW lf = FontOf(id);
        EXPECT_EQ(Utf8(lf.lfFaceName), "ＭＳ Ｐゴシック") << id;
        EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET) << id;
        EXPECT_EQ(lf.lfWeight >= FW_BOLD, id == IDC_TITLE_VERSION) << id;
        EXPECT_EQ(lf.lfUnderline != 0, link) << id;
        if (link) {
            lf.lfWeight = FW_BOLD;
            const Font bold(CreateFontIndirectW(&lf));
            WindowDC dc(Ui(dialog_).Control(id));
            SelectInDC select(dc.Get(), bold.Get());
            RECT extent = {};
            DrawTextW(dc.Get(), Ui(dialog_).Text(id).c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            EXPECT_EQ(Place(id).right - Place(id).left, extent.right) << id;
            EXPECT_TRUE(Style(Ui(dialog_).Control(id)) & SS_NOTIFY) << "a link must report clicks: " << id;
        }
    }
    EXPECT_EQ(Caption(IDC_TITLE_VERSION), "Sorabune ver 4a");
    EXPECT_EQ(Caption(IDC_RELEASE_DATE), "2003.10.15");
    EXPECT_EQ(Caption(IDC_MAIL_CAPTION), "メール");
    EXPECT_EQ(Caption(IDC_HOMEPAGE_CAPTION), "ホームページ");
    EXPECT_FALSE(Caption(IDC_AUTHOR).empty());
    EXPECT_EQ(Caption(IDC_MAIL_LINK).find("mailto:"), std::string::npos);
    EXPECT_EQ(Caption(IDC_HOMEPAGE_LINK).rfind("http", 0), 0u);
}

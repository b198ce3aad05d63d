// The information and version pages in the real settings dialog as a person first sees them: the labels at
// their places, the version page's title, date and links in their fonts.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "resource.h"
#include "settings/PagesTestSupport.h"

TEST_F(PagesTest, InformationPageLabelsStandAtTheirPlaces)
{
    struct Expected {
        int id;
        int left, top;
        const char* text;
    };
    // Right-aligned captions are checked by their right edge, the edge their text keeps.
    const Expected labels[] = {
        {IDC_NAMELABEL, 34, 36, ""},       {IDC_MEMALLLABEL, 132, 80, "0"}, {IDC_MEMAKILABEL, 132, 100, "0"},
        {IDC_MEMRITULABEL, 132, 120, "0"}, {IDC_SCREENLABEL, 310, 80, ""},  {IDC_DRIVEHDDLABEL, 37, 148, ""},
    };
    const int dpi = form_.Dpi();
    for (const Expected& e : labels) {
        RECT rc = Place(e.id);
        EXPECT_NEAR(rc.left, AtDpi(e.left, dpi), 1) << e.id;
        EXPECT_NEAR(rc.top, AtDpi(e.top, dpi), 1) << e.id;
        EXPECT_EQ(Caption(e.id), e.text) << e.id;
    }
    const Expected captions[] = {
        {IDC_LABEL7, 34 + 95, 80, "物理メモリ容量"},
        {IDC_LABEL8, 34 + 95, 100, "空きメモリ容量"},
        {IDC_LABEL9, 34 + 95, 120, "メモリ使用率"},
    };
    for (const Expected& e : captions) {
        RECT rc = Place(e.id);
        EXPECT_NEAR(rc.right, AtDpi(e.left, dpi), 1) << e.id;
        EXPECT_NEAR(rc.top, AtDpi(e.top, dpi), 1) << e.id;
        EXPECT_NEAR(rc.bottom - rc.top, AtDpi(15, dpi), 1) << e.id;
        EXPECT_EQ(Style(form_.Control(e.id)) & SS_TYPEMASK, SS_RIGHT) << e.id;
        EXPECT_EQ(Caption(e.id), e.text) << e.id;
    }
    for (int id : {IDC_MEMALLLABEL, IDC_MEMAKILABEL, IDC_MEMRITULABEL}) {
        RECT rc = Place(id);
        EXPECT_NEAR(rc.bottom - rc.top, AtDpi(15, dpi), 1) << id;
        EXPECT_EQ(Style(form_.Control(id)) & SS_TYPEMASK, SS_RIGHT) << id;
    }
}

TEST_F(PagesTest, VersionPageShowsTitleDateAndLinksInTheirFonts)
{
    struct Expected {
        int id;
        int left, top;
    };
    const Expected places[] = {
        {IDC_APPTITLEVERLBL, 137, 116}, {IDC_DATELBL, 423, 48},    {IDC_MYNAMELBL, 424, 72},
        {IDC_MAILTITLELBL, 48, 216},    {IDC_MAILADDLBL, 48, 236}, {IDC_HOMEPAGETITLELBL, 48, 268},
        {IDC_HOMEPAGEADDLBL, 48, 288},
    };
    const int dpi = form_.Dpi();
    for (const Expected& e : places) {
        RECT rc = Place(e.id);
        EXPECT_NEAR(rc.left, AtDpi(e.left, dpi), 1) << e.id;
        EXPECT_NEAR(rc.top, AtDpi(e.top, dpi), 1) << e.id;
        LOGFONTW lf = FontOf(e.id);
        EXPECT_EQ(Utf8(lf.lfFaceName), "ＭＳ Ｐゴシック") << e.id;
        EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET) << e.id;
        if (e.id == IDC_APPTITLEVERLBL) {
            EXPECT_NEAR(-lf.lfHeight, AtDpi(33, dpi), 1);
            EXPECT_GE(lf.lfWeight, FW_BOLD);
        } else {
            EXPECT_NEAR(-lf.lfHeight, AtDpi(20, dpi), 1) << e.id;
            EXPECT_LT(lf.lfWeight, FW_BOLD) << e.id;
            EXPECT_FALSE(lf.lfUnderline) << e.id;
        }
    }
    EXPECT_EQ(Caption(IDC_APPTITLEVERLBL), "Sorabune ver 4a");
    EXPECT_EQ(Caption(IDC_DATELBL), "2003.10.15");
    EXPECT_EQ(Caption(IDC_MAILTITLELBL), "メール");
    EXPECT_EQ(Caption(IDC_HOMEPAGETITLELBL), "ホームページ");
    EXPECT_FALSE(Caption(IDC_MYNAMELBL).empty());
    EXPECT_EQ(Caption(IDC_MAILADDLBL).find("mailto:"), std::string::npos);
    EXPECT_EQ(Caption(IDC_HOMEPAGEADDLBL).rfind("http", 0), 0u);
    for (int id : {IDC_MAILADDLBL, IDC_HOMEPAGEADDLBL}) {
        EXPECT_TRUE(Style(form_.Control(id)) & SS_NOTIFY) << "a link must report clicks: " << id;
    }
}

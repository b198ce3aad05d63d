// The wallpaper page in the real settings dialog: its list, buttons and choices as a person first sees them,
// and the preview framed by its sunken panel.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "wallpaper/WallpaperIds.h"
#include "support/DialogUi.h"
#include "support/PagesTestSupport.h"
#include "wallpaper/WallpaperPage.h"

SettingsPages PagesUnderTest()
{
    // As on Windows 7: the page with span offered is WallpaperPageTest's.
    WallpaperServices services;
    services.spanOffered = false;
    return With(BlankPages(), kWallpaperPageIndex, MakeWallpaperPage(services));
}

// The texts are the manual's (PagesTest.ManualNamesEveryTabButtonAndChoiceByItsText), the places the table's.
TEST_F(PagesTest, WallpaperPageHasAnExtendedListFirstChoicesAndFramedPreview)
{
    HWND list = Ui(dialog_).Control(IDC_WALLPAPER_LIST);
    ASSERT_TRUE(IsClass(list, WC_LISTBOXW));
    EXPECT_TRUE(Style(list) & LBS_EXTENDEDSEL);
    EXPECT_EQ(Ui(dialog_).ItemCount(IDC_WALLPAPER_STYLE), 5) << "no span where Windows has none";
    for (int id : {IDC_WALLPAPER_STYLE, IDC_WALLPAPER_ORDER, IDC_WALLPAPER_CHANGE_TIME}) {
        EXPECT_EQ(Ui(dialog_).Index(id), 0) << id;
    }

    // The preview fills the inside of the sunken panel exactly, so the bevel frames the picture.
    RECT img = Place(IDC_WALLPAPER_PREVIEW);
    HWND panel = Ui(dialog_).Control(IDC_WALLPAPER_PREVIEW_FRAME);
    RECT panelClient;
    GetClientRect(panel, &panelClient);
    MapWindowPoints(panel, GetParent(panel), reinterpret_cast<POINT*>(&panelClient), 2);
    EXPECT_TRUE(EqualRect(&panelClient, &img));
    RECT panelOuter = Place(IDC_WALLPAPER_PREVIEW_FRAME);
    EXPECT_FALSE(EqualRect(&panelOuter, &panelClient)) << "the panel has no sunken edge";
    EXPECT_TRUE(Style(panel) & WS_CLIPSIBLINGS) << "the panel would paint over the preview";
}

// The wallpaper page in the real settings dialog: its list, buttons and choices as a person first sees them,
// and the preview framed by its sunken panel.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

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

TEST_F(PagesTest, WallpaperPageHasItsListButtonsChoicesAndFramedPreview)
{
    HWND list = Ui(dialog_).Control(IDC_WALLPAPER_LIST);
    ASSERT_TRUE(IsClass(list, WC_LISTBOXW));
    EXPECT_TRUE(Style(list) & LBS_EXTENDEDSEL);
    const int dpi = dialog_.Dpi();
    RECT listRect = Place(IDC_WALLPAPER_LIST);
    EXPECT_NEAR(listRect.right - listRect.left, AtDpi(496, dpi), 1);
    EXPECT_NEAR(listRect.bottom - listRect.top, AtDpi(97, dpi), 1);

    EXPECT_EQ(Caption(IDC_WALLPAPER_ADD), "追  加");
    EXPECT_EQ(Caption(IDC_WALLPAPER_DELETE), "削  除");
    EXPECT_EQ(Caption(IDC_WALLPAPER_UP), "U  P");
    EXPECT_EQ(Caption(IDC_WALLPAPER_DOWN), "DOWN");
    EXPECT_EQ(Caption(IDC_WALLPAPER_CHANGE_NOW), "壁 紙 手 動 変 更");

    EXPECT_EQ(Items(IDC_WALLPAPER_STYLE), (std::vector<std::string>{"中央に表示", "並べて表示", "拡大して表示",
                                                                    "画面に収めて表示", "画面を埋めて表示"}));
    EXPECT_EQ(Items(IDC_WALLPAPER_ORDER), (std::vector<std::string>{"順番に表示", "ランダムに表示"}));
    EXPECT_EQ(
        Items(IDC_WALLPAPER_CHANGE_TIME),
        (std::vector<std::string>{"自動変更しない", "Sorabune 起動時", "毎時 ０分", "毎時 ０分 + ３０分", "15分おき",
                                  "10分おき", "5分おき", "3分おき", "1分おき", "30秒おき", "10秒おき"}));
    for (int id : {IDC_WALLPAPER_STYLE, IDC_WALLPAPER_ORDER, IDC_WALLPAPER_CHANGE_TIME}) {
        EXPECT_EQ(Ui(dialog_).Index(id), 0) << id;
    }

    // The preview fills the inside of the sunken panel exactly, so the bevel frames the picture.
    RECT img = Place(IDC_WALLPAPER_PREVIEW);
    EXPECT_NEAR(img.right - img.left, AtDpi(220, dpi), 1);
    EXPECT_NEAR(img.bottom - img.top, AtDpi(165, dpi), 1);
    HWND panel = Ui(dialog_).Control(IDC_WALLPAPER_PREVIEW_FRAME);
    RECT panelClient;
    GetClientRect(panel, &panelClient);
    MapWindowPoints(panel, GetParent(panel), reinterpret_cast<POINT*>(&panelClient), 2);
    EXPECT_TRUE(EqualRect(&panelClient, &img));
    RECT panelOuter = Place(IDC_WALLPAPER_PREVIEW_FRAME);
    EXPECT_FALSE(EqualRect(&panelOuter, &panelClient)) << "the panel has no sunken edge";
    EXPECT_TRUE(Style(panel) & WS_CLIPSIBLINGS) << "the panel would paint over the preview";
}

// The settings dialog frame: identity, size at its DPI, pages and the page-change routing.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "resource.h"
#include "base/Dpi.h"
#include "settings/OptionEtcForm.h"
#include "app/OptionEtcPages.h"
#include "support/TestSupport.h"

TEST(OptionEtcFormTest, FrameHasItsIdentitySizeAndSixPagesWithTheFirstSelected)
{
    ChimePlayer chimePlayer;
    TOptionEtcForm form{MakeOptionEtcPages(chimePlayer)};
    ASSERT_TRUE(form.Create(nullptr, false));
    EXPECT_EQ(FindWindowW(L"TOptionEtcForm", L"Sorabune"), form.Hwnd());
    EXPECT_FALSE(form.IsVisible());
    RECT rc;
    GetClientRect(form.Hwnd(), &rc);
    EXPECT_EQ(rc.right, Scale(588, form.Dpi()));
    EXPECT_EQ(rc.bottom, Scale(434, form.Dpi()));
    LONG style = GetWindowLongW(form.Hwnd(), GWL_STYLE);
    EXPECT_EQ(style & WS_SYSMENU, 0);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_EQ(Utf8(form.Text(IDC_OKBTN)), "O K");

    HWND tabs = form.Control(IDC_PAGECONTROL);
    ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 6);
    const char* expected[] = {"基本設定", "お知らせタイマー", "壁紙チェンジャー", "各種情報", "ヘルプ", "バージョン"};
    for (int i = 0; i < 6; ++i) {
        wchar_t text[64] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(Utf8(text), expected[i]);
    }
    EXPECT_EQ(form.CurrentPage(), 0);
    form.SelectPage(4);
    EXPECT_EQ(form.CurrentPage(), 4);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(form.Hwnd(), IDC_HELPTABSHEET)) || !form.IsVisible());
}

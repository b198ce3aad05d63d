// The settings dialog with every page, as its page tests open it, and the little its tests share: the sheets,
// the layout's figures at a DPI and a control's class and style.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "settings/SettingsIds.h"
#include "settings/SettingsDialog.h"
#include "support/DialogUi.h"
#include "support/BlankPages.h"
#include "support/TestSupport.h"

constexpr int kSheetIds[SettingsDialog::kPageCount] = {IDC_CHIME_SHEET, IDC_REMINDER_SHEET, IDC_WALLPAPER_SHEET,
                                                       IDC_INFO_SHEET,  IDC_HELP_SHEET,     IDC_VERSION_SHEET};

// A figure of the 96-DPI layout at a DPI, unrounded: a control may stand half a pixel either way of it.
inline double AtDpi(int designPx, int dpi)
{
    return designPx * dpi / 96.0;
}

inline std::wstring ClassOf(HWND hwnd)
{
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

inline bool IsClass(HWND hwnd, const wchar_t* name)
{
    return lstrcmpiW(ClassOf(hwnd).c_str(), name) == 0;
}

inline LONG Style(HWND hwnd)
{
    return GetWindowLongW(hwnd, GWL_STYLE);
}
class PagesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog_.Create(nullptr, false)); }

    HWND Sheet(int page) const { return GetDlgItem(dialog_.Hwnd(), kSheetIds[page]); }
    std::string Caption(int id) const { return Utf8(Ui(dialog_).Text(id)); }
    RECT Place(int id) const { return RectInParent(Ui(dialog_).Control(id)); }
    LOGFONTW FontOf(int id) const
    {
        LOGFONTW lf = {};
        auto font = reinterpret_cast<HFONT>(SendMessageW(Ui(dialog_).Control(id), WM_GETFONT, 0, 0));
        GetObjectW(font, sizeof(lf), &lf);
        return lf;
    }

    SettingsDialog dialog_{TestErrors(), TestLoop(), PagesUnderTest()};
};

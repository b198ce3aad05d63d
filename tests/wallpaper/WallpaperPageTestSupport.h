// The fixture of the wallpaper page tests: a settings dialog in its design state, the system's wallpaper call
// recorded instead of made, the desktop's wallpaper values kept and restored, and a folder of real files.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "wallpaper/WallpaperIds.h"
#include "settings/SettingsDialog.h"
#include "support/DialogUi.h"
#include "support/BlankPages.h"
#include "support/TestSupport.h"
#include "wallpaper/WallpaperPage.h"
#include "wallpaper/Wallpaper.h"
#include "wallpaper/DesktopValues.h"
#include "wallpaper/WallpaperTestSupport.h"
#include "base/MessageLoop.h"
#include "support/Registry.h"

struct SystemCall {
    UINT action;
    UINT uiParam;
    std::wstring path;
    bool nullPath;
    UINT winIni;
};

// The one screen of the tests' wallpaper pages: 16:9, small enough for a picture of a few pixels to matter.
inline Screens TestScreens()
{
    return {{320, 180}, {0, 0, 320, 180}};
}

// Where the tests' wallpaper pages make a folder's picture the wallpaper: a folder of its own under %TEMP%.
inline std::wstring TestWallpaperBitmap()
{
    return TempPath(L"SorabuneWallTestOwn\\Wallpaper.bmp");
}

class WallpaperFixture : public testing::Test {
protected:
    void SetUp() override
    {
        desktopAside_.emplace();
        placesAside_.emplace(L"Software\\Sorabune\\KabeFolder", L"Software\\SorabuneWallTestPlaces");
        DeleteFileW(TestWallpaperBitmap().c_str());
        CapturedErrors().clear();
        ASSERT_TRUE(dialog.Create(nullptr, false));
        dialog.SelectPage(2);
    }
    void TearDown() override
    {
        placesAside_.reset();
        desktopAside_.reset();
    }

    WallpaperPage& Page() { return static_cast<WallpaperPage&>(dialog.Page(2)); }
    HWND List() { return Ui(dialog).Control(IDC_WALLPAPER_LIST); }

    std::vector<std::wstring> Items() { return ListItems(List()); }
    void SetItems(const std::vector<std::wstring>& items)
    {
        SendMessageW(List(), LB_RESETCONTENT, 0, 0);
        for (const auto& item : items) {
            Ui(dialog).AddItem(IDC_WALLPAPER_LIST, item);
        }
    }
    std::vector<int> Selected()
    {
        std::vector<int> selected;
        for (int i = 0; i < Ui(dialog).ItemCount(IDC_WALLPAPER_LIST); ++i) {
            if (SendMessageW(List(), LB_GETSEL, i, 0) > 0) {
                selected.push_back(i);
            }
        }
        return selected;
    }
    void Select(std::vector<int> indices)
    {
        SendMessageW(List(), LB_SETSEL, FALSE, -1);
        for (int i : indices) {
            SendMessageW(List(), LB_SETSEL, TRUE, i);
        }
    }
    // The entry with the focus, as a click on it leaves it.
    void Focus(int index) { SendMessageW(List(), LB_SETCARETINDEX, index, FALSE); }

    void Click(int id)
    {
        SendMessageW(dialog.Hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Ui(dialog).Control(id)));
    }
    // A click on an entry, and the messages handled until its preview has come.
    void ListClick(int index)
    {
        Select({index});
        Focus(index);
        SendMessageW(dialog.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_WALLPAPER_LIST, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(List()));
        WaitForPreview();
    }
    void WaitForPreview()
    {
        TestLoop().HandleMessagesUntil([this] { return !Page().PreviewPending(); });
    }
    // The messages handled until a change that waits for a folder's listing or the converter has been made.
    void WaitForChange()
    {
        TestLoop().HandleMessagesUntil([this] { return !Page().Changer().Busy(); });
    }
    void Pick(int id, int index)
    {
        Ui(dialog).SetIndex(id, index);
        SendMessageW(dialog.Hwnd(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Ui(dialog).Control(id)));
    }

    // The wallpaper last applied: the desktop's value and the system call that announced it.
    std::wstring Applied()
    {
        EXPECT_FALSE(systemCalls.empty());
        return systemCalls.empty() ? L"" : systemCalls.back().path;
    }

    // The system's wallpaper call recorded; the add dialog as the test answers it.
    WallpaperServices Services()
    {
        WallpaperServices services;
        services.addDialog = [this](HWND owner) { return addDialog(owner); };
        services.tellSystem = recordSystemCall;
        services.spanOffered = true;
        services.screens = TestScreens;
        services.ownBitmap = TestWallpaperBitmap;
        return services;
    }

    std::vector<SystemCall> systemCalls;
    const SystemParametersInfoFn recordSystemCall = [this](UINT action, UINT uiParam, PVOID pvParam, UINT winIni) {
        systemCalls.push_back(
            {action, uiParam, pvParam ? static_cast<const wchar_t*>(pvParam) : L"", !pvParam, winIni});
        return TRUE;
    };
    // The add dialog of the page: the system's unless a test answers it.
    OpenFilesFn addDialog = ShowAddDialog;
    SettingsDialog dialog{TestErrors(), TestLoop(),
                          With(BlankPages(), kWallpaperPageIndex, MakeWallpaperPage(Services()))};
    // A short name: the real dialog's test chooses names that come close to MAX_PATH inside it.
    ScratchFolder folder{L"SorabuneWallTest"};

private:
    std::optional<DesktopValuesAside> desktopAside_;
    std::optional<UserKeyAside> placesAside_;
};

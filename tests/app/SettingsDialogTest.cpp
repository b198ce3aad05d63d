// The settings dialog frame: identity, pages and the page-change routing.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "settings/SettingsIds.h"
#include "base/MessageLoop.h"
#include "settings/SettingsDialog.h"
#include "settings/SettingsLayout.h"
#include "app/MakePages.h"
#include "support/DialogUi.h"
#include "support/TestSupport.h"
#include "scheduler/SchedulerIds.h"
#include "support/Registry.h"

TEST(SettingsDialogTest, FrameHasItsIdentityAndSixPagesWithTheFirstSelected)
{
    ChimePlayer chimePlayer;
    SettingsDialog dialog{TestErrors(), TestLoop(), MakeSettingsPages(chimePlayer)};
    ASSERT_TRUE(dialog.Create(nullptr, false));
    // Automation finds every control by its id.
    EXPECT_EQ(dialog.SharedIds(), std::vector<int>{});
    // Each stored value is held by a control of its kind.
    EXPECT_EQ(dialog.UnfitBindings(), std::vector<std::wstring>{});
    EXPECT_EQ(FindWindowW(L"TOptionEtcForm", L"Sorabune"), dialog.Hwnd());
    EXPECT_FALSE(dialog.IsVisible());
    LONG style = GetWindowLongW(dialog.Hwnd(), GWL_STYLE);
    EXPECT_EQ(style & WS_SYSMENU, 0);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    // The tabs' and O K's texts are the manual's (PagesTest.ManualNamesEveryTabButtonAndChoiceByItsText).
    EXPECT_EQ(SendMessageW(Ui(dialog).Control(IDC_PAGECONTROL), TCM_GETITEMCOUNT, 0, 0), 6);
    EXPECT_EQ(dialog.CurrentPage(), 0);
    ShowWindow(dialog.Hwnd(), SW_SHOWNOACTIVATE);
    dialog.SelectPage(4);
    EXPECT_EQ(dialog.CurrentPage(), 4);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog.Hwnd(), IDC_HELP_SHEET)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog.Hwnd(), IDC_VERSION_SHEET)));
}

namespace {
bool menuOpened = false;

void CALLBACK CloseAnOpenMenu(HWND, UINT, UINT_PTR, DWORD)
{
    if (HWND menu = FindWindowW(L"#32768", nullptr); menu && IsWindowVisible(menu)) {
        menuOpened = true;
        EndMenu();
    }
}
} // namespace

// The dialog has no close box and no window menu: O K is its only way out, and the keys that close or open the
// menu of another window leave it open, with nothing committed, going through the program's message loop.
TEST(SettingsDialogTest, AltF4EscAndTheWindowMenuKeyLeaveTheDialogOpen)
{
    ChimePlayer chimePlayer;
    SettingsDialog dialog{TestErrors(), TestLoop(), MakeSettingsPages(chimePlayer)};
    ASSERT_TRUE(dialog.Create(nullptr, false));
    ShowWindow(dialog.Hwnd(), SW_SHOW);
    HWND ok = Ui(dialog).Control(IDC_OKBTN);
    SetFocus(ok);
    menuOpened = false;
    // A window menu, had the dialog one, would hold this thread in its own loop, where this timer closes it.
    UINT_PTR watch = SetTimer(nullptr, 0, 100, CloseAnOpenMenu);
    const struct {
        const char* keys;
        UINT msg;
        WPARAM key;
        LPARAM flags;
    } presses[] = {{"Alt+F4", WM_SYSKEYDOWN, VK_F4, 1 << 29},
                   {"Esc", WM_KEYDOWN, VK_ESCAPE, 0},
                   {"Alt+Space", WM_SYSCHAR, VK_SPACE, 1 << 29}};
    for (const auto& press : presses) {
        PostMessageW(ok, press.msg, press.key, press.flags | 1);
        // The key's message, then what the system posts for it (SC_CLOSE, IDCANCEL, SC_KEYMENU), then theirs.
        for (int round = 0; round < 3; ++round) {
            ProcessPendingMessages();
        }
        EXPECT_TRUE(IsWindow(dialog.Hwnd())) << press.keys;
        EXPECT_TRUE(dialog.IsVisible()) << press.keys;
        EXPECT_FALSE(menuOpened) << press.keys;
    }
    KillTimer(nullptr, watch);
}

// The page keys work from anywhere in the dialog, a drop-down with the focus included, which keeps its choice; Enter
// presses O K, which commits and hides the dialog.
TEST(SettingsDialogTest, PageKeysChangeThePageFromAnywhereAndEnterPressesOk)
{
    UserKeyAside settingsAside(L"Software\\Sorabune", L"Software\\SorabuneDialogKeysTest");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Sorabune");
    ChimePlayer chimePlayer;
    SettingsDialog dialog{TestErrors(), TestLoop(), MakeSettingsPages(chimePlayer)};
    ASSERT_TRUE(dialog.Create(nullptr, false));
    ShowWindow(dialog.Hwnd(), SW_SHOW);
    const auto press = [&](HWND target, WPARAM key, bool control, bool shift) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = control ? 0x80 : 0;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageW(target, WM_KEYDOWN, key, 1);
        ProcessPendingMessages();
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    };
    const struct {
        const char* keys;
        WPARAM key;
        bool shift;
        int page;
    } rows[] = {{"Ctrl+Tab", VK_TAB, false, 1},      {"Ctrl+PgDn", VK_NEXT, false, 2},
                {"Ctrl+Shift+Tab", VK_TAB, true, 1}, {"Ctrl+PgUp", VK_PRIOR, false, 0},
                {"Ctrl+PgUp", VK_PRIOR, false, 5},   {"Ctrl+Tab", VK_TAB, false, 0}};
    const int chimeMode = Ui(dialog).Index(IDC_TIMERWAVEONOFF);
    for (const auto& row : rows) {
        // From the basic page's drop-down when it is shown, else from wherever the last key left the focus.
        HWND from = dialog.CurrentPage() == kChimePageIndex ? Ui(dialog).Control(IDC_TIMERWAVEONOFF) : GetFocus();
        SetFocus(from);
        press(from, row.key, true, row.shift);
        EXPECT_EQ(dialog.CurrentPage(), row.page) << row.keys;
    }
    EXPECT_EQ(Ui(dialog).Index(IDC_TIMERWAVEONOFF), chimeMode) << "the drop-down never saw the page keys";

    SetFocus(Ui(dialog).Control(IDC_TIMERWAVEONOFF));
    press(Ui(dialog).Control(IDC_TIMERWAVEONOFF), VK_RETURN, false, false);
    EXPECT_FALSE(dialog.IsVisible()) << "Enter pressed O K";
    EXPECT_TRUE(RegistryText(HKEY_CURRENT_USER, L"Software\\Sorabune", L"TimerWaveOnOff")) << "and it committed";
}

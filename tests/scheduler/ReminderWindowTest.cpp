// The reminder message windows: their shape after creation, the sentence in the Japanese locale, the memo,
// O K, the deactivation slot, and the keyboard's way to a reminder that came without taking it.
#include "ReminderTestSupport.h"

#include <optional>
#include <vector>

#include "base/MessageLoop.h"

#include "scheduler/ReminderWindow.h"
#include "scheduler/Scheduler.h"
#include "scheduler/ChimePage.h"
#include "support/TestClock.h"

namespace {
RECT ChildRect(HWND parent, int id)
{
    RECT rc;
    HWND child = GetDlgItem(parent, id);
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

bool Topmost(HWND hwnd)
{
    return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

std::vector<HWND> alerts;
void CALLBACK RecordAlert(HWINEVENTHOOK, DWORD, HWND hwnd, LONG idObject, LONG idChild, DWORD, DWORD)
{
    if (idObject == OBJID_CLIENT && idChild == CHILDID_SELF) {
        alerts.push_back(hwnd);
    }
}

class ReminderWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(owner_.Create(nullptr, false));
        ASSERT_TRUE(window1.Create(owner_.Hwnd()));
        ASSERT_TRUE(window2.Create(owner_.Hwnd()));
    }

    ChimePlayer chimePlayer_;
    SettingsDialog owner_{TestErrors(), TestLoop(),
                          SchedulerPages(chimePlayer_, OpenSoundFileDialog, MakeReminderPage())};

protected:
    std::vector<FLASHWINFO> flashes;
    const FlashWindowFn recordFlash = [this](PFLASHWINFO info) {
        flashes.push_back(*info);
        return FALSE;
    };
    DeactivationSlot slot;
    ReminderWindow window1{TestErrors(), slot, 1, SystemHighContrast, recordFlash};
    ReminderWindow window2{TestErrors(), slot, 2, SystemHighContrast, recordFlash};
};
} // namespace

TEST_F(ReminderWindowTest, CreateLeavesATopmostWindowWithoutTitleBarThatShowsEveryControl)
{
    for (ReminderWindow* dialog : {&window1, &window2}) {
        HWND hwnd = dialog->Hwnd();
        EXPECT_FALSE(dialog->IsVisible());
        const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
        EXPECT_EQ(style & WS_CAPTION, 0);
        EXPECT_EQ(style & WS_SYSMENU, 0);
        EXPECT_NE(style & WS_THICKFRAME, 0) << "the sizing border stays";
        EXPECT_TRUE(Topmost(hwnd));
        // The layout's figures at the window's DPI.
        const int dpi = dialog->Dpi();
        RECT client;
        GetClientRect(hwnd, &client);
        EXPECT_EQ(client.right, Scale(ReminderWindow::kClientWidth, dpi));
        EXPECT_GE(client.bottom, ChildRect(hwnd, IDC_MESSAGEBTN).bottom);
        EXPECT_NEAR(ChildRect(hwnd, IDC_MESSAGEBTN).bottom, 117 * dpi / 96.0, 1);
        EXPECT_NEAR(ChildRect(hwnd, IDC_MESSAGEMEMO).right, 479 * dpi / 96.0, 1);
        EXPECT_EQ(Utf8(WindowText(GetDlgItem(hwnd, IDC_MESSAGEBTN))), "O K");
        EXPECT_TRUE(GetWindowLongW(GetDlgItem(hwnd, IDC_MESSAGEMEMO), GWL_STYLE) & ES_READONLY);
        const LONG labelStyle = GetWindowLongW(GetDlgItem(hwnd, IDC_MESSAGELABEL), GWL_STYLE);
        EXPECT_EQ(labelStyle & SS_TYPEMASK, SS_CENTER);
        EXPECT_TRUE(labelStyle & SS_CENTERIMAGE);
        EXPECT_EQ(GetNextDlgTabItem(hwnd, nullptr, FALSE), GetDlgItem(hwnd, IDC_MESSAGEBTN)) << "O K first";

        // Centred on the screen.
        RECT outer;
        GetWindowRect(hwnd, &outer);
        EXPECT_LE(std::abs((outer.left + outer.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
        EXPECT_LE(std::abs((outer.top + outer.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 1);
    }
}

TEST_F(ReminderWindowTest, TheSentenceNamesTheMomentInTheUsersLocale)
{
    const SYSTEMTIME when = At(2003, 10, 15, 12, 0, 0);
    window1.ShowReminder(L"会議室へ", when);
    window2.ShowReminder(L"", when);
    EXPECT_TRUE(window1.IsVisible());
    EXPECT_TRUE(window2.IsVisible());
    EXPECT_EQ(Utf8(window1.MessageLabelText()), "只今、予定の2003/10/15 水曜日 12:00:00になりました");
    EXPECT_EQ(Utf8(window2.MessageLabelText()), "只今、予定の2003/10/15 水曜日  12:00:00になりました");
    EXPECT_EQ(Utf8(window1.MessageMemoText()), "会議室へ");
    EXPECT_EQ(window2.MessageMemoText(), L"") << "an empty text gives an empty field";
}

// The label as it paints itself: the sentence is whole, and keeps the memo's margins from the window's edges,
// when the columns of those margins stay the window's colour. The substitute face under Wine is wider than the
// design's, so the design width holds only 19 px; a wider window has room for the design's 20 px, a much narrower
// one needs a smaller size (all at 96 DPI; at another DPI the widths, sizes and margins scale alike).
TEST_F(ReminderWindowTest, TheSentenceKeepsItsDesignSizeAndMarginsAndStepsDownOnlyInAWindowTooNarrowForIt)
{
    struct Case {
        int clientWidth;
        std::optional<bool> designSize;
    };
    const Case cases[] = {{640, true}, {ReminderWindow::kClientWidth, std::nullopt}, {360, false}};
    // The memo's margin, less the column the label reaches beyond the window.
    const int margin = Scale(8, window1.Dpi()) - 1;
    const int dpi = window1.Dpi();
    HWND hwnd = window1.Hwnd();
    HWND label = GetDlgItem(hwnd, IDC_MESSAGELABEL);
    const DWORD background = 0xC0DCC0; // money green
    for (const Case& c : cases) {
        const int clientWidth = Scale(c.clientWidth, dpi);
        RECT outer = {0, 0, clientWidth, Scale(120, dpi)};
        AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
        SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        window1.ShowReminder(L"", At(2003, 10, 15, 12, 0, 0));
        if (c.designSize) {
            EXPECT_EQ(window1.MessageLabelFontPx() == Scale(20, dpi), *c.designSize);
        }
        const ClientPicture picture = PrintClient(label);
        // The label reaches a column or two beyond the window's client area, where nobody sees it.
        const int seen = std::min(picture.width, clientWidth);
        int inkColumns = 0;
        for (int x = 0; x < seen; ++x) {
            bool ink = false;
            for (int y = 0; y < picture.height; ++y) {
                ink = ink || picture.At(x, y) != background;
            }
            inkColumns += ink;
            if (x < margin || x >= seen - margin) {
                EXPECT_FALSE(ink) << "ink at column " << x << " of " << seen;
            }
        }
        EXPECT_GT(inkColumns, seen / 2) << clientWidth;
    }
}

TEST_F(ReminderWindowTest, OkHidesAndEmptiesTheSlotAndTheNextFiringShowsNewTexts)
{
    window1.ShowReminder(L"一回目", At(2003, 10, 15, 8, 0, 0));
    EXPECT_EQ(slot.window, &window1);
    window2.ShowReminder(L"二", At(2003, 10, 15, 8, 0, 0));
    EXPECT_EQ(slot.window, &window2) << "the slot follows the last window shown";

    SendMessageW(GetDlgItem(window1.Hwnd(), IDC_MESSAGEBTN), BM_CLICK, 0, 0);
    EXPECT_FALSE(window1.IsVisible());
    EXPECT_TRUE(window2.IsVisible());
    EXPECT_EQ(slot.window, nullptr) << "O K empties the slot even with the other window open";

    window1.ShowReminder(L"二回目", At(2003, 10, 16, 9, 30, 5));
    EXPECT_TRUE(window1.IsVisible());
    EXPECT_EQ(Utf8(window1.MessageMemoText()), "二回目");
    EXPECT_NE(Utf8(window1.MessageLabelText()).find("2003/10/16 木曜日 09:30:05"), std::string::npos)
        << "the new moment";
}

// The user types in another program when the reminder comes: it shows on top with a flashing taskbar button and
// tells screen readers, and the keyboard stays where it was until the user goes to it; Enter then dismisses it.
TEST_F(ReminderWindowTest, AReminderComesOnTopWithoutTakingTheKeyboardUntilTheUserActivatesIt)
{
    TestWindow other(CreateWindowExW(0, L"EDIT", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 40, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(SetForegroundWindow(other.Get()));
    SetFocus(other.Get());
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, RecordAlert,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    alerts.clear();
    window1.ShowReminder(L"会議", At(2003, 10, 15, 8, 0, 0));
    PumpMessages();
    UnhookWinEvent(hook);
    HWND hwnd = window1.Hwnd();
    EXPECT_TRUE(window1.IsVisible());
    EXPECT_TRUE(Topmost(hwnd));
    EXPECT_EQ(GetForegroundWindow(), other.Get());
    EXPECT_EQ(GetFocus(), other.Get());
    // An owned window has a taskbar button and a place in Alt+Tab only by asking for them.
    EXPECT_NE(GetWindow(hwnd, GW_OWNER), nullptr);
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_EXSTYLE) & (WS_EX_APPWINDOW | WS_EX_TOOLWINDOW), WS_EX_APPWINDOW);
    ASSERT_EQ(flashes.size(), 1u);
    EXPECT_EQ(flashes[0].cbSize, sizeof(FLASHWINFO));
    EXPECT_EQ(flashes[0].hwnd, hwnd);
    EXPECT_EQ(flashes[0].dwFlags, static_cast<DWORD>(FLASHW_TRAY | FLASHW_TIMERNOFG)) << "until it is in front";
    EXPECT_EQ(alerts, std::vector<HWND>{hwnd}) << "announced to screen readers";

    // Alt+Tab brings it to the foreground.
    ASSERT_TRUE(SetForegroundWindow(hwnd));
    EXPECT_EQ(GetFocus(), GetDlgItem(hwnd, IDC_MESSAGEBTN)) << "activated, Enter presses O K";
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
    ProcessPendingMessages();
    EXPECT_FALSE(window1.IsVisible());
    EXPECT_EQ(flashes.back().dwFlags, static_cast<DWORD>(FLASHW_STOP));
}

TEST_F(ReminderWindowTest, OnDeactivationOnlyTheWindowInTheSlotIsPutOnTopAgain)
{
    window1.ShowReminder(L"", At(2003, 10, 15, 8, 0, 0));
    window2.ShowReminder(L"", At(2003, 10, 15, 8, 0, 0));
    for (HWND hwnd : {window1.Hwnd(), window2.Hwnd()}) {
        SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_FALSE(Topmost(hwnd));
    }
    for (HWND hwnd : {window1.Hwnd(), window2.Hwnd()}) {
        SendMessageW(hwnd, WM_ACTIVATEAPP, FALSE, 0);
    }
    EXPECT_FALSE(Topmost(window1.Hwnd()));
    EXPECT_TRUE(Topmost(window2.Hwnd()));
    EXPECT_TRUE(window2.IsVisible());

    SendMessageW(GetDlgItem(window2.Hwnd(), IDC_MESSAGEBTN), BM_CLICK, 0, 0);
    SetWindowPos(window2.Hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(window2.Hwnd(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(Topmost(window2.Hwnd())) << "an empty slot does nothing";
}

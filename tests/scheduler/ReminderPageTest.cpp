// The reminder page's rules driven through its real controls: kind, action, weekdays, ON/OFF, reset,
// the page-change refresh, and the independence of the two timers.
#include "ReminderTestSupport.h"

#include <algorithm>
#include <tuple>
#include <vector>

#include "support/DialogUi.h"
#include "base/MessageLoop.h"

class ReminderPageTest : public ReminderFixture {
protected:
    void ExpectIndicators(const TimerIds& t, std::vector<int> redDays)
    {
        for (int day = 1; day <= ReminderPage::kDayCount; ++day) {
            bool red = std::find(redDays.begin(), redDays.end(), day) != redDays.end();
            EXPECT_EQ(reminderPage.IndicatorRed(t.timer, day), red) << "timer " << t.timer << " day " << day;
            EXPECT_EQ(IndicatorColour(t.Indicator(day)), red ? kRed : kCream) << "timer " << t.timer << " day " << day;
        }
    }

    void ExpectWeekdaysEnabled(const TimerIds& t, bool enabled)
    {
        for (int day = 1; day <= ReminderPage::kDayCount; ++day) {
            EXPECT_EQ(Ui(dialog).Enabled(t.Week(day)), enabled) << "day " << day;
        }
    }

    // Every control of both groups enabled; their ids in the keyboard's order, row by row as the page lays them out.
    std::vector<int> EnableEveryControl()
    {
        std::vector<int> ids;
        for (const TimerIds& t : {t1, t2}) {
            ids.push_back(t.Kind());
            for (int day = 1; day <= ReminderPage::kDayCount; ++day) {
                ids.push_back(t.Week(day));
            }
            for (int id : {t.Date(), t.Time(), t.OnOff(), t.Action(), t.Chime(), t.Memo()}) {
                ids.push_back(id);
            }
        }
        for (int id : ids) {
            Ui(dialog).SetEnabled(id, true);
        }
        return ids;
    }

    // The switched-off state that both the user's OFF and the scheduler's reset leave behind.
    void ExpectReset(const TimerIds& t)
    {
        EXPECT_EQ(Ui(dialog).Index(t.Kind()), -1);
        EXPECT_EQ(Text(t.Kind()), "予約方法");
        EXPECT_TRUE(Ui(dialog).Enabled(t.Kind()));
        EXPECT_EQ(Ui(dialog).Index(t.Action()), kChimeAction);
        EXPECT_EQ(Text(t.Action()), "時報を鳴らす");
        EXPECT_TRUE(Ui(dialog).Enabled(t.Action()));
        EXPECT_FALSE(Ui(dialog).Enabled(t.Time()));
        EXPECT_FALSE(Ui(dialog).Enabled(t.Date()));
        ExpectWeekdaysEnabled(t, false);
        EXPECT_EQ(Ui(dialog).Index(t.Chime()), 0);
        EXPECT_EQ(Text(t.Chime()), "時報 1");
        EXPECT_TRUE(Ui(dialog).Enabled(t.Chime()));
        EXPECT_FALSE(Ui(dialog).Enabled(t.Memo()));
        EXPECT_TRUE(Ui(dialog).Enabled(t.OnOff()));
        ExpectIndicators(t, {});
    }
};

TEST_F(ReminderPageTest, DesignStateShowsTheKindPromptAndCreamIndicators)
{
    for (const TimerIds& t : {t1, t2}) {
        EXPECT_EQ(Ui(dialog).Index(t.Kind()), -1);
        EXPECT_EQ(Text(t.Kind()), "予約方法");
        EXPECT_FALSE(Ui(dialog).Checked(t.OnOff()));
        EXPECT_FALSE(Ui(dialog).Enabled(t.Memo()));
        ExpectWeekdaysEnabled(t, false);
        ExpectIndicators(t, {});
    }
}

TEST_F(ReminderPageTest, KindRuleEnablesThePickersAndWeekdaysOfEachKind)
{
    // The installer's starting date has long passed: a once-only reminder is offered today instead.
    Ui(dialog).SetDateTime(t1.Date(), At(2002, 4, 14, 0, 0, 0));
    Pick(t1.Kind(), kOnce);
    EXPECT_TRUE(Ui(dialog).Enabled(t1.Time()));
    EXPECT_TRUE(Ui(dialog).Enabled(t1.Date()));
    ExpectWeekdaysEnabled(t1, false);
    SYSTEMTIME today = {};
    GetLocalTime(&today);
    const SYSTEMTIME offered = Ui(dialog).DateTime(t1.Date());
    EXPECT_EQ(std::tuple(offered.wYear, offered.wMonth, offered.wDay),
              std::tuple(today.wYear, today.wMonth, today.wDay));
    Ui(dialog).SetDateTime(t1.Date(), At(2099, 12, 31, 0, 0, 0));
    Pick(t1.Kind(), kOnce);
    EXPECT_EQ(Ui(dialog).DateTime(t1.Date()).wYear, 2099) << "a day still to come stays";

    Pick(t1.Kind(), kDaily);
    EXPECT_TRUE(Ui(dialog).Enabled(t1.Time()));
    EXPECT_FALSE(Ui(dialog).Enabled(t1.Date()));
    ExpectWeekdaysEnabled(t1, false);

    Pick(t1.Kind(), kWeekly);
    EXPECT_TRUE(Ui(dialog).Enabled(t1.Time()));
    EXPECT_FALSE(Ui(dialog).Enabled(t1.Date()));
    ExpectWeekdaysEnabled(t1, true);
}

TEST_F(ReminderPageTest, WeeklyToDailyAndBackKeepsTheChosenWeekdays)
{
    ChooseWeeklyMondayWednesday(t1);
    ExpectIndicators(t1, {kMonday, kWednesday});

    Pick(t1.Kind(), kDaily);
    ExpectIndicators(t1, {});
    ExpectWeekdaysEnabled(t1, false);
    EXPECT_TRUE(Ui(dialog).Checked(t1.Week(kMonday)));
    EXPECT_TRUE(Ui(dialog).Checked(t1.Week(kWednesday)));

    Pick(t1.Kind(), kWeekly);
    ExpectIndicators(t1, {kMonday, kWednesday});
    ExpectWeekdaysEnabled(t1, true);

    Click(t1.Week(kMonday));
    EXPECT_FALSE(Ui(dialog).Checked(t1.Week(kMonday)));
    ExpectIndicators(t1, {kWednesday});
}

TEST_F(ReminderPageTest, NoKindSelectionAndTypingLeaveEverythingAsItIs)
{
    Pick(t1.Kind(), kOnce);
    Pick(t1.Kind(), -1);
    EXPECT_TRUE(Ui(dialog).Enabled(t1.Time()));
    EXPECT_TRUE(Ui(dialog).Enabled(t1.Date()));
    EXPECT_EQ(Text(t1.Kind()), "予約方法");

    // The edit part of the drop-down is read-only: typed characters change neither text nor selection.
    Pick(t1.Kind(), kWeekly);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(Ui(dialog).Control(t1.Kind()), &info));
    SendMessageW(info.hwndItem, WM_CHAR, L'x', 0);
    EXPECT_EQ(Text(t1.Kind()), "毎週");
    EXPECT_EQ(Ui(dialog).Index(t1.Kind()), kWeekly);
    ExpectWeekdaysEnabled(t1, true);
}

TEST_F(ReminderPageTest, ActionRuleSwitchesBetweenChimeAndMessage)
{
    Ui(dialog).SetText(t1.Memo(), L"会議");
    Pick(t1.Action(), kMessageAction);
    EXPECT_FALSE(Ui(dialog).Enabled(t1.Chime()));
    EXPECT_TRUE(Ui(dialog).Enabled(t1.Memo()));

    Pick(t1.Action(), kBothAction);
    EXPECT_TRUE(Ui(dialog).Enabled(t1.Chime()));
    EXPECT_TRUE(Ui(dialog).Enabled(t1.Memo()));

    Pick(t1.Action(), kChimeAction);
    EXPECT_TRUE(Ui(dialog).Enabled(t1.Chime()));
    EXPECT_FALSE(Ui(dialog).Enabled(t1.Memo()));
    EXPECT_EQ(Text(t1.Memo()), "会議");

    Pick(t1.Action(), -1);
    EXPECT_TRUE(Ui(dialog).Enabled(t1.Chime()));
    EXPECT_FALSE(Ui(dialog).Enabled(t1.Memo()));
}

TEST_F(ReminderPageTest, ArmingAWeeklyReminderLocksTheGroupAndKeepsItsRedWeekdays)
{
    ChooseWeeklyMondayWednesday(t1);
    Pick(t1.Action(), kBothAction);
    Click(t1.OnOff());
    EXPECT_TRUE(Ui(dialog).Checked(t1.OnOff()));
    EXPECT_EQ(Text(t1.OnOff()), "タイマーON");
    for (int id : {t1.Kind(), t1.Action(), t1.Time(), t1.Date(), t1.Chime(), t1.Memo()}) {
        EXPECT_FALSE(Ui(dialog).Enabled(id)) << id;
    }
    ExpectWeekdaysEnabled(t1, false);
    EXPECT_TRUE(Ui(dialog).Enabled(t1.OnOff()));
    EXPECT_EQ(Ui(dialog).Index(t1.Kind()), kWeekly);
    ExpectIndicators(t1, {kMonday, kWednesday});
}

TEST_F(ReminderPageTest, SwitchingOffResetsTheTimerButKeepsDateTimeWeekdaysAndMessage)
{
    SYSTEMTIME when = {};
    when.wYear = 2003;
    when.wMonth = 10;
    when.wDay = 15;
    when.wHour = 12;
    when.wMinute = 34;
    when.wSecond = 56;
    Ui(dialog).SetDateTime(t1.Date(), when);
    Ui(dialog).SetDateTime(t1.Time(), when);
    ChooseWeeklyMondayWednesday(t1);
    Pick(t1.Action(), kBothAction);
    Pick(t1.Chime(), 5);
    Ui(dialog).SetText(t1.Memo(), L"会議の時間です");
    Click(t1.OnOff());
    Click(t1.OnOff());

    EXPECT_FALSE(Ui(dialog).Checked(t1.OnOff()));
    EXPECT_EQ(Text(t1.OnOff()), "タイマーOFF");
    ExpectReset(t1);
    EXPECT_TRUE(Ui(dialog).Checked(t1.Week(kMonday)));
    EXPECT_TRUE(Ui(dialog).Checked(t1.Week(kWednesday)));
    EXPECT_EQ(Text(t1.Memo()), "会議の時間です");
    SYSTEMTIME date = Ui(dialog).DateTime(t1.Date());
    EXPECT_EQ(date.wYear, 2003);
    EXPECT_EQ(date.wMonth, 10);
    EXPECT_EQ(date.wDay, 15);
    SYSTEMTIME time = Ui(dialog).DateTime(t1.Time());
    EXPECT_EQ(time.wHour, 12);
    EXPECT_EQ(time.wMinute, 34);
    EXPECT_EQ(time.wSecond, 56);

    // Weekly again: the former weekdays come back in red.
    Pick(t1.Kind(), kWeekly);
    ExpectIndicators(t1, {kMonday, kWednesday});
}

TEST_F(ReminderPageTest, ArmingWithoutAKindIsAcceptedSilently)
{
    Click(t1.OnOff());
    EXPECT_TRUE(Ui(dialog).Checked(t1.OnOff()));
    EXPECT_EQ(Text(t1.OnOff()), "タイマーON");
    EXPECT_EQ(Text(t1.Kind()), "予約方法");
    EXPECT_FALSE(Ui(dialog).Enabled(t1.Kind()));
    EXPECT_FALSE(Ui(dialog).Enabled(t1.Chime()));
    EXPECT_TRUE(CapturedErrors().empty());
}

TEST_F(ReminderPageTest, SchedulerResetAfterAOnceOnlyReminderShowsTheOffState)
{
    Pick(t1.Kind(), kOnce);
    Click(t1.OnOff());
    // What the scheduler does after firing: caption and button set from code, then the reset.
    Ui(dialog).SetText(t1.OnOff(), L"タイマーOFF");
    Ui(dialog).SetChecked(t1.OnOff(), false);
    reminderPage.ResetReminder(1);
    EXPECT_EQ(Text(t1.OnOff()), "タイマーOFF");
    ExpectReset(t1);
}

TEST_F(ReminderPageTest, ARecordSetFromCodeIsShownAtTheNextPageChange)
{
    // Switched on and off by hand first, so that the caption reads OFF.
    Click(t1.OnOff());
    Click(t1.OnOff());
    ASSERT_EQ(Text(t1.OnOff()), "タイマーOFF");

    // As the load does: values, down states and enabled states, no handlers.
    Ui(dialog).SetIndex(t1.Kind(), kWeekly);
    Ui(dialog).SetIndex(t1.Action(), kMessageAction);
    Ui(dialog).SetChecked(t1.Week(kMonday), true);
    Ui(dialog).SetChecked(t1.Week(kWednesday), true);
    Ui(dialog).SetChecked(t1.OnOff(), true);
    Ui(dialog).SetText(t1.Memo(), L"ゴミの日");
    for (int id : {t1.Kind(), t1.Action(), t1.Chime()}) {
        Ui(dialog).SetEnabled(id, false);
    }
    EXPECT_EQ(Text(t1.OnOff()), "タイマーOFF");
    ExpectIndicators(t1, {});
    ExpectWeekdaysEnabled(t1, false);
    EXPECT_FALSE(Ui(dialog).Enabled(t1.Memo()));

    dialog.SelectPage(kReminderPageIndex);
    EXPECT_EQ(Text(t1.OnOff()), "タイマーON");
    ExpectIndicators(t1, {kMonday, kWednesday});
    // Timer 2 was never armed: the design caption becomes OFF.
    EXPECT_EQ(Text(t2.OnOff()), "タイマーOFF");
    ExpectIndicators(t2, {});

    // Any page change refreshes, whichever page is selected.
    Ui(dialog).SetIndex(t1.Kind(), kDaily);
    dialog.SelectPage(0);
    ExpectIndicators(t1, {});
}

TEST_F(ReminderPageTest, TimerTwoNeverTouchesTimerOne)
{
    ChooseWeeklyMondayWednesday(t1);
    Pick(t1.Action(), kMessageAction);
    Ui(dialog).SetText(t1.Memo(), L"一番");
    auto snapshot = [&] {
        std::vector<int> state;
        for (int offset = 0; offset < IDC_REMINDER2_GROUP - IDC_REMINDER1_GROUP; ++offset) {
            int id = ReminderPage::Id(1, offset);
            if (HWND control = Ui(dialog).Control(id)) {
                state.push_back(IsWindowEnabled(control) ? 1 : 0);
                state.push_back(static_cast<int>(SendMessageW(control, BM_GETCHECK, 0, 0)));
                state.push_back(static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
                state.push_back(GetWindowTextLengthW(control));
            }
        }
        for (int day = 1; day <= ReminderPage::kDayCount; ++day) {
            state.push_back(reminderPage.IndicatorRed(1, day) ? 1 : 0);
        }
        return state;
    };
    std::vector<int> before = snapshot();
    std::wstring kindText = Ui(dialog).Text(t1.Kind());

    Pick(t2.Kind(), kOnce);
    Pick(t2.Kind(), kWeekly);
    Click(t2.Week(1));
    Pick(t2.Action(), kBothAction);
    Click(t2.OnOff());
    EXPECT_EQ(Text(t2.OnOff()), "タイマーON");
    ExpectIndicators(t2, {1});
    Click(t2.OnOff());
    ExpectReset(t2);

    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(Ui(dialog).Text(t1.Kind()), kindText);
    ExpectIndicators(t1, {kMonday, kWednesday});
}

// Every control of both groups is reached from the keyboard, row by row as the page lays them out, and Space
// presses a toggle as a click would.
TEST_F(ReminderPageTest, TabVisitsEachTimerRowByRowAndSpacePressesTheToggles)
{
    const std::vector<int> expected = EnableEveryControl();
    dialog.SelectPage(kReminderPageIndex);
    std::vector<int> visited;
    constexpr int kMostSteps = 100;
    int steps = 0;
    HWND control = Ui(dialog).Control(t1.Kind());
    do {
        const int id = GetDlgCtrlID(control);
        if (std::find(expected.begin(), expected.end(), id) != expected.end()) {
            visited.push_back(id);
        }
        control = GetNextDlgTabItem(dialog.Hwnd(), control, FALSE);
    } while (control && control != Ui(dialog).Control(t1.Kind()) && visited.size() <= expected.size() &&
             ++steps < kMostSteps);
    EXPECT_EQ(visited, expected);

    Pick(t1.Kind(), kWeekly);
    HWND monday = Ui(dialog).Control(t1.Week(kMonday));
    SetFocus(monday);
    ASSERT_EQ(GetFocus(), monday);
    SendMessageW(monday, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(monday, WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(Ui(dialog).Checked(t1.Week(kMonday)));
    EXPECT_TRUE(reminderPage.IndicatorRed(1, kMonday)) << "the page heard the press";
}

TEST_F(ReminderPageTest, IndicatorsLieAboveTheirButtonsWhichClipThemOut)
{
    for (const TimerIds& t : {t1, t2}) {
        for (int day = 1; day <= ReminderPage::kDayCount; ++day) {
            HWND button = Ui(dialog).Control(t.Week(day));
            HWND below = Ui(dialog).Control(t.Indicator(day));
            while (below && below != button) {
                below = GetWindow(below, GW_HWNDNEXT);
            }
            EXPECT_EQ(below, button) << "timer " << t.timer << " day " << day;
            EXPECT_NE(GetWindowLongW(button, GWL_STYLE) & WS_CLIPSIBLINGS, 0);
            // The indicator sits inside the top edge of its button, a pixel of the layout below it, centred.
            RECT indicator;
            RECT face;
            GetWindowRect(Ui(dialog).Control(t.Indicator(day)), &indicator);
            GetWindowRect(button, &face);
            EXPECT_NEAR(indicator.top - face.top, dialog.Dpi() / 96.0, 0.5);
            EXPECT_EQ(indicator.left - face.left, face.right - indicator.right);
        }
    }
}

// Tab from each control in turn: on the screen only the control with the keyboard focus shows the highlight colour,
// and a drop-down that the focus left keeps its text, the kind's prompt too.
TEST_F(ReminderPageTest, AfterTabFromEachControlOnlyTheFocusedOneShowsAHighlight)
{
    const std::vector<int> ids = EnableEveryControl();
    Ui(dialog).SetText(t1.Memo(), L"会議");
    dialog.SelectPage(kReminderPageIndex);
    dialog.ShowDialog();
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const DWORD highlightPixel = RGB(GetBValue(highlight), GetGValue(highlight), GetRValue(highlight));
    SetFocus(Ui(dialog).Control(t1.Kind()));
    int focusedAndHighlighted = 0;
    // Round the page and on through the page control and O K, back to the first drop-down.
    for (std::size_t step = 0; step < ids.size() + 2; ++step) {
        HWND focused = GetFocus();
        RedrawWindow(dialog.Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        const ClientPicture picture = ScreenClient(GetParent(Ui(dialog).Control(t1.Kind())));
        for (int id : ids) {
            const RECT rc = RectInParent(Ui(dialog).Control(id));
            int highlighted = 0;
            for (LONG y = rc.top; y < rc.bottom; ++y) {
                for (LONG x = rc.left; x < rc.right; ++x) {
                    highlighted += picture.At(x, y) == highlightPixel;
                }
            }
            const bool hasFocus = Ui(dialog).Control(id) == focused || IsChild(Ui(dialog).Control(id), focused);
            focusedAndHighlighted += hasFocus && highlighted > 0;
            EXPECT_TRUE(hasFocus || highlighted == 0)
                << "focus in " << GetDlgCtrlID(focused) << ", highlight in " << id;
        }
        PostMessageW(focused, WM_KEYDOWN, VK_TAB, 0);
        ProcessPendingMessages();
    }
    EXPECT_GE(focusedAndHighlighted, 7)
        << "the six drop-downs and the message field show their selection while focused";
    EXPECT_EQ(Text(t1.Kind()), "予約方法");
}

// A hidden settings dialog in its design state and the user's gestures on the reminder page's controls.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "scheduler/SchedulerIds.h"
#include "scheduler/ChimePlayer.h"
#include "scheduler/ReminderPage.h"
#include "settings/SettingsDialog.h"
#include "base/Handles.h"
#include "scheduler/ChimePage.h"
#include "support/DialogUi.h"
#include "support/BlankPages.h"
#include "support/TestSupport.h"

// The control ids of one reminder timer.
struct TimerIds {
    explicit TimerIds(int timer) : timer(timer) {}
    int Id(int firstTimerId) const { return ReminderPage::Id(timer, firstTimerId - IDC_REMINDER1_GROUP); }
    int Week(int day) const { return Id(IDC_REMINDER1_WEEKDAY1 + day - 1); }
    int Indicator(int day) const { return Id(IDC_REMINDER1_WEEKDAY1_INDICATOR + day - 1); }
    int Kind() const { return Id(IDC_REMINDER1_SCHEDULE); }
    int Action() const { return Id(IDC_REMINDER1_ACTION); }
    int Chime() const { return Id(IDC_REMINDER1_CHIME); }
    int Date() const { return Id(IDC_REMINDER1_DATE); }
    int Time() const { return Id(IDC_REMINDER1_TIME); }
    int OnOff() const { return Id(IDC_REMINDER1_ON_OFF); }
    int Memo() const { return Id(IDC_REMINDER1_MEMO); }
    int timer;
};

inline constexpr int kOnce = 0;
inline constexpr int kDaily = 1;
inline constexpr int kWeekly = 2;
inline constexpr int kChimeAction = 0;
inline constexpr int kMessageAction = 1;
inline constexpr int kBothAction = 2;
inline constexpr int kMonday = 2;
inline constexpr int kWednesday = 4;
inline constexpr COLORREF kRed = RGB(255, 0, 0);
inline constexpr COLORREF kCream = RGB(255, 251, 240);

// The dialog with the scheduler's two pages; the tests of the whole program give all six.
using ReminderPagesMaker = SettingsPages (*)(ChimePlayer& player, ChooseSoundFileFn chooseSoundFile,
                                             std::unique_ptr<ReminderPage> reminderPage);
inline SettingsPages SchedulerPages(ChimePlayer& player, ChooseSoundFileFn chooseSoundFile,
                                    std::unique_ptr<ReminderPage> reminderPage)
{
    ReminderPage* reminders = reminderPage.get();
    return With(With(BlankPages(), kChimePageIndex, MakeChimePage(player, chooseSoundFile, reminders)),
                kReminderPageIndex, std::move(reminderPage));
}

class ReminderFixture : public testing::Test {
protected:
    // The chime player's PlaySound and the basic page's file dialog: the system's unless a test puts in its own.
    explicit ReminderFixture(PlaySoundFn playSound = SystemPlaySound,
                             ChooseSoundFileFn chooseSoundFile = OpenSoundFileDialog,
                             ReminderPagesMaker makePages = SchedulerPages)
        : chimePlayer(std::move(playSound)),
          dialog(TestErrors(), TestLoop(),
                 makePages(chimePlayer, std::move(chooseSoundFile), std::move(madeReminderPage)))
    {
    }

    void SetUp() override
    {
        ASSERT_TRUE(dialog.Create(nullptr, false));
        CapturedErrors().clear();
    }

    // The user picks an item of a drop-down: the selection, then the notice the combo box would send.
    void Pick(int id, int index)
    {
        HWND combo = Ui(dialog).Control(id);
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }

    void Click(int id) { SendMessageW(Ui(dialog).Control(id), BM_CLICK, 0, 0); }

    ChimePage& DialogsChimePage() { return static_cast<ChimePage&>(dialog.Page(kChimePageIndex)); }

    std::string Text(int id) const { return Utf8(Ui(dialog).Text(id)); }

    // The colour the indicator paints, read back from a memory bitmap.
    COLORREF IndicatorColour(int id)
    {
        HWND indicator = Ui(dialog).Control(id);
        RECT rc;
        GetClientRect(indicator, &rc);
        MemoryCanvas canvas(rc.right, rc.bottom);
        SendMessageW(indicator, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Get()), PRF_CLIENT);
        return GetPixel(canvas.Get(), rc.right / 2, rc.bottom / 2);
    }

    // The user fills in a reminder on the page and, unless told otherwise, switches it on.
    void Arm(const TimerIds& t, int kind, int action, int chime, const SYSTEMTIME& when, std::vector<int> days = {},
             const wchar_t* memo = L"", bool switchOn = true)
    {
        Pick(t.Kind(), kind);
        Ui(dialog).SetDateTime(t.Date(), when);
        Ui(dialog).SetDateTime(t.Time(), when);
        for (int day : days) {
            Click(t.Week(day));
        }
        Pick(t.Action(), action);
        Pick(t.Chime(), chime);
        Ui(dialog).SetText(t.Memo(), memo);
        if (switchOn) {
            Click(t.OnOff());
        }
        ASSERT_EQ(Ui(dialog).Checked(t.OnOff()), switchOn);
    }

    // The user's weekly reminder of timer 1: "毎週" with Monday and Wednesday down.
    void ChooseWeeklyMondayWednesday(const TimerIds& t)
    {
        Pick(t.Kind(), kWeekly);
        Click(t.Week(kMonday));
        Click(t.Week(kWednesday));
    }

    ChimePlayer chimePlayer;
    std::unique_ptr<ReminderPage> madeReminderPage = MakeReminderPage();
    ReminderPage& reminderPage = *madeReminderPage;
    SettingsDialog dialog;
    TimerIds t1{1};
    TimerIds t2{2};
};

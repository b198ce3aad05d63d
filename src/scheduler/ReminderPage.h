// The reminder page お知らせタイマー: two reminder timers whose controls are the live reminder records,
// with the rules that keep their enabled states, ON/OFF captions and weekday indicators in line.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "scheduler/SchedulerIds.h"
#include "scheduler/SchedulerRules.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsPage.h"
#include "base/Controls.h"
#include "base/Handles.h"

// One reminder as its controls hold it: when it is due, what it does, and its message.
struct ReminderSettings {
    ReminderRecord when;
    int action = kActionChime;
    // Position in the chime list.
    int chime = 0;
    std::wstring memo;
};

class ReminderPage : public SettingsPage {
public:
    // The stored message text may take this many bytes in code page 932.
    static constexpr int kMemoMaxBytes = 62;
    static constexpr int kTimerCount = kReminderTimerCount;
    static constexpr int kDayCount = kWeekdayCount;

    // Each timer's ids are timer 1's moved by one block per timer before it.
    static constexpr int kIdBlock = IDC_REMINDER2_GROUP - IDC_REMINDER1_GROUP;
    // Control id of a timer at an offset inside its block of ids (offset 0 is the group box).
    static int Id(int timer, int offset) { return IDC_REMINDER1_GROUP + offset + (timer - 1) * kIdBlock; }

    void Build(SettingsDialog& dialog, HWND sheet) override;
    ValueBindings Bindings() const override;

    // What the tick reads, cheapest first: whether a timer is switched on, its time of day, then the rest.
    bool IsOn(int timer) const;
    SYSTEMTIME TimeOfDay(int timer) const;
    ReminderSettings Reminder(int timer) const;
    bool OnCommand(HWND control, int code) override;
    bool OnDrawItem(DRAWITEMSTRUCT* item) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;

    // Puts one timer's controls into the switched-off state (also used after a once-only reminder fired).
    void ResetReminder(int timer);
    // After a once-only reminder fired: the ON/OFF button up with the caption "タイマーOFF" (no click
    // event), then ResetReminder.
    void SwitchOffAfterFiring(int timer);
    // First steps of every page change: both ON/OFF captions, then all fourteen indicators.
    void RefreshOnPageChange();
    void OnAnyPageChange() override { RefreshOnPageChange(); }

    // Handlers, named after the controls; they run only for the user's own changes.
    void ScheduleKindChange(int timer);
    void ActionChange(int timer);
    void WeekClick(int timer, int day);
    void TimerOnOffClick(int timer);

    // The user's chime files in every timer's chime list: one added at the end; one deleted, a later one moving
    // up a place and each list keeping its selection (none when it was the deleted one's); one dropped because its
    // file is gone, every list then selecting the first chime.
    void AddUserChime(const std::wstring& path);
    void DeleteUserChime(int item);
    void DropUserChime(int item);

    // Whether weekday indicator 1..7 of a timer is red (chosen and weekly) rather than cream.
    bool IndicatorRed(int timer, int day) const;

private:
    // One timer's controls.
    struct TimerControls {
        DropDown scheduleKind;
        DatePicker date;
        TimePicker time;
        Toggle onOff;
        DropDown action;
        DropDown chime;
        TextField memo;
        std::array<Toggle, kDayCount> weekdays;
        // The weekday indicators: one above each weekday toggle, red when that day counts.
        std::array<Control, kDayCount> indicators;
    };
    TimerControls& Timer(int timer) { return timers_[timer - 1]; }
    const TimerControls& Timer(int timer) const { return timers_[timer - 1]; }
    // The timer (1-based) whose control sent a notice, or 0.
    int TimerOf(HWND control) const;

    void SetIndicator(int timer, int day, bool red);
    void RefreshIndicators(int timer);
    void RefreshCaption(int timer);
    void KeepMemoWithinLimit(int timer);
    void OfferADayToCome(int timer);

    SettingsDialog* dialog_ = nullptr;
    std::array<TimerControls, kTimerCount> timers_;
    bool red_[kTimerCount][kDayCount] = {};
    Brush redBrush_;
    Brush creamBrush_;
};
std::unique_ptr<ReminderPage> MakeReminderPage();

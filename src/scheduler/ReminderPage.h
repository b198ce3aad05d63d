// The reminder page お知らせタイマー: two reminder timers whose controls are the live reminder records,
// with the rules that keep their enabled states, ON/OFF captions and weekday indicators in line.
#pragma once

#include <memory>
#include <string>

#include "scheduler/SchedulerIds.h"
#include "scheduler/SchedulerRules.h"
#include "settings/SettingsPage.h"
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
    static constexpr int kTimerCount = 2;
    static constexpr int kDayCount = 7;

    // Timer 2's ids are timer 1's moved by one block.
    static constexpr int kIdBlock = IDC_REMINDER2_GROUP - IDC_REMINDER1_GROUP;
    // Control id of timer 1 or 2 at an offset inside its block of ids (offset 0 is the group box).
    static int Id(int timer, int offset) { return IDC_REMINDER1_GROUP + offset + (timer - 1) * kIdBlock; }

    void Build(SettingsDialog& form, HWND sheet) override;
    std::vector<ValueBinding> Bindings() const override;

    // What the tick reads, cheapest first: whether a timer is switched on, its time of day, then the rest.
    bool IsOn(int timer) const;
    SYSTEMTIME TimeOfDay(int timer) const;
    ReminderSettings Reminder(int timer) const;
    bool OnCommand(int id, int code, HWND control) override;
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

    // Whether weekday indicator 1..7 of a timer is red (chosen and weekly) rather than cream.
    bool IndicatorRed(int timer, int day) const;

private:
    void SetIndicator(int timer, int day, bool red);
    void RefreshIndicators(int timer);
    void RefreshCaption(int timer);
    void KeepMemoWithinLimit(int timer);
    void OfferADayToCome(int timer);

    SettingsDialog* form_ = nullptr;
    bool red_[kTimerCount][kDayCount] = {};
    Brush redBrush_;
    Brush creamBrush_;
};
std::unique_ptr<ReminderPage> MakeReminderPage();

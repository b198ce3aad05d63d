// The reminder page お知らせタイマー: two reminder timers whose controls are the live reminder records,
// with the rules that keep their enabled states, ON/OFF captions and weekday indicators in line.
#pragma once

#include "settings/SettingsPage.h"

class OsirasePage : public SettingsPage {
public:
    // Control id of timer 1 or 2 at an offset of resource.h's reminder block (IDC_OSIRASETIMER1... - 1200).
    static int Id(int timer, int offset) { return 1200 + (timer - 1) * 100 + offset; }

    void Build(TOptionEtcForm& form, HWND sheet) override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    HBRUSH OnCtlColor(HDC dc, HWND control) override;
    bool OnDrawItem(DRAWITEMSTRUCT* item) override;

    // Puts one timer's controls into the switched-off state (also used after a once-only reminder fired).
    void OsiraseTimerReset(int timer);
    // First steps of every page change: both ON/OFF captions, then all fourteen indicators.
    void RefreshOnPageChange();

    // Handlers, named after the controls.
    void YoyakuHouhouChange(int timer);
    void OsiraseHouhouChange(int timer);
    void WeekClick(int timer, int day);
    void TimerOnOffClick(int timer);

    // Whether weekday indicator 1..7 of a timer is red (chosen and weekly) rather than cream.
    bool IndicatorRed(int timer, int day) const;

private:
    TOptionEtcForm* form_ = nullptr;
    bool red_[2][7] = {};
};

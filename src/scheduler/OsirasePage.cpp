// The reminder page お知らせタイマー: controls of both timers and the rules of their states.
#include "scheduler/OsirasePage.h"

#include "resource.h"
#include "settings/OptionEtcForm.h"

void OsirasePage::Build(TOptionEtcForm& form, HWND sheet)
{
    form_ = &form;
}

bool OsirasePage::OnCommand(int id, int code, HWND control)
{
    return false;
}

bool OsirasePage::OnNotify(NMHDR* header, LRESULT* result)
{
    return false;
}

HBRUSH OsirasePage::OnCtlColor(HDC dc, HWND control)
{
    return nullptr;
}

bool OsirasePage::OnDrawItem(DRAWITEMSTRUCT* item)
{
    return false;
}

void OsirasePage::OsiraseTimerReset(int timer) {}

void OsirasePage::RefreshOnPageChange() {}

void OsirasePage::YoyakuHouhouChange(int timer) {}

void OsirasePage::OsiraseHouhouChange(int timer) {}

void OsirasePage::WeekClick(int timer, int day) {}

void OsirasePage::TimerOnOffClick(int timer) {}

bool OsirasePage::IndicatorRed(int timer, int day) const
{
    return red_[timer - 1][day - 1];
}

std::unique_ptr<SettingsPage> MakeOsirasePage()
{
    return std::make_unique<OsirasePage>();
}

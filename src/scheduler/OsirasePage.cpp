// The reminder page お知らせタイマー: controls of both timers and the rules of their states.
#include "scheduler/OsirasePage.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "resource.h"
#include "scheduler/ChimeRules.h"
#include "settings/OptionEtcForm.h"

namespace {
// Offsets of a timer's controls inside its block of ids (see resource.h).
enum Offset {
    kGroup = 0,
    kYoyakuHouhou = 1,
    kDate = 2,
    kTime = 3,
    kTimerOnOff = 4,
    kOsiraseHouhou = 5,
    kJihou = 6,
    kLabel = 7,
    kMemo = 8,
    kWeek = 10,
    kWeekL = 20
};

constexpr int kGroupLeft = 30;
constexpr int kGroupTop[2] = {4, 172};
constexpr DWORD kDropDown = CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP;
constexpr const wchar_t* kWeekTexts[7] = {L"日", L"月", L"火", L"水", L"木", L"金", L"土"};
constexpr const wchar_t* kGroupTexts[2] = {L"お知らせタイマー　１", L"お知らせタイマー　２"};
constexpr const wchar_t* kYoyakuHouhouItems[] = {L"日時を指定", L"毎日", L"毎週"};
constexpr const wchar_t* kOsiraseHouhouItems[] = {L"時報を鳴らす", L"メッセージを出す", L"時報とメッセージ"};
} // namespace

void OsirasePage::Build(TOptionEtcForm& form, HWND sheet)
{
    form_ = &form;
    for (int timer = 1; timer <= 2; ++timer) {
        int gx = kGroupLeft;
        int gy = kGroupTop[timer - 1];
        auto at = [&](int offset, const wchar_t* cls, const wchar_t* text, int x, int y, int w, int h, DWORD style) {
            return ControlDef{Id(timer, offset), cls, text, gx + x, gy + y, w, h, style};
        };
        std::vector<ControlDef> defs;
        defs.push_back(at(kGroup, WC_BUTTONW, kGroupTexts[timer - 1], 0, 0, 490, 160, BS_GROUPBOX));
        // The strips come before their buttons so that they lie above them.
        for (int day = 1; day <= 7; ++day) {
            defs.push_back(at(kWeekL + day, WC_STATICW, L"", 190 + 35 * (day - 1), 21, 15, 3, SS_OWNERDRAW));
        }
        // Creation order is the keyboard order: date, time, kind, action, chime, message.
        defs.push_back(
            at(kDate, DATETIMEPICK_CLASSW, L"", 10, 54, 150, 23, DTS_SHORTDATEFORMAT | WS_TABSTOP | WS_DISABLED));
        defs.push_back(at(kTime, DATETIMEPICK_CLASSW, L"", 180, timer == 1 ? 54 : 56, 150, 23,
                          DTS_TIMEFORMAT | WS_TABSTOP | WS_DISABLED));
        defs.push_back(at(kYoyakuHouhou, WC_COMBOBOXW, L"", 10, 20, 150, 200, kDropDown));
        defs.push_back(at(kOsiraseHouhou, WC_COMBOBOXW, L"", 10, 88, 150, 200, kDropDown));
        defs.push_back(at(kJihou, WC_COMBOBOXW, L"", 180, 88, 150, 240, kDropDown));
        defs.push_back(
            at(kMemo, WC_EDITW, L"", 10, 128, 471, 23, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_DISABLED));
        defs.push_back(at(kLabel, WC_STATICW, L"メッセージ", 10, 112, 120, 15, SS_LEFT));
        for (int day = 1; day <= 7; ++day) {
            defs.push_back(at(kWeek + day, WC_BUTTONW, kWeekTexts[day - 1], 180 + 35 * (day - 1), 20, 35, 23,
                              BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_CLIPSIBLINGS | WS_DISABLED));
        }
        defs.push_back(at(kTimerOnOff, WC_BUTTONW, L"タイマーON", 350, 54, 130, 57, BS_AUTOCHECKBOX | BS_PUSHLIKE));
        CreateControls(form, sheet, defs.data(), defs.size());

        for (const wchar_t* item : kYoyakuHouhouItems) {
            form.AddItem(Id(timer, kYoyakuHouhou), item);
        }
        form.SetIndex(Id(timer, kYoyakuHouhou), -1);
        form.SetText(Id(timer, kYoyakuHouhou), L"予約方法");
        for (const wchar_t* item : kOsiraseHouhouItems) {
            form.AddItem(Id(timer, kOsiraseHouhou), item);
        }
        form.SetIndex(Id(timer, kOsiraseHouhou), 0);
        for (int i = 0; i < kBuiltInChimeCount; ++i) {
            form.AddItem(Id(timer, kJihou), BuiltInChimeText(i));
        }
        form.SetIndex(Id(timer, kJihou), 0);
    }
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

// The basic page 基本設定: the hourly chime's timing and sound, the buttons that preview, stop, add and
// remove chime sounds, and the autostart check box.
#include <windows.h>
#include <commctrl.h>

#include "resource.h"
#include "scheduler/ChimeRules.h"
#include "settings/OptionEtcForm.h"

namespace {
constexpr DWORD kDropDown = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;

// Two columns inside the group: timing on the left, sound on the right, with the sound buttons under them.
const ControlDef kControls[] = {
    {IDC_JIHOUGROUP, WC_BUTTONW, L"時報", 30, 10, 490, 190, BS_GROUPBOX},
    {IDC_TIMERWAVEONOFFLBL, WC_STATICW, L"時報を鳴らす時間", 50, 38, 215, 16, SS_LEFT},
    {IDC_TIMERWAVEONOFF, WC_COMBOBOXW, L"", 50, 58, 215, 200, kDropDown},
    {IDC_TIMERWAVELBL, WC_STATICW, L"時報音", 285, 38, 215, 16, SS_LEFT},
    {IDC_TIMERWAVE, WC_COMBOBOXW, L"", 285, 58, 215, 240, kDropDown},
    {IDC_TIMERWAVEPLAY, WC_BUTTONW, L"時報音の確認", 50, 102, 215, 30, kButton},
    {IDC_TIMERWAVESTOP, WC_BUTTONW, L"時報音の停止", 285, 102, 215, 30, kButton | WS_DISABLED},
    {IDC_TIMERWAVEADD, WC_BUTTONW, L"時報音の追加", 50, 144, 215, 30, kButton},
    {IDC_TIMERWAVEDEL, WC_BUTTONW, L"追加時報音の削除", 285, 144, 215, 30, kButton},
    {IDC_ETCGROUP, WC_BUTTONW, L"起動", 30, 214, 490, 70, BS_GROUPBOX},
    {IDC_STARTUPONOFF, WC_BUTTONW, L"Windows の起動と同時に Sorabune を起動する", 50, 242, 450, 24,
     BS_AUTOCHECKBOX | WS_TABSTOP},
};

constexpr const wchar_t* kTimerWaveOnOffItems[] = {L"無し", L"毎時0分", L"毎時0分+30分"};

class SetteiPage : public SettingsPage {
public:
    void Build(TOptionEtcForm& form, HWND sheet) override
    {
        CreateControls(form, sheet, kControls);
        for (const wchar_t* item : kTimerWaveOnOffItems) {
            form.AddItem(IDC_TIMERWAVEONOFF, item);
        }
        form.SetIndex(IDC_TIMERWAVEONOFF, 0);
        for (int i = 0; i < kBuiltInChimeCount; ++i) {
            form.AddItem(IDC_TIMERWAVE, BuiltInChimeText(i));
        }
        form.SetIndex(IDC_TIMERWAVE, 0);
    }
};
} // namespace

std::unique_ptr<SettingsPage> MakeSetteiPage()
{
    return std::make_unique<SetteiPage>();
}

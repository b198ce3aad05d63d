// The basic page 基本設定: the hourly chime's timing and sound, the buttons that preview, stop, add and
// remove chime sounds, and the autostart check box.
#include "scheduler/ChimePage.h"

#include <commctrl.h>
#include <commdlg.h>

#include "scheduler/SchedulerIds.h"
#include "scheduler/ChimePlayer.h"
#include "scheduler/ReminderPage.h"
#include "scheduler/SchedulerRules.h"
#include "settings/SettingsRules.h"
#include "settings/SettingsDialog.h"
#include "base/SystemLibrary.h"

namespace {
// No list here comes near the 30 items an open list shows before it scrolls, so none has a scroll bar: a hidden
// list would show one as its first items arrive and hide it again when it opens.
constexpr DWORD kDropDown = CBS_DROPDOWNLIST | WS_TABSTOP;
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
constexpr int kFirstUserChime = kBuiltInChimeCount;
constexpr wchar_t kSoundFilter[] = L"メディア ファイル\0*.wav;*.mp3\0";
constexpr DWORD kPathBufferChars = 32768;

// Two columns inside the group: timing on the left, sound on the right, with the sound buttons under them.
const ControlDef kControls[] = {
    {IDC_CHIME_GROUP, WC_BUTTONW, L"時報", 30, 10, 490, 190, BS_GROUPBOX},
    {IDC_TIMERWAVEONOFFLBL, WC_STATICW, L"時報を鳴らす時間", 50, 38, 215, 16, SS_LEFT},
    {IDC_TIMERWAVEONOFF, WC_COMBOBOXW, L"", 50, 58, 215, 200, kDropDown},
    {IDC_TIMERWAVELBL, WC_STATICW, L"時報音", 285, 38, 215, 16, SS_LEFT},
    {IDC_TIMERWAVE, WC_COMBOBOXW, L"", 285, 58, 215, 240, kDropDown},
    {IDC_TIMERWAVEPLAY, WC_BUTTONW, L"時報音の確認", 50, 102, 215, 30, kButton},
    {IDC_TIMERWAVESTOP, WC_BUTTONW, L"時報音の停止", 285, 102, 215, 30, kButton | WS_DISABLED},
    {IDC_TIMERWAVEADD, WC_BUTTONW, L"時報音の追加", 50, 144, 215, 30, kButton},
    {IDC_TIMERWAVEDEL, WC_BUTTONW, L"追加時報音の削除", 285, 144, 215, 30, kButton},
    {IDC_OTHER_GROUP, WC_BUTTONW, L"起動", 30, 214, 490, 70, BS_GROUPBOX},
    {IDC_STARTUPONOFF, WC_BUTTONW, L"Windows の起動と同時に Sorabune を起動する", 50, 242, 450, 24,
     BS_AUTOCHECKBOX | WS_TABSTOP},
};

constexpr const wchar_t* kTimerWaveOnOffItems[] = {L"無し", L"毎時0分", L"毎時0分+30分"};

} // namespace

bool OpenSoundFileDialog(HWND owner, std::wstring* path)
{
    std::wstring buffer(kPathBufferChars, L'\0');
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kSoundFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = kPathBufferChars;
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    // The dialog's library, and the print spooler's that it brings, load when a dialog first opens: nothing at
    // start needs them.
    static const auto getOpenFileName =
        SystemFunction<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    if (!getOpenFileName || !getOpenFileName(&ofn)) {
        return false;
    }
    *path = buffer.c_str();
    return true;
}

ChimePage::~ChimePage()
{
    player_.Detach(*this);
}

void ChimePage::Build(SettingsDialog& dialog, HWND sheet)
{
    dialog_ = &dialog;
    player_.Attach(*this, dialog.Hwnd());
    const MadeControls made = CreateControls(dialog, sheet, kControls);
    timerWaveOnOff_ = DropDown(made[IDC_TIMERWAVEONOFF]);
    timerWave_ = DropDown(made[IDC_TIMERWAVE]);
    play_ = Button(made[IDC_TIMERWAVEPLAY]);
    stop_ = Button(made[IDC_TIMERWAVESTOP]);
    add_ = Button(made[IDC_TIMERWAVEADD]);
    del_ = Button(made[IDC_TIMERWAVEDEL]);
    startup_ = Toggle(made[IDC_STARTUPONOFF]);
    timerWaveOnOff_.AddItems({std::begin(kTimerWaveOnOffItems), std::end(kTimerWaveOnOffItems)});
    timerWaveOnOff_.SetIndex(0);
    timerWave_.AddItems(BuiltInChimeTexts());
    timerWave_.SetIndex(0);
}

ValueBindings ChimePage::Bindings() const
{
    return {BindIndex(L"TimerWave", timerWave_), BindIndex(L"TimerWaveOnOff", timerWaveOnOff_),
            BindChecked(L"StartupOnOff", startup_), BindItemCount(L"TimerWaveCount", timerWave_),
            BindUserItems(L"TimerWave%d", timerWave_, L"TimerWaveCount", kBuiltInChimeCount, true)};
}

int ChimePage::HourlyChimeMode() const
{
    return timerWaveOnOff_.Index();
}

int ChimePage::HourlyChime() const
{
    return timerWave_.Index();
}

bool ChimePage::OnCommand(HWND control, int code)
{
    if (code != BN_CLICKED) {
        return false;
    }
    if (play_.Is(control)) {
        TimerWavePlayClick();
    } else if (stop_.Is(control)) {
        TimerWaveStopClick();
    } else if (add_.Is(control)) {
        TimerWaveAddClick();
    } else if (del_.Is(control)) {
        TimerWaveDelClick();
    } else {
        return false;
    }
    return true;
}

bool ChimePage::OnDialogMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg != MM_MCINOTIFY) {
        return false;
    }
    player_.PlaybackEnded(wParam, lParam);
    *result = 0;
    return true;
}

void ChimePage::TimerWavePlayClick()
{
    player_.PlayTimerWave(static_cast<unsigned>(timerWave_.Index()));
}

void ChimePage::TimerWaveStopClick()
{
    player_.Stop();
}

void ChimePage::TimerWaveAddClick()
{
    std::wstring path;
    if (!chooseSoundFile_(dialog_->Hwnd(), &path)) {
        return;
    }
    if (timerWave_.ItemCount() >= kMaxChimeItems) {
        return;
    }
    timerWave_.AddItem(path);
    if (reminders_) {
        reminders_->AddUserChime(path);
    }
}

void ChimePage::TimerWaveDelClick()
{
    int k = timerWave_.Index();
    if (k < kFirstUserChime || k >= kMaxChimeItems) {
        return;
    }
    timerWave_.DeleteItem(k);
    timerWave_.SetIndex(0);
    if (reminders_) {
        reminders_->DeleteUserChime(k);
    }
}

void ChimePage::DropUserChime(int item)
{
    timerWave_.DeleteItem(item);
    if (reminders_) {
        reminders_->DropUserChime(item);
    }
    timerWave_.SetIndex(0);
}

// One of the preview and stop buttons is disabled and the other enabled, in that order. The keyboard focus, which a
// disabled button loses, follows to the button now enabled.
void ChimePage::ShowPlaying(bool playing)
{
    Button& disabled = playing ? play_ : stop_;
    Button& enabled = playing ? stop_ : play_;
    const bool hadFocus = GetFocus() == disabled.Hwnd();
    disabled.SetEnabled(false);
    enabled.SetEnabled(true);
    if (hadFocus) {
        SetFocus(enabled.Hwnd());
    }
}

std::unique_ptr<ChimePage> MakeChimePage(ChimePlayer& player, ChooseSoundFileFn chooseSoundFile,
                                         ReminderPage* reminders)
{
    return std::make_unique<ChimePage>(player, std::move(chooseSoundFile), reminders);
}

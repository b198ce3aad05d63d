// The basic page 基本設定: the hourly chime's timing and sound, the buttons that preview, stop, add and
// remove chime sounds, the autostart check box, and the chime player behind them.
#include "scheduler/SetteiPage.h"

#include <commctrl.h>
#include <commdlg.h>

#include "resource.h"
#include "scheduler/ChimeRules.h"
#include "settings/OptionEtcForm.h"
#include "base/FileSystem.h"

namespace {
constexpr DWORD kDropDown = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
// SND_RESOURCE | SND_ASYNC: no SND_NODEFAULT, so a resource that cannot play gives the system's sound.
constexpr DWORD kBuiltInChimeFlags = SND_RESOURCE | SND_ASYNC;
constexpr int kFirstUserChime = kBuiltInChimeCount;
constexpr int kChimeLists[] = {IDC_TIMERWAVE, IDC_OSIRASETIMER1JIHOU, IDC_OSIRASETIMER2JIHOU};
constexpr wchar_t kSoundFilter[] = L"メディア ファイル\0*.wav;*.mp3\0";
constexpr DWORD kPathBufferChars = 32768;

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

BOOL WINAPI SystemPlaySound(LPCWSTR sound, HMODULE module, DWORD flags)
{
    return PlaySoundW(sound, module, flags);
}

// OpnDlg2: one existing file at a time.
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
    if (!GetOpenFileNameW(&ofn)) {
        return false;
    }
    *path = buffer.c_str();
    return true;
}

PlaySoundFn& ChimePlaySound()
{
    static PlaySoundFn fn = SystemPlaySound;
    return fn;
}

ChooseSoundFileFn& ChooseSoundFile()
{
    static ChooseSoundFileFn fn = OpenSoundFileDialog;
    return fn;
}

void PlayBuiltInChime(int index)
{
    std::wstring name = L"TIMER" + std::to_wstring(index + 1) + L"A";
    ChimePlaySound()(name.c_str(), GetModuleHandleW(nullptr), kBuiltInChimeFlags);
}

// Disables one of the preview and stop buttons and enables the other, in that order. The keyboard focus,
// which a disabled button loses, follows to the button now enabled.
void SwapEnabled(TOptionEtcForm& form, int disableId, int enableId)
{
    const bool hadFocus = GetFocus() == form.Control(disableId);
    form.SetEnabled(disableId, false);
    form.SetEnabled(enableId, true);
    if (hadFocus) {
        SetFocus(form.Control(enableId));
    }
}
} // namespace

SetteiPage::~SetteiPage()
{
    CloseMediaPlayer();
}

void SetteiPage::Build(TOptionEtcForm& form, HWND sheet)
{
    form_ = &form;
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

bool SetteiPage::OnCommand(int id, int code, HWND)
{
    if (code != BN_CLICKED) {
        return false;
    }
    switch (id) {
    case IDC_TIMERWAVEPLAY:
        TimerWavePlayClick();
        return true;
    case IDC_TIMERWAVESTOP:
        TimerWaveStopClick();
        return true;
    case IDC_TIMERWAVEADD:
        TimerWaveAddClick();
        return true;
    case IDC_TIMERWAVEDEL:
        TimerWaveDelClick();
        return true;
    default:
        return false;
    }
}

bool SetteiPage::OnFormMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg != MM_MCINOTIFY) {
        return false;
    }
    MediaPlayer1Notify(wParam, lParam);
    *result = 0;
    return true;
}

void SetteiPage::PlayTimerWave(unsigned index)
{
    if (index < static_cast<unsigned>(kBuiltInChimeCount)) {
        PlayBuiltInChime(static_cast<int>(index));
        return;
    }
    if (index >= static_cast<unsigned>(kMaxChimeItems)) {
        return;
    }
    int item = static_cast<int>(index);
    std::wstring path = form_->ItemText(IDC_TIMERWAVE, item);
    if (FileExists(path)) {
        PlayUserFile(path);
        return;
    }
    // The file is gone: it leaves every chime list and the first built-in chime sounds in its place.
    for (int list : kChimeLists) {
        form_->DeleteItem(list, item);
    }
    for (int list : kChimeLists) {
        form_->SetIndex(list, 0);
    }
    PlayBuiltInChime(0);
}

void SetteiPage::PlayUserFile(const std::wstring& path)
{
    CloseMediaPlayer();
    MCI_OPEN_PARMSW open = {};
    open.lpstrElementName = path.c_str();
    // No device type: the system chooses the device from the file's extension.
    if (mciSendCommandW(0, MCI_OPEN, MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&open)) != 0) {
        return;
    }
    device_ = open.wDeviceID;
    MCI_PLAY_PARMS play = {};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(form_->Hwnd());
    if (mciSendCommandW(device_, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&play)) != 0) {
        CloseMediaPlayer();
        return;
    }
    SwapEnabled(*form_, IDC_TIMERWAVEPLAY, IDC_TIMERWAVESTOP);
}

void SetteiPage::CloseMediaPlayer()
{
    if (device_ == 0) {
        return;
    }
    mciSendCommandW(device_, MCI_CLOSE, 0, 0);
    device_ = 0;
    // The closed device's notice (aborted, or an end that raced the close) is stale: a device opened later
    // may get the same id, and the notice must not close that one.
    if (form_ && form_->Hwnd()) {
        MSG stale;
        while (PeekMessageW(&stale, form_->Hwnd(), MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE)) {
        }
    }
}

void SetteiPage::TimerWavePlayClick()
{
    PlayTimerWave(static_cast<unsigned>(form_->Index(IDC_TIMERWAVE)));
}

void SetteiPage::TimerWaveStopClick()
{
    SwapEnabled(*form_, IDC_TIMERWAVESTOP, IDC_TIMERWAVEPLAY);
    if (device_ != 0) {
        mciSendCommandW(device_, MCI_STOP, 0, 0);
    }
    CloseMediaPlayer();
}

void SetteiPage::MediaPlayer1Notify(WPARAM, LPARAM deviceId)
{
    // A notice for another device is stale; some devices (Wine's MPEG player) report no device at all.
    const auto device = static_cast<MCIDEVICEID>(deviceId);
    if (device_ != 0 && device != 0 && device != device_) {
        return;
    }
    CloseMediaPlayer();
    SwapEnabled(*form_, IDC_TIMERWAVESTOP, IDC_TIMERWAVEPLAY);
}

void SetteiPage::TimerWaveAddClick()
{
    std::wstring path;
    if (!ChooseSoundFile()(form_->Hwnd(), &path)) {
        return;
    }
    if (form_->ItemCount(IDC_TIMERWAVE) >= kMaxChimeItems) {
        return;
    }
    for (int list : kChimeLists) {
        form_->AddItem(list, path);
    }
}

void SetteiPage::TimerWaveDelClick()
{
    int k = form_->Index(IDC_TIMERWAVE);
    if (k < kFirstUserChime || k >= kMaxChimeItems) {
        return;
    }
    form_->DeleteItem(IDC_TIMERWAVE, k);
    form_->SetIndex(IDC_TIMERWAVE, 0);
    for (int list : {IDC_OSIRASETIMER1JIHOU, IDC_OSIRASETIMER2JIHOU}) {
        if (form_->Index(list) == k) {
            form_->SetIndex(list, 0);
        }
    }
    for (int list : {IDC_OSIRASETIMER1JIHOU, IDC_OSIRASETIMER2JIHOU}) {
        // A later item moves up one place; a list that had it selected keeps it selected.
        int selected = form_->Index(list);
        form_->DeleteItem(list, k);
        form_->SetIndex(list, selected > k ? selected - 1 : selected);
    }
}

std::unique_ptr<SettingsPage> MakeSetteiPage()
{
    return std::make_unique<SetteiPage>();
}

SetteiPage& Settei(TOptionEtcForm& form)
{
    return static_cast<SetteiPage&>(form.Page(TOptionEtcForm::kSetteiPage));
}

PlaySoundFn SetChimePlaySound(PlaySoundFn fn)
{
    PlaySoundFn previous = ChimePlaySound();
    ChimePlaySound() = fn ? fn : SystemPlaySound;
    return previous;
}

ChooseSoundFileFn SetChooseSoundFile(ChooseSoundFileFn fn)
{
    ChooseSoundFileFn previous = ChooseSoundFile();
    ChooseSoundFile() = fn ? fn : OpenSoundFileDialog;
    return previous;
}

// The basic page 基本設定 and the chime player: PlayTimerWave plays a built-in WAVE resource with PlaySound
// or a user sound file through the hidden media player (MCI), whose end notice comes to the dialog.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <string>

#include "settings/SettingsPage.h"

class SetteiPage : public SettingsPage {
public:
    ~SetteiPage() override;

    void Build(TOptionEtcForm& form, HWND sheet) override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnFormMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Starts chime index 0-7 (built-in) or 8-9 (user file) and returns at once; other indices do nothing.
    // A user file that is gone is dropped from the three chime lists and "時報 1" plays instead.
    void PlayTimerWave(unsigned index);

    void TimerWavePlayClick();
    void TimerWaveStopClick();
    void TimerWaveAddClick();
    void TimerWaveDelClick();
    // End notice of a user file's playback (MM_MCINOTIFY), whether it ended by itself or was stopped.
    void MediaPlayer1Notify(WPARAM flags, LPARAM deviceId);

    // The open media player device, 0 while closed.
    MCIDEVICEID MediaPlayerDevice() const { return device_; }

private:
    void PlayUserFile(const std::wstring& path);
    void CloseMediaPlayer();

    TOptionEtcForm* form_ = nullptr;
    MCIDEVICEID device_ = 0;
};

// The basic page of a settings dialog.
SetteiPage& Settei(TOptionEtcForm& form);

// Seams for the tests: the PlaySound call of the built-in chimes, and OpnDlg2 (true and the chosen file's
// full path, or false when the user cancels). Null restores the real one; the previous one is returned.
using PlaySoundFn = BOOL(WINAPI*)(LPCWSTR sound, HMODULE module, DWORD flags);
PlaySoundFn SetChimePlaySound(PlaySoundFn fn);
using ChooseSoundFileFn = bool (*)(HWND owner, std::wstring* path);
ChooseSoundFileFn SetChooseSoundFile(ChooseSoundFileFn fn);

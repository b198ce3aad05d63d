// The basic page 基本設定: its controls and handlers; the sound buttons act through the chime player that
// the entry hands it, and the media player's end notice, which comes to the dialog, goes on to that player.
#pragma once

#include <windows.h>

#include <string>

#include "settings/SettingsPage.h"

class ChimePlayer;

class SetteiPage : public SettingsPage {
public:
    explicit SetteiPage(ChimePlayer& player) : player_(player) {}
    ~SetteiPage() override;

    void Build(TOptionEtcForm& form, HWND sheet) override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnFormMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    void TimerWavePlayClick();
    void TimerWaveStopClick();
    void TimerWaveAddClick();
    void TimerWaveDelClick();

private:
    TOptionEtcForm* form_ = nullptr;
    ChimePlayer& player_;
};

// Seam for the tests: OpnDlg2 (true and the chosen file's full path, or false when the user cancels). Null
// restores the real one; the previous one is returned.
using ChooseSoundFileFn = bool (*)(HWND owner, std::wstring* path);
ChooseSoundFileFn SetChooseSoundFile(ChooseSoundFileFn fn);

// The basic page 基本設定: its controls and handlers; the sound buttons act through the chime player that
// the entry hands it, and the media player's end notice, which comes to the dialog, goes on to that player.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "settings/SettingsPage.h"

class ChimePlayer;
class ReminderPage;

// The chime file dialog: true and the chosen file's full path, or false when the user cancels.
using ChooseSoundFileFn = std::function<bool(HWND owner, std::wstring* path)>;
// The system's open-file dialog, one existing file at a time.
bool OpenSoundFileDialog(HWND owner, std::wstring* path);

class ChimePage : public SettingsPage {
public:
    // reminders, when there is a reminder page, holds the other chime lists, which mirror this page's.
    ChimePage(ChimePlayer& player, ChooseSoundFileFn chooseSoundFile, ReminderPage* reminders)
        : player_(player), chooseSoundFile_(std::move(chooseSoundFile)), reminders_(reminders)
    {
    }
    ~ChimePage() override;

    void Build(SettingsDialog& dialog, HWND sheet) override;
    ValueBindings Bindings() const override;

    // The hourly chime as the user set it: its mode (0 off, 1 on the hour, 2 on the hour and half hour) and
    // the chime's position in the list.
    int HourlyChimeMode() const;
    int HourlyChime() const;
    bool OnCommand(HWND control, int code) override;
    bool OnDialogMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    void TimerWavePlayClick();
    void TimerWaveStopClick();
    void TimerWaveAddClick();
    void TimerWaveDelClick();

    // What the player shows and changes: a chime's file, a file that is gone leaving every chime list, and whether
    // a user file plays (the preview's button disabled, the stop button enabled, the focus following).
    std::wstring ChimeFile(int item) const { return timerWave_.ItemText(item); }
    void DropUserChime(int item);
    void ShowPlaying(bool playing);

private:
    SettingsDialog* dialog_ = nullptr;
    DropDown timerWaveOnOff_;
    DropDown timerWave_;
    Button play_;
    Button stop_;
    Button add_;
    Button del_;
    Toggle startup_;
    ChimePlayer& player_;
    ChooseSoundFileFn chooseSoundFile_;
    ReminderPage* reminders_;
};
std::unique_ptr<ChimePage> MakeChimePage(ChimePlayer& player, ChooseSoundFileFn chooseSoundFile,
                                         ReminderPage* reminders = nullptr);

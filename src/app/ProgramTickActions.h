// The tick's peers in the running program: the wallpaper page and its change, the information page's
// memory figures, the chime player and the reminder windows.
#pragma once

#include "scheduler/Scheduler.h"

class ChimePlayer;
class InfoPage;
class ReminderPage;
class ReminderWindows;
class SettingsDialog;
class WallpaperPage;

class ProgramTickActions : public TickActions {
public:
    ProgramTickActions(SettingsDialog& dialog, ChimePlayer& chimePlayer, ReminderWindows& reminderWindows);
    WallpaperChangeTime CurrentWallpaperChangeTime() override;
    void ChangeWallpaper() override;
    void PlayTimerWave(unsigned index) override;
    bool IsPlayingUserFile() override;
    void ShowReminder(int timer, const std::wstring& memo, const SYSTEMTIME& moment) override;
    bool InfoPageShown() override;
    void UpdateMemLabels() override;

private:
    SettingsDialog& dialog_;
    ChimePlayer& chimePlayer_;
    ReminderWindows& reminderWindows_;
};

// The tick's peers in the running program: the wallpaper page and its change, the information page's
// memory figures, the chime player and the two reminder windows.
#pragma once

#include "scheduler/Scheduler.h"

class ChimePlayer;
class InfoPage;
class ReminderPage;
class ReminderWindow;
class SettingsDialog;
class WallpaperPage;

class ProgramTickActions : public TickActions {
public:
    ProgramTickActions(SettingsDialog& dialog, ChimePlayer& chimePlayer, ReminderWindow& reminderWindow1,
                       ReminderWindow& reminderWindow2);
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
    ReminderWindow& reminderWindow1_;
    ReminderWindow& reminderWindow2_;
};

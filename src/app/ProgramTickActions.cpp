// What the tick reads and does in the running program, reached through the dialog's typed pages.
#include "app/ProgramTickActions.h"

#include "app/MakePages.h"
#include "info/InfoPage.h"
#include "scheduler/ChimePlayer.h"
#include "scheduler/ReminderPage.h"
#include "scheduler/ReminderWindow.h"
#include "settings/SettingsDialog.h"
#include "wallpaper/Wallpaper.h"
#include "wallpaper/WallpaperPage.h"

ProgramTickActions::ProgramTickActions(SettingsDialog& dialog, ChimePlayer& chimePlayer,
                                       ReminderWindows& reminderWindows)
    : dialog_(dialog), chimePlayer_(chimePlayer), reminderWindows_(reminderWindows)
{
}

WallpaperChangeTime ProgramTickActions::CurrentWallpaperChangeTime()
{
    return WallpaperPageOf(dialog_).ChangeTime();
}

void ProgramTickActions::ChangeWallpaper()
{
    WallpaperPageOf(dialog_).ChangeNow();
}

void ProgramTickActions::PlayTimerWave(unsigned index)
{
    chimePlayer_.PlayTimerWave(index);
}

bool ProgramTickActions::IsPlayingUserFile()
{
    return chimePlayer_.IsPlayingUserFile();
}

void ProgramTickActions::ShowReminder(int timer, const std::wstring& memo, const SYSTEMTIME& moment)
{
    reminderWindows_.ForTimer(timer).ShowReminder(memo, moment);
}

bool ProgramTickActions::InfoPageShown()
{
    return InfoPageOf(dialog_).IsShown();
}

void ProgramTickActions::UpdateMemLabels()
{
    InfoPageOf(dialog_).UpdateMemoryFigures();
}

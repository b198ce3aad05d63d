// The six pages of the settings dialog, each made by the folder that owns its behaviour; the program entry
// (and every test of the whole dialog) hands them to the dialog frame, which knows none of them.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "info/InfoPage.h"
#include "info/VersionPage.h"
#include "scheduler/ChimePage.h"
#include "scheduler/ChimePlayer.h"
#include "scheduler/ReminderPage.h"
#include "settings/SettingsPage.h"
#include "wallpaper/WallpaperPage.h"

class SettingsDialog;

// The system calls behind the pages, each of a type that its page's folder defines. The entry leaves the
// system's in place; tests put in their own.
struct PageServices {
    ChooseSoundFileFn chooseSoundFile = OpenSoundFileDialog;
    WallpaperServices wallpaper;
    DriveQueries drives = SystemDriveQueries();
    ShellOpenFn openLink = ShellExecuteW;
};

// All six in tab order. The basic page plays through the entry's chime player.
SettingsPages MakeSettingsPages(ChimePlayer& chimePlayer,
                                std::unique_ptr<ReminderPage> reminderPage = MakeReminderPage(),
                                const PageServices& services = {});

// The pages of a dialog made from MakeSettingsPages, for those that act on them beside the dialog.
ChimePage& ChimePageOf(SettingsDialog& dialog);
ReminderPage& ReminderPageOf(SettingsDialog& dialog);
WallpaperPage& WallpaperPageOf(SettingsDialog& dialog);
InfoPage& InfoPageOf(SettingsDialog& dialog);

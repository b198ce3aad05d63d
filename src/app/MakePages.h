// The six pages of the settings dialog, each made by the folder that owns its behaviour; the program entry
// (and every test of the whole dialog) hands them to the dialog frame, which knows none of them.
#pragma once

#include <memory>

#include "scheduler/ChimePage.h"
#include "scheduler/ChimePlayer.h"
#include "scheduler/ReminderPage.h"
#include "settings/SettingsPage.h"

class InfoPage;
class SettingsDialog;
class WallpaperPage;

// All six in tab order. The basic page plays through the entry's chime player.
SettingsPages MakeSettingsPages(ChimePlayer& chimePlayer,
                                std::unique_ptr<ReminderPage> reminderPage = MakeReminderPage());

// The pages of a dialog made from MakeSettingsPages, for those that act on them beside the dialog.
ChimePage& ChimePageOf(SettingsDialog& dialog);
ReminderPage& ReminderPageOf(SettingsDialog& dialog);
WallpaperPage& WallpaperPageOf(SettingsDialog& dialog);
InfoPage& InfoPageOf(SettingsDialog& dialog);

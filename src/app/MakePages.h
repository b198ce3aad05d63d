// The six pages of the settings dialog, each made by the subsystem that owns its behaviour; the program
// entry (and every test of the whole dialog) hands them to the dialog frame, which knows none of them.
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

// The system calls behind the pages, each of a type that its page's subsystem defines. The entry leaves the
// system's in place; tests put in their own.
struct PageServices {
    ChooseSoundFileFn chooseSoundFile = OpenSoundFileDialog;
    WallpaperServices wallpaper;
    DriveQueries drives = SystemDriveQueries();
    ShellOpenFn openLink = ShellExecuteW;
};

std::unique_ptr<SettingsPage> MakeChimePage(ChimePlayer& chimePlayer,
                                            ChooseSoundFileFn chooseSoundFile); // 基本設定 (scheduler)
std::unique_ptr<ReminderPage> MakeReminderPage();                               // お知らせタイマー (scheduler)
std::unique_ptr<SettingsPage> MakeWallpaperPage(const WallpaperServices& services); // 壁紙チェンジャー (wallpaper)
std::unique_ptr<SettingsPage> MakeInfoPage(DriveQueries drives);                    // 各種情報 (info)
std::unique_ptr<SettingsPage> MakeHelpPage();                                       // ヘルプ (settings)
std::unique_ptr<SettingsPage> MakeVersionPage(ShellOpenFn openLink);                // バージョン (info)

// All six in tab order. The basic page plays through the entry's chime player; the reminder page is made
// beforehand where the tick needs it too.
SettingsPages MakeSettingsPages(ChimePlayer& chimePlayer,
                                std::unique_ptr<ReminderPage> reminderPage = MakeReminderPage(),
                                const PageServices& services = {});

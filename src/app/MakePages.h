// The six pages of the settings dialog, each made by the subsystem that owns its behaviour; the program
// entry (and every test of the whole dialog) hands them to the dialog frame, which knows none of them.
#pragma once

#include <memory>

#include "scheduler/ChimePlayer.h"
#include "scheduler/ReminderPage.h"
#include "settings/SettingsPage.h"

std::unique_ptr<SettingsPage> MakeChimePage(ChimePlayer& chimePlayer); // 基本設定 (scheduler)
std::unique_ptr<ReminderPage> MakeReminderPage();                      // お知らせタイマー (scheduler)
std::unique_ptr<SettingsPage> MakeWallpaperPage();                     // 壁紙チェンジャー (wallpaper)
std::unique_ptr<SettingsPage> MakeInfoPage();                          // 各種情報 (info)
std::unique_ptr<SettingsPage> MakeHelpPage();                          // ヘルプ (settings)
std::unique_ptr<SettingsPage> MakeVersionPage();                       // バージョン (info)

// All six in tab order. The basic page plays through the entry's chime player; the reminder page is made
// beforehand where the tick needs it too.
SettingsPages MakeSettingsPages(ChimePlayer& chimePlayer,
                                std::unique_ptr<ReminderPage> reminderPage = MakeReminderPage());

// The six pages of the settings dialog, each made by the subsystem that owns its behaviour; the program
// entry (and every test of the whole dialog) hands them to the dialog frame, which knows none of them.
#pragma once

#include <memory>

#include "scheduler/ChimePlayer.h"
#include "scheduler/OsirasePage.h"
#include "settings/SettingsPage.h"

std::unique_ptr<SettingsPage> MakeSetteiPage(ChimePlayer& chimePlayer); // 基本設定 (scheduler)
std::unique_ptr<OsirasePage> MakeOsirasePage();                         // お知らせタイマー (scheduler)
std::unique_ptr<SettingsPage> MakeKabePage();                           // 壁紙チェンジャー (wallpaper)
std::unique_ptr<SettingsPage> MakeJyouhouPage();                        // 各種情報 (info)
std::unique_ptr<SettingsPage> MakeHelpPage();                           // ヘルプ (settings)
std::unique_ptr<SettingsPage> MakeVerPage();                            // バージョン (info)

// All six in tab order. The basic page plays through the entry's chime player; the reminder page is made
// beforehand where the tick needs it too.
SettingsPages MakeOptionEtcPages(ChimePlayer& chimePlayer,
                                 std::unique_ptr<OsirasePage> osirasePage = MakeOsirasePage());

// The six pages of the settings dialog, each made by the subsystem that owns its behaviour; the program
// entry (and every test of the whole dialog) hands them to the dialog frame, which knows none of them.
#pragma once

#include <memory>

#include "settings/SettingsPage.h"

std::unique_ptr<SettingsPage> MakeSetteiPage();  // 基本設定 (scheduler)
std::unique_ptr<SettingsPage> MakeOsirasePage(); // お知らせタイマー (scheduler)
std::unique_ptr<SettingsPage> MakeKabePage();    // 壁紙チェンジャー (wallpaper)
std::unique_ptr<SettingsPage> MakeJyouhouPage(); // 各種情報 (info)
std::unique_ptr<SettingsPage> MakeHelpPage();    // ヘルプ (settings)
std::unique_ptr<SettingsPage> MakeVerPage();     // バージョン (info)

// All six in tab order.
SettingsPages MakeOptionEtcPages();

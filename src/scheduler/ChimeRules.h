// The chime numbering shared by the hourly chime and both reminder timers: eight built-in sounds,
// then up to two sound files that the user added.
#pragma once

#include <string>

#include "scheduler/SchedulerIds.h"
#include "settings/SettingsRules.h"

// Item text of built-in chime 0..7: "時報 1" … "時報 8".
std::wstring BuiltInChimeText(int index);

// The three chime lists (the basic page's and both reminders'), which hold the same items.
inline constexpr int kChimeLists[] = {IDC_TIMERWAVE, IDC_REMINDER1_CHIME, IDC_REMINDER2_CHIME};

// Unit-level values that the settings load sets for the scheduler and the wallpaper changer, and the
// wallpaper change the load may run at start-up.
#pragma once

#include <windows.h>

#include <random>
#include <string>

#include "settings/SettingsRules.h"

class TOptionEtcForm;

// The style every application of a wallpaper uses; tile until the load or KabeStyleChange sets it.
WallpaperStyle& CurrentKabeStyle();
// timeGetTime() at the start of the load, and after each interval change of the wallpaper.
DWORD& LastKabeChangeTick();
// The generator of the random wallpaper order, seeded from the clock by the load.
std::mt19937& KabeRandom();

// Chooses and applies the next wallpaper from the list; the wallpaper changer provides it.
void KabeChange(TOptionEtcForm& form);

// What the load runs when KabeChangeTime is "Sorabune 起動時"; tests observe it. Null restores KabeChange.
using KabeChangeFn = void (*)(TOptionEtcForm& form);
KabeChangeFn SetStartupKabeChange(KabeChangeFn fn);

// The autostart command: the folder of the running executable with its backslash + "Sorabune.exe".
std::wstring AutostartCommand();

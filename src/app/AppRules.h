// Rules of the resident program that need no window: the start checks, the splash fade steps and what a
// click on the tray icon does.
#pragma once

#include <cstdint>
#include <vector>

#include "base/ProgramWindows.h"

// Whether the first argument is exactly the start token (case-sensitive, whole string); argc/argv as wWinMain's
// __wargv gives them, an absent first argument counts as empty.
bool HasStartToken(int argc, const wchar_t* const* argv);

// NT platform and a colour depth (planes x bits per pixel) of at least 24.
bool IsSuitablePlatform(unsigned long platformId, int planes, int bitsPerPixel);

// Alpha values the splash passes through, one per 30 ms wait, starting after the initial value.
std::vector<std::uint8_t> FadeInSteps(std::uint8_t start);
std::vector<std::uint8_t> FadeOutSteps(std::uint8_t start);

enum class TrayAction { None, ShowExitDialog, ShowSettingsDialog, BringDialogsToFront };

// The tray callback's decision for the mouse message in lParam.
TrayAction DecideTrayAction(unsigned mouseMessage, bool exitDialogVisible, bool settingsDialogVisible);

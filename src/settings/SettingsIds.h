// Control ids of the settings dialog's frame and of the help page; each keeps its number, which automation
// relies on. Every other page's ids belong to the folder that owns that page.
#pragma once

// Settings dialog (SettingsDialog) frame
#define IDC_OKBTN 1000
#define IDC_PAGECONTROL 1001
#define IDC_CHIME_SHEET 1010
#define IDC_REMINDER_SHEET 1011
#define IDC_WALLPAPER_SHEET 1012
#define IDC_INFO_SHEET 1013
#define IDC_HELP_SHEET 1014
#define IDC_VERSION_SHEET 1015

// Help page
#define IDC_HELP_TEXT 1600

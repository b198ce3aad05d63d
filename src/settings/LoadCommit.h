// The settings dialog's load and commit live in SettingsDialog (Load, OnOk); this is what they
// share with others: the autostart command that the commit writes.
#pragma once

#include <string>

// The autostart command: the folder of the running executable with its backslash + "Sorabune.exe", in double
// quotes, so that Windows never takes a part of a path with spaces (C:\Program Files\...) for the program.
std::wstring AutostartCommand();

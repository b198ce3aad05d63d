// The information page's operations that other subsystems call: the memory figures that the scheduler's
// tick refreshes once a second while the page is selected.
#pragma once

#include "info/InfoRules.h"

class SettingsDialog;

// Reads the memory status and writes the three memory labels of the information page.
void UpdateMemLabels(SettingsDialog& form);

// The system's queries behind the drives block (GetDriveTypeW, GetDiskFreeSpaceExW).
DriveQueries SystemDriveQueries();

// The information page's operations that other subsystems call: the memory figures that the scheduler's
// tick refreshes once a second while the page is selected.
#pragma once

#include "info/InfoRules.h"

class SettingsDialog;

// Reads the memory status and writes the three memory labels of the information page.
void UpdateMemLabels(SettingsDialog& form);

// Seam for the tests: the queries behind the drives block, from the next selection of the page on. Queries
// without both functions restore the system's; the previous ones are returned.
DriveQueries SetDriveQueries(DriveQueries queries);

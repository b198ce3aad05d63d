// Time from the program's entry to its tray icon, reported to the benchmarks through a file that the
// environment variable SORABUNE_STARTUP_REPORT names; without it nothing is written.
#pragma once

void MarkProgramEntry();
void ReportTrayIconAdded();

// Time from the program's entry to its tray icon, reported to the benchmarks through a file that the
// environment variable SORABUNE_STARTUP_REPORT names; without it nothing is written.
#pragma once

#include <windows.h>

class StartUpClock {
public:
    // Marks the program's entry: the entry makes the clock first thing.
    StartUpClock();
    void ReportTrayIconAdded() const;

private:
    LARGE_INTEGER entry_;
};

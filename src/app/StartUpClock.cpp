// Program-entry mark and the one-shot report of the time to the tray icon.
#include "app/StartUpClock.h"

#include <windows.h>

#include <cstdio>

namespace {
constexpr wchar_t kReportVariable[] = L"SORABUNE_STARTUP_REPORT";

double MillisecondsSinceProcessCreation()
{
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
        return -1;
    }
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER a = {{created.dwLowDateTime, created.dwHighDateTime}};
    ULARGE_INTEGER b = {{now.dwLowDateTime, now.dwHighDateTime}};
    return static_cast<double>(b.QuadPart - a.QuadPart) / 10000.0;
}
} // namespace

StartUpClock::StartUpClock()
{
    QueryPerformanceCounter(&entry_);
}

void StartUpClock::ReportTrayIconAdded() const
{
    wchar_t path[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(kReportVariable, path, MAX_PATH)) {
        return;
    }
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    const double fromEntry = static_cast<double>(now.QuadPart - entry_.QuadPart) * 1000.0 / frequency.QuadPart;
    FILE* file = _wfopen(path, L"w");
    if (!file) {
        return;
    }
    std::fprintf(file, "tray_ms_from_entry %.1f\ntray_ms_from_creation %.1f\n", fromEntry,
                 MillisecondsSinceProcessCreation());
    std::fclose(file);
}

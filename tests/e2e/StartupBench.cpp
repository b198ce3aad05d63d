// Benchmark of the resident program: time to its tray icon, private memory and CPU time while idle after the
// splash. Starts the real SorabuneOpt.exe and prints one "name: value unit" line per figure.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "e2e/ProgramDriver.h"

using namespace e2e;

namespace {
constexpr DWORD kTimeoutMs = 20000;
constexpr int kDefaultIdleSeconds = 60;
constexpr DWORD kSettleMs = 1000;

double CpuMilliseconds(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    ULARGE_INTEGER k = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
    ULARGE_INTEGER u = {{user.dwLowDateTime, user.dwHighDateTime}};
    return static_cast<double>(k.QuadPart + u.QuadPart) / 10000.0;
}

int IdleSeconds()
{
    wchar_t value[16] = {};
    if (GetEnvironmentVariableW(L"SORABUNE_BENCH_IDLE_SECONDS", value, 16)) {
        int seconds = _wtoi(value);
        if (seconds > 0) {
            return seconds;
        }
    }
    return kDefaultIdleSeconds;
}

// Committed private pages of the process, walked region by region; under Wine the counters of another
// process lack PrivateUsage, this walk works on both.
double CommittedPrivateMiB(HANDLE process)
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION info = {};
    for (auto* address = static_cast<BYTE*>(nullptr);
         VirtualQueryEx(process, address, &info, sizeof(info)) == sizeof(info);
         address = static_cast<BYTE*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) {
            total += info.RegionSize;
        }
        if (info.RegionSize == 0) {
            break;
        }
    }
    return total / (1024.0 * 1024.0);
}

// Committed private memory of a Wine process that only runs a message loop: what Wine itself holds in every
// process, to be taken off the program's own figure.
double BaselineCommittedPrivateMiB()
{
    Program empty = Start(L"wine_keepalive.exe", L"");
    if (!empty.Handle()) {
        return 0;
    }
    Sleep(kSettleMs);
    const double mib = CommittedPrivateMiB(empty.Handle());
    TerminateProcess(empty.Handle(), 0);
    empty.WaitExit(kTimeoutMs);
    return mib;
}

void PrintReport(const std::wstring& path)
{
    FILE* file = _wfopen(path.c_str(), L"r");
    if (!file) {
        std::printf("startup_to_tray_icon: failed (no report)\n");
        return;
    }
    char name[64];
    double value = 0;
    while (std::fscanf(file, "%63s %lf", name, &value) == 2) {
        if (std::string(name) == "tray_ms_from_entry") {
            std::printf("startup_to_tray_icon: %.1f ms\n", value);
        } else if (std::string(name) == "tray_ms_from_creation") {
            std::printf("startup_to_tray_icon_incl_loader: %.1f ms\n", value);
        }
    }
    std::fclose(file);
}
} // namespace

// One start of the program up to its idle state and back out; figures are printed only when asked, so that
// a first run can warm the Wine session (fonts, DLL images) like a machine that has run programs before.
int RunOnce(bool measure)
{
    const std::wstring report = BinFolder() + L"startup_bench.report";
    DeleteFileW(report.c_str());
    SetEnvironmentVariableW(L"SORABUNE_STARTUP_REPORT", report.c_str());
    KillLeftovers();

    Program resident = Start(L"SorabuneOpt.exe", L"Sorabune_START");
    HWND main = WaitForWindow(kMainClass, kMainTitle, kTimeoutMs);
    if (!main || !WaitSplashDone(main, kTimeoutMs)) {
        std::printf("startup_bench: failed (no splash)\n");
        KillLeftovers();
        return 1;
    }
    Sleep(kSettleMs);
    if (!measure) {
        DeleteFileW(report.c_str());
        const bool ended = EndThroughExitDialog(main, kTimeoutMs) && resident.WaitExit(kTimeoutMs);
        KillLeftovers();
        return ended ? 0 : 1;
    }
    PrintReport(report);
    DeleteFileW(report.c_str());

    PROCESS_MEMORY_COUNTERS_EX memory = {sizeof(memory)};
    GetProcessMemoryInfo(resident.Handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
    const double committed = CommittedPrivateMiB(resident.Handle());
    // Wine leaves PrivateUsage of another process at zero; then the program's own share is what it commits
    // beyond an empty Wine process.
    if (memory.PrivateUsage != 0) {
        std::printf("idle_private_memory: %.2f MiB\n", memory.PrivateUsage / (1024.0 * 1024.0));
    } else {
        std::printf("idle_private_memory: %.2f MiB\n", committed - BaselineCommittedPrivateMiB());
    }
    std::printf("idle_committed_private_memory_incl_wine: %.2f MiB\n", committed);
    std::printf("idle_working_set: %.2f MiB\n", memory.WorkingSetSize / (1024.0 * 1024.0));

    const int seconds = IdleSeconds();
    const double before = CpuMilliseconds(resident.Handle());
    std::printf("cpu_time_through_splash: %.1f ms\n", before);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    const double after = CpuMilliseconds(resident.Handle());
    std::printf("idle_cpu_time_%ds: %.1f ms\n", seconds, after - before);

    const bool ended = EndThroughExitDialog(main, kTimeoutMs) && resident.WaitExit(kTimeoutMs);
    KillLeftovers();
    if (!ended) {
        std::printf("startup_bench: failed (did not end through the exit dialog)\n");
        return 1;
    }
    return 0;
}

int wmain()
{
    if (RunOnce(false) != 0) {
        std::printf("startup_bench: failed (warm-up run)\n");
        return 1;
    }
    return RunOnce(true);
}

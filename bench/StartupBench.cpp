// Benchmark of the real resident program: time to its tray icon with 0, 1,000 and 10,000 stored wallpapers and with
// a folder of 10,000 as one entry, its idle memory beside a program that only creates the same controls, its CPU time
// while idle ("name: value unit").
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/ProgramDriver.h"
#include "base/FileSystem.h"
#include "settings/IniStore.h"
#include "settings/SettingsLayout.h"
#include "support/Registry.h"
#include "wallpaper/WallpaperTestSupport.h"

using namespace e2e;

namespace {
constexpr DWORD kTimeoutMs = 60000;
constexpr int kDefaultIdleSeconds = 60;
constexpr DWORD kSettleMs = 1000;
// A folder of files made a moment ago is checked file by file; a real list's folder has long settled.
constexpr DWORD kFolderSettleMs = 2500;
// The stored lists: so many files, or (below 0) the folder of them as one entry, with no change at start or
// (kFolderChangedAtStart) a change at start, which walks the folder and converts a picture while the program starts.
constexpr int kFolderEntry = -1;
constexpr int kFolderChangedAtStart = -2;
constexpr int kListSizes[] = {0, kFolderEntry, kFolderChangedAtStart, 1000, 10000};
constexpr int kFolderFiles = 10000;
constexpr int kRounds = 5;
constexpr wchar_t kSettingsKey[] = L"Software\\Sorabune";
constexpr wchar_t kBackupKey[] = L"Software\\SorabuneStartupBenchBackup";
constexpr double kMiB = 1024.0 * 1024.0;

struct StartupTimes {
    double fromEntry = -1;
    double fromCreation = -1;
};

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
    return total / kMiB;
}

// The whole text of a file, read to its end (the host's /proc files report no size).
std::string ReadWholeFile(const std::wstring& path)
{
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr));
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (file && ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        text.append(buffer, got);
    }
    return text;
}

// Under Wine a program's RAM is best seen from the host: the private dirty pages of its Unix process, with
// Wine's own heaps and the written pages of every library it loaded. The process is found by its program
// name and by the Wine prefix it runs in (other prefixes may run the same program). -1 outside Wine.
double HostPrivateDirtyMiB(const char* exe)
{
    char prefix[MAX_PATH * 2] = {};
    if (!GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof(prefix))) {
        return -1;
    }
    const std::string inPrefix = std::string("WINEPREFIX=") + prefix + '\0';
    WIN32_FIND_DATAW found = {};
    HANDLE find = FindFirstFileW(L"Z:\\proc\\*", &found);
    if (find == INVALID_HANDLE_VALUE) {
        return -1;
    }
    double mib = -1;
    do {
        const std::wstring process = std::wstring(L"Z:\\proc\\") + found.cFileName + L"\\";
        if (found.cFileName[0] < L'0' || found.cFileName[0] > L'9') {
            continue;
        }
        const std::string command = ReadWholeFile(process + L"cmdline");
        // The program's path as it was started: the first of the zero-separated arguments.
        const std::string started = command.c_str();
        const std::string file = started.substr(started.find_last_of("\\/") + 1);
        if (lstrcmpiA(file.c_str(), exe) != 0) {
            continue;
        }
        if ((std::string(1, '\0') + ReadWholeFile(process + L"environ")).find('\0' + inPrefix) == std::string::npos) {
            continue;
        }
        const std::string rollup = ReadWholeFile(process + L"smaps_rollup");
        const auto at = rollup.find("Private_Dirty:");
        if (at != std::string::npos) {
            mib = std::atof(rollup.c_str() + at + std::strlen("Private_Dirty:")) / 1024.0;
            break;
        }
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return mib;
}

struct Footprint {
    double committed = 0;
    double hostDirty = -1;
};

Footprint FootprintOf(HANDLE process, const char* exe)
{
    return {CommittedPrivateMiB(process), HostPrivateDirtyMiB(exe)};
}

// The footprint of a program of the bin folder once it has settled; the process is ended after.
Footprint SettledFootprint(const wchar_t* exe, const char* exeName, const std::wstring& arguments)
{
    Program program = Start(exe, arguments);
    if (!program.Handle()) {
        return {};
    }
    WaitForInputIdle(program.Handle(), kTimeoutMs);
    Sleep(kSettleMs);
    const Footprint footprint = FootprintOf(program.Handle(), exeName);
    TerminateProcess(program.Handle(), 0);
    program.WaitExit(kTimeoutMs);
    return footprint;
}

// The wallpaper bench's list files: they stay in the prefix between runs, since making 10,000 files under Wine
// takes a minute.
std::wstring WallpaperPath(int index)
{
    return TempPath(L"SorabuneWallpaperBenchList\\壁紙" + std::to_wstring(index) + L".bmp");
}

void MakeWallpaperFiles(int count)
{
    CreateDirectoryW(FolderOf(WallpaperPath(0)).c_str(), nullptr);
    const std::vector<unsigned char> tiny = GreyBitmap(2, 2);
    bool made = false;
    for (int i = 0; i < count; ++i) {
        const std::wstring path = WallpaperPath(i);
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            WriteBytes(path, tiny);
            made = true;
        }
    }
    if (made) {
        Sleep(kFolderSettleMs);
    }
}

// The installer's starting values (no error box holds the start up, no wallpaper change at start) and a list
// of present files. Written to disk at once: Wine's server saves a changed registry now and then, and a save of
// thousands of values in the middle of a start holds every registry query of it.
void StoreSettings(int listSize)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    {
        IniStore store(HKEY_CURRENT_USER, kSettingsStartPath);
        WriteInstallerDefaults(store, BinFolder());
        store.WriteInteger(kWallpaperSection, L"KabeListCount", listSize < 0 ? 1 : listSize);
        if (listSize < 0) {
            store.WriteString(kWallpaperSection, L"KabeBmp1", FolderOf(WallpaperPath(0)) + L"\\");
            store.WriteInteger(kWallpaperSection, L"KabeChangeTime", listSize == kFolderChangedAtStart ? 1 : 0);
        }
        for (int i = 0; i < listSize; ++i) {
            store.WriteString(kWallpaperSection, L"KabeBmp" + std::to_wstring(i + 1), WallpaperPath(i));
        }
    }
    RegFlushKey(HKEY_CURRENT_USER);
    // The ended program's last work (its windows, its memory) is done before the next starts.
    Sleep(kSettleMs);
}

// The figures' names of a stored list.
std::string ListName(int listSize)
{
    if (listSize == kFolderEntry) {
        return "folder_of_" + std::to_string(kFolderFiles);
    }
    if (listSize == kFolderChangedAtStart) {
        return "folder_of_" + std::to_string(kFolderFiles) + "_changed_at_start";
    }
    return std::to_string(listSize) + "_entries";
}

StartupTimes ReadReport(const std::wstring& path)
{
    StartupTimes times;
    FILE* file = _wfopen(path.c_str(), L"r");
    if (!file) {
        return times;
    }
    char name[64];
    double value = 0;
    while (std::fscanf(file, "%63s %lf", name, &value) == 2) {
        if (std::string(name) == "tray_ms_from_entry") {
            times.fromEntry = value;
        } else if (std::string(name) == "tray_ms_from_creation") {
            times.fromCreation = value;
        }
    }
    std::fclose(file);
    return times;
}

// One start of the program up to the end of its splash; the program is left running in *resident.
bool StartToIdle(Program* resident, HWND* main, StartupTimes* times)
{
    const std::wstring report = BinFolder() + L"startup_bench.report";
    DeleteFileW(report.c_str());
    SetEnvironmentVariableW(L"SORABUNE_STARTUP_REPORT", report.c_str());
    KillLeftovers();
    *resident = Start(L"SorabuneOpt.exe", L"Sorabune_START");
    *main = WaitForWindow(kMainClass, kMainTitle, kTimeoutMs);
    if (!*main || !WaitSplashDone(*main, kTimeoutMs)) {
        KillLeftovers();
        return false;
    }
    *times = ReadReport(report);
    DeleteFileW(report.c_str());
    return true;
}

// The record of the resident program's windows that same_controls makes them again from.
std::wstring SameControlsRecord()
{
    return BinFolder() + L"startup_bench.controls";
}

// One start of a program with the resident program's controls and nothing else, to its tray icon: the time from
// its entry, or -1.
double StartSameControls()
{
    const std::wstring report = BinFolder() + L"startup_bench.report";
    DeleteFileW(report.c_str());
    SetEnvironmentVariableW(L"SORABUNE_STARTUP_REPORT", report.c_str());
    Program copy = Start(L"same_controls.exe", L"replay \"" + SameControlsRecord() + L"\"");
    const DWORD start = GetTickCount();
    double fromEntry = -1;
    while ((fromEntry = ReadReport(report).fromEntry) < 0 && GetTickCount() - start < kTimeoutMs && copy.Handle() &&
           WaitForSingleObject(copy.Handle(), 20) == WAIT_TIMEOUT) {
    }
    TerminateProcess(copy.Handle(), 0);
    copy.WaitExit(kTimeoutMs);
    DeleteFileW(report.c_str());
    Sleep(kSettleMs);
    return fromEntry;
}

bool End(const Program& resident, HWND main)
{
    const bool ended = EndThroughExitDialog(main, kTimeoutMs) && resident.WaitExit(kTimeoutMs);
    KillLeftovers();
    return ended;
}

// Starts in rounds that take every list size in turn, so that a machine busy with other work slows all sizes
// alike. Per size the best start; what a list adds is the median over the rounds of its difference to the empty
// list's start of the same round.
bool TimeStartUps()
{
    constexpr std::size_t kSizes = std::size(kListSizes);
    std::vector<StartupTimes> runs[kSizes];
    double sameControls = -1;
    for (int round = 0; round < kRounds; ++round) {
        const double same = StartSameControls();
        if (same < 0) {
            std::printf("startup_bench: failed (same controls)\n");
            return false;
        }
        sameControls = sameControls < 0 ? same : std::min(sameControls, same);
        for (std::size_t i = 0; i < kSizes; ++i) {
            StoreSettings(kListSizes[i]);
            Program resident;
            HWND main = nullptr;
            StartupTimes times;
            if (!StartToIdle(&resident, &main, &times) || !End(resident, main) || times.fromEntry < 0) {
                std::printf("startup_bench: failed (%s)\n", ListName(kListSizes[i]).c_str());
                return false;
            }
            runs[i].push_back(times);
        }
    }
    for (std::size_t i = 0; i < kSizes; ++i) {
        StartupTimes best = runs[i].front();
        for (const StartupTimes& times : runs[i]) {
            best.fromEntry = std::min(best.fromEntry, times.fromEntry);
            best.fromCreation = std::min(best.fromCreation, times.fromCreation);
        }
        const std::string name = ListName(kListSizes[i]);
        std::printf("startup_to_tray_icon_%s: %.1f ms\n", name.c_str(), best.fromEntry);
        std::printf("startup_to_tray_icon_incl_loader_%s: %.1f ms\n", name.c_str(), best.fromCreation);
    }
    // What the program takes beyond making its controls: the best start of each beside the other's.
    std::printf("startup_to_tray_icon_same_controls: %.1f ms\n", sameControls);
    double best = runs[0].front().fromEntry;
    for (const StartupTimes& times : runs[0]) {
        best = std::min(best, times.fromEntry);
    }
    std::printf("startup_to_tray_icon_to_same_controls_ratio: %.2f x\n", best / sameControls);
    for (std::size_t i = 1; i < kSizes; ++i) {
        std::vector<double> added;
        for (int round = 0; round < kRounds; ++round) {
            added.push_back(runs[i][round].fromEntry - runs[0][round].fromEntry);
        }
        std::sort(added.begin(), added.end());
        std::printf("startup_added_by_%s: %.1f ms\n", ListName(kListSizes[i]).c_str(), added[added.size() / 2]);
    }
    return true;
}

// Memory and CPU time of an idle program with an empty list.
bool MeasureIdle()
{
    StoreSettings(0);
    Program resident;
    HWND main = nullptr;
    StartupTimes times;
    if (!StartToIdle(&resident, &main, &times)) {
        std::printf("startup_bench: failed (no splash)\n");
        return false;
    }
    Sleep(kSettleMs);
    PROCESS_MEMORY_COUNTERS_EX memory = {sizeof(memory)};
    GetProcessMemoryInfo(resident.Handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
    const Footprint own = FootprintOf(resident.Handle(), "SorabuneOpt.exe");
    const Footprint same =
        SettledFootprint(L"same_controls.exe", "same_controls.exe", std::to_wstring(GetProcessId(resident.Handle())));
    const Footprint empty = SettledFootprint(L"wine_keepalive.exe", "wine_keepalive.exe", L"");
    // Wine leaves PrivateUsage of another process at zero; then a program's own share is what it commits
    // beyond an empty Wine process.
    if (memory.PrivateUsage != 0) {
        std::printf("idle_private_memory: %.2f MiB\n", memory.PrivateUsage / kMiB);
    } else {
        std::printf("idle_private_memory: %.2f MiB\n", own.committed - empty.committed);
        std::printf("idle_private_memory_same_controls: %.2f MiB\n", same.committed - empty.committed);
    }
    std::printf("idle_committed_private_memory_incl_wine: %.2f MiB\n", own.committed);
    if (own.hostDirty >= 0 && same.hostDirty >= 0 && empty.hostDirty >= 0) {
        std::printf("idle_host_private_dirty: %.2f MiB\n", own.hostDirty - empty.hostDirty);
        std::printf("idle_host_private_dirty_same_controls: %.2f MiB\n", same.hostDirty - empty.hostDirty);
        std::printf("idle_host_private_dirty_beyond_same_controls: %.2f MiB\n", own.hostDirty - same.hostDirty);
    }
    std::printf("idle_working_set: %.2f MiB\n", memory.WorkingSetSize / kMiB);

    const int seconds = IdleSeconds();
    const double before = CpuMilliseconds(resident.Handle());
    std::printf("cpu_time_through_splash: %.1f ms\n", before);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    std::printf("idle_cpu_time_%ds: %.1f ms\n", seconds, CpuMilliseconds(resident.Handle()) - before);
    if (!End(resident, main)) {
        std::printf("startup_bench: failed (did not end through the exit dialog)\n");
        return false;
    }
    return true;
}
} // namespace

int wmain()
{
    UserKeyAside aside(kSettingsKey, kBackupKey);
    MakeWallpaperFiles(*std::max_element(std::begin(kListSizes), std::end(kListSizes)));
    // A first start warms the Wine session (fonts, DLL images) like a machine that has run programs before.
    StoreSettings(0);
    Program resident;
    HWND main = nullptr;
    StartupTimes warmUp;
    if (!StartToIdle(&resident, &main, &warmUp)) {
        std::printf("startup_bench: failed (warm-up run)\n");
        return 1;
    }
    // The windows of the running program, written down for same_controls to make again.
    Program recorder = Start(L"same_controls.exe",
                             std::to_wstring(GetProcessId(resident.Handle())) + L" \"" + SameControlsRecord() + L"\"");
    DWORD recorded = 1;
    if (!recorder.WaitExit(kTimeoutMs, &recorded) || recorded != 0 || !End(resident, main)) {
        std::printf("startup_bench: failed (warm-up run)\n");
        return 1;
    }
    if (!TimeStartUps()) {
        return 1;
    }
    return MeasureIdle() ? 0 : 1;
}

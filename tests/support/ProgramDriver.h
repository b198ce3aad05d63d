// Starting the real programs of the bin folder and watching their windows from another process, for the
// end-to-end tests and the benchmarks.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "base/ProgramWindows.h"

namespace e2e {

constexpr const wchar_t* kMainClass = kResidentClass;
constexpr const wchar_t* kMainTitle = kResidentTitle;
constexpr wchar_t kExitDialogClass[] = L"TMsgDlgForm";
constexpr wchar_t kSettingsClass[] = L"TOptionEtcForm";
constexpr wchar_t kDialogTitle[] = L"Sorabune";
constexpr UINT kTrayMessage = WM_USER + 1;
constexpr UINT kTrayId = 1;
constexpr DWORD kPollMs = 20;

// The folder of this test program, where the build puts every program.
inline std::wstring BinFolder()
{
    wchar_t path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// A started process; terminated when still running at the end of its scope.
class Program {
public:
    Program() = default;
    explicit Program(HANDLE process) : process_(process) {}
    Program(Program&& other) noexcept : process_(other.process_), startFailure_(std::move(other.startFailure_))
    {
        other.process_ = nullptr;
    }
    Program& operator=(Program&& other) noexcept
    {
        std::swap(process_, other.process_);
        std::swap(startFailure_, other.startFailure_);
        return *this;
    }
    // A program that could not be started, with the command line and the error of the start.
    static Program NotStarted(const std::wstring& commandLine, DWORD error)
    {
        Program program;
        program.startFailure_ = "could not start " + Utf8Of(commandLine) + ": error " + std::to_string(error) + " (" +
                                Utf8Of(SystemMessage(error)) + ")";
        return program;
    }
    // Why the start failed, for a test's failure message; empty for a started program.
    const std::string& StartFailure() const { return startFailure_; }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program()
    {
        if (process_) {
            if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process_, 99);
            }
            CloseHandle(process_);
        }
    }
    HANDLE Handle() const { return process_; }
    // Lets the process run on past this object's scope; false when there was none.
    bool Detach()
    {
        if (!process_) {
            return false;
        }
        CloseHandle(process_);
        process_ = nullptr;
        return true;
    }
    explicit operator bool() const { return process_ != nullptr; }
    // True when it ended within the time; its exit code in *code.
    bool WaitExit(DWORD timeoutMs, DWORD* code = nullptr) const
    {
        if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
            return false;
        }
        if (code) {
            GetExitCodeProcess(process_, code);
        }
        return true;
    }
    bool Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

private:
    static std::string Utf8Of(const std::wstring& text)
    {
        int n =
            WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
        std::string utf8(n, '\0');
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), n, nullptr, nullptr);
        return utf8;
    }
    static std::wstring SystemMessage(DWORD error)
    {
        wchar_t text[512] = {};
        DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                 512, nullptr);
        while (n > 0 && (text[n - 1] == L'\r' || text[n - 1] == L'\n' || text[n - 1] == L' ')) {
            --n;
        }
        return n ? std::wstring(text, n) : L"no text for this error";
    }

    HANDLE process_ = nullptr;
    std::string startFailure_;
};

// Starts a program by its full path in a working folder (the caller's own when empty); an empty Program when
// it cannot be started, its StartFailure telling why.
inline Program StartIn(const std::wstring& exePath, const std::wstring& arguments, const std::wstring& folder)
{
    std::wstring commandLine = L"\"" + exePath + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
        return Program::NotStarted(commandLine, GetLastError());
    }
    CloseHandle(pi.hThread);
    return Program(pi.hProcess);
}

// Starts a program of the bin folder with the bin folder as working folder, as the shortcut does.
inline Program Start(const std::wstring& exe, const std::wstring& arguments)
{
    return StartIn(BinFolder() + exe, arguments, BinFolder());
}

// The process that owns a window, for waiting on it and for cleaning up.
inline Program ProcessOfWindow(HWND hwnd)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    HANDLE process =
        pid ? OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid)
            : nullptr;
    return Program(process);
}

template <typename Condition> bool WaitUntil(Condition condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(kPollMs);
    }
}

inline HWND WaitForWindow(const wchar_t* cls, const wchar_t* title, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowW(cls, title)) != nullptr; }, timeoutMs);
    return found;
}

// The window once it is on screen; null when it did not show within the time.
inline HWND WaitForVisibleWindow(const wchar_t* cls, const wchar_t* title, DWORD timeoutMs)
{
    HWND found = nullptr;
    const bool shown = WaitUntil(
        [&] {
            found = FindWindowW(cls, title);
            return found && IsWindowVisible(found);
        },
        timeoutMs);
    return shown ? found : nullptr;
}

inline bool WaitWindowGone(const wchar_t* cls, const wchar_t* title, DWORD timeoutMs)
{
    return WaitUntil([&] { return FindWindowW(cls, title) == nullptr; }, timeoutMs);
}

// Error boxes of the settings load (an empty registry holds no valid reminder dates) stop the start-up
// until they are answered; these tests are about what comes after them.
inline void AnswerLoadErrors()
{
    for (int i = 0; i < 50; ++i) {
        HWND box = FindWindowW(L"#32770", kDialogTitle);
        if (!box) {
            return;
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        Sleep(kPollMs);
    }
}

// The splash is seen for about two seconds, then hidden for good. It shows before the settings are loaded, so
// the load's error boxes come while it is up.
inline bool WaitSplashDone(HWND main, DWORD timeoutMs)
{
    return WaitUntil(
               [&] {
                   AnswerLoadErrors();
                   return IsWindowVisible(main) != FALSE;
               },
               timeoutMs) &&
           WaitUntil(
               [&] {
                   AnswerLoadErrors();
                   return !IsWindowVisible(main);
               },
               timeoutMs);
}

inline void ClickTrayIcon(HWND main, UINT mouseMessage)
{
    PostMessageW(main, kTrayMessage, kTrayId, mouseMessage);
}

// Opens the exit dialog as the user does, with a left click on the icon; null when it did not show.
inline HWND OpenExitDialog(HWND main, DWORD timeoutMs)
{
    ClickTrayIcon(main, WM_LBUTTONDOWN);
    return WaitForVisibleWindow(kExitDialogClass, kDialogTitle, timeoutMs);
}

// Ends the resident program as the user does: left click on the icon, then OK in the exit dialog.
inline bool EndThroughExitDialog(HWND main, DWORD timeoutMs)
{
    HWND dialog = OpenExitDialog(main, timeoutMs);
    if (!dialog) {
        return false;
    }
    DWORD_PTR result = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result);
    return WaitWindowGone(kMainClass, kMainTitle, timeoutMs);
}

// Terminates every process that still shows a window of the resident or the companion program.
inline void KillLeftovers()
{
    const wchar_t* classes[][2] = {{kMainClass, kMainTitle}, {kCompanionClass, kCompanionTitle}};
    for (int round = 0; round < 10; ++round) {
        bool any = false;
        for (auto& c : classes) {
            if (HWND hwnd = FindWindowW(c[0], c[1])) {
                any = true;
                Program owner = ProcessOfWindow(hwnd);
                if (owner) {
                    TerminateProcess(owner.Handle(), 98);
                    owner.WaitExit(5000);
                }
            }
        }
        if (!any) {
            return;
        }
    }
}

} // namespace e2e

// Small driver of the running resident program for scripts (scripts/run takes its screenshots with it):
//   drive_program splash       waits until the splash is on screen and half-way through
//   drive_program exit-dialog  waits for the splash to end, then opens the exit dialog with a left click
//   drive_program settings [N] waits for the splash to end, opens the settings dialog with a right click and
//                              moves N pages to the right, as the arrow key does on the tabs
//   drive_program end          ends the program through the exit dialog's OK and waits for it to exit
#include <windows.h>

#include <cstdio>
#include <string>

#include "e2e/ProgramDriver.h"

using namespace e2e;

namespace {
constexpr DWORD kTimeoutMs = 20000;
constexpr DWORD kIntoSplashMs = 500;
} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    HWND main = WaitForWindow(kMainClass, kMainTitle, kTimeoutMs);
    if (!main) {
        std::printf("no running Sorabune\n");
        return 1;
    }
    if (mode == L"splash") {
        if (!WaitUntil(
                [&] {
                    AnswerLoadErrors();
                    return IsWindowVisible(main) != FALSE;
                },
                kTimeoutMs)) {
            return 1;
        }
        Sleep(kIntoSplashMs);
        return 0;
    }
    if (!WaitUntil([&] { return !IsWindowVisible(main); }, kTimeoutMs)) {
        return 1;
    }
    if (mode == L"exit-dialog") {
        ClickTrayIcon(main, WM_LBUTTONDOWN);
        return WaitUntil(
                   [] {
                       HWND dialog = FindWindowW(kExitDialogClass, kDialogTitle);
                       return dialog && IsWindowVisible(dialog);
                   },
                   kTimeoutMs)
                   ? 0
                   : 1;
    }
    if (mode == L"settings") {
        ClickTrayIcon(main, WM_RBUTTONDOWN);
        HWND dialog = nullptr;
        if (!WaitUntil(
                [&] {
                    dialog = FindWindowW(L"TOptionEtcForm", kDialogTitle);
                    return dialog && IsWindowVisible(dialog);
                },
                kTimeoutMs)) {
            return 1;
        }
        HWND tabs = FindWindowExW(dialog, nullptr, L"SysTabControl32", nullptr);
        int pages = argc > 2 ? _wtoi(argv[2]) : 0;
        for (int i = 0; i < pages; ++i) {
            PostMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
            PostMessageW(tabs, WM_KEYUP, VK_RIGHT, 0);
        }
        Sleep(kIntoSplashMs);
        return 0;
    }
    if (mode == L"end") {
        Program resident = ProcessOfWindow(main);
        if (!EndThroughExitDialog(main, kTimeoutMs) || !resident.WaitExit(kTimeoutMs)) {
            std::printf("Sorabune did not end\n");
            return 1;
        }
        return 0;
    }
    std::printf("usage: drive_program splash|exit-dialog|settings [N]|end\n");
    return 2;
}

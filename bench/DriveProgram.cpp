// Small driver of the running resident program for scripts (scripts/run takes its screenshots with it):
//   drive_program splash       waits until the splash is on screen and half-way through
//   drive_program exit-dialog  waits for the splash to end, then opens the exit dialog with a left click
//   drive_program settings [N] waits for the splash to end, opens the settings dialog with a right click and
//                              moves N pages to the right, as the arrow key does on the tabs
//   drive_program end          ends the program through the exit dialog's OK and waits for it to exit
//   drive_program installer    waits until the installer's completion window is on screen
//   drive_program installer-ok presses its O  K and waits for the window to go
//   drive_program shortcut     starts the target of the desktop's Sorabune.lnk in its working folder
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "base/ProductFiles.h"
#include "base/ShellPlaces.h"
#include "app/MainWindow.h"
#include "support/ProgramDriver.h"
#include "support/ShortcutReader.h"

using namespace e2e;

namespace {
constexpr DWORD kTimeoutMs = 20000;
constexpr DWORD kIntoSplashMs = 500;
constexpr wchar_t kInstallerClass[] = L"TForm1";
constexpr wchar_t kInstallerTitle[] = L"Sorabune のインストール";
constexpr int kInstallerButton = 1901;

// Has a window and its controls painted before the caller takes a screenshot: being visible is not being
// drawn, and on a slow machine (the 32-bit build under emulation) the picture would show empty controls.
void PaintNow(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

HWND InstallerWindow()
{
    return WaitForVisibleWindow(kInstallerClass, kInstallerTitle, kTimeoutMs);
}

// The desktop folder as the installer finds it, and the shortcut it saved there.
bool StartDesktopShortcut()
{
    const std::wstring shortcutFile = ShortcutIn(ShellFolder(CSIDL_DESKTOPDIRECTORY));
    if (shortcutFile.empty()) {
        return false;
    }
    CoInitialize(nullptr);
    const Shortcut shortcut = ReadShortcut(shortcutFile);
    CoUninitialize();
    if (shortcut.path.empty()) {
        std::printf("no shortcut on the desktop\n");
        return false;
    }
    return StartIn(shortcut.path, L"", shortcut.workingFolder).Detach();
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"installer") {
        HWND window = InstallerWindow();
        if (!window) {
            return 1;
        }
        PaintNow(window);
        return 0;
    }
    if (mode == L"installer-ok") {
        HWND window = InstallerWindow();
        if (!window) {
            return 1;
        }
        DWORD_PTR result = 0;
        SendMessageTimeoutW(GetDlgItem(window, kInstallerButton), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs,
                            &result);
        return WaitWindowGone(kInstallerClass, kInstallerTitle, kTimeoutMs) ? 0 : 1;
    }
    if (mode == L"shortcut") {
        return StartDesktopShortcut() ? 0 : 1;
    }
    HWND main = WaitForWindow(kMainClass, kMainTitle, kTimeoutMs);
    if (!main) {
        std::printf("no running Sorabune\n");
        return 1;
    }
    if (mode == L"splash") {
        // The splash is up, faint and empty, while the program makes its other windows; its fade-in comes after.
        if (!WaitUntil(
                [&] {
                    AnswerLoadErrors();
                    BYTE alpha = 0;
                    return IsWindowVisible(main) && GetLayeredWindowAttributes(main, nullptr, &alpha, nullptr) &&
                           alpha > MainWindow::kInitialAlpha;
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
        HWND dialog = OpenExitDialog(main, kTimeoutMs);
        if (!dialog) {
            return 1;
        }
        PaintNow(dialog);
        return 0;
    }
    if (mode == L"settings") {
        ClickTrayIcon(main, WM_RBUTTONDOWN);
        HWND dialog = WaitForVisibleWindow(kSettingsClass, kDialogTitle, kTimeoutMs);
        if (!dialog) {
            return 1;
        }
        HWND tabs = FindWindowExW(dialog, nullptr, L"SysTabControl32", nullptr);
        int pages = argc > 2 ? _wtoi(argv[2]) : 0;
        for (int i = 0; i < pages; ++i) {
            PostMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
            PostMessageW(tabs, WM_KEYUP, VK_RIGHT, 0);
        }
        Sleep(kIntoSplashMs);
        PaintNow(dialog);
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
    std::printf("usage: drive_program splash|exit-dialog|settings [N]|end|installer|installer-ok|shortcut\n");
    return 2;
}

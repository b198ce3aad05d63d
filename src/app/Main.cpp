// Entry of the resident program SorabuneOpt: platform check, start token, single instance, the five
// windows in their fixed order with the settings dialog's pages, the tick and its window, then the message loop.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>

#include "info/InfoPage.h"
#include "scheduler/ChimePlayer.h"
#include "scheduler/ReminderWindow.h"
#include "scheduler/Scheduler.h"
#include "scheduler/TickWindow.h"
#include "wallpaper/Wallpaper.h"
#include "settings/SettingsDialog.h"
#include "base/MessageLoop.h"
#include "base/SystemLibrary.h"
#include "app/ExitDialog.h"
#include "app/MakePages.h"
#include "app/ProgramTickActions.h"
#include "app/AppRules.h"
#include "app/MainWindow.h"
#include "app/StartUpClock.h"

// The C++ library's own handler of an exception that nothing caught prints the exception's demangled type on a
// console this program does not have, and brings a demangler of about 45 KiB with it. The program ends the same
// way without either.
#ifdef __GLIBCXX__
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx
#endif

namespace {
constexpr wchar_t kApplicationTitle[] = L"Sorabune";
constexpr wchar_t kPlatformMessage[] =
    L"このソフトはWindows2000またはXP\r\nモニター色数True Color(24bit)以上でご使用ください!!";

bool PlatformIsSuitable()
{
    int planes = 0;
    int bitsPerPixel = 0;
    {
        WindowDC screen;
        planes = GetDeviceCaps(screen.Get(), PLANES);
        bitsPerPixel = GetDeviceCaps(screen.Get(), BITSPIXEL);
    }
    OSVERSIONINFOW version = {sizeof(version)};
#ifdef _MSC_VER
#pragma warning(suppress : 4996)
#endif
    GetVersionExW(&version);
    return IsSuitablePlatform(version.dwPlatformId, planes, bitsPerPixel);
}

bool StartedWithToken()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const bool ok = argv && HasStartToken(argc, argv);
    LocalFree(argv);
    return ok;
}
} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    RestrictLibrarySearch();
    const StartUpClock startUpClock;
    if (!PlatformIsSuitable()) {
        MessageBoxW(nullptr, kPlatformMessage, kApplicationTitle, MB_OK);
        return 0;
    }
    if (!StartedWithToken()) {
        return 0;
    }
    if (FindWindowW(MainWindow::kClassName, MainWindow::kTitle)) {
        return 0;
    }

    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);

    // Every window reports its failures in the standard error box.
    ErrorBox errors;
    MessageLoop loop;
    MainWindow mainWindow(errors, loop);
    mainWindow.SetStartUpClock(&startUpClock);
    if (!mainWindow.Create()) {
        return 1;
    }
    // Shown before the windows it owns exist: showing an owner moves each owned window along in the z-order, which
    // costs Wine a few milliseconds per hidden window. The start-up sequence still waits for the message loop, so
    // it runs when all the windows are there.
    mainWindow.Show();
    // The tick needs the message windows, which are created after the dialog; its first run comes from
    // the message loop, when all the windows exist.
    ReminderWindows reminderWindows(errors);
    // The chime player and the pages are shared by the dialog and the tick; the player outlives both.
    ChimePlayer chimePlayer;
    SettingsDialog settingsDialog(errors, loop, MakeSettingsPages(chimePlayer));
    SystemTickClock clock;
    ProgramTickActions tickActions(settingsDialog, chimePlayer, reminderWindows);
    Scheduler scheduler(ChimePageOf(settingsDialog), ReminderPageOf(settingsDialog), clock, tickActions);
    TickWindow tickWindow(errors, [&scheduler] { scheduler.OnTick(); });
    settingsDialog.Create(mainWindow.Hwnd(), true);
    // Its timer starts after the load: an error box of the load runs a message loop, and no tick may read the
    // half-loaded controls.
    tickWindow.Create();
    reminderWindows.Create(mainWindow.Hwnd());
    ExitDialog exitDialog(errors);
    exitDialog.Create(mainWindow.Hwnd());
    mainWindow.SetDialogs(&exitDialog, &settingsDialog);
    return loop.Run();
}

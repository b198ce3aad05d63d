// Entry of the resident program SorabuneOpt: platform check, start token, single instance, the five
// windows in their fixed order with the settings dialog's pages and tick, then the message loop.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>

#include "info/JyouhouPage.h"
#include "scheduler/ChimePlayer.h"
#include "scheduler/MessagesForm.h"
#include "scheduler/Scheduler.h"
#include "wallpaper/Wallpaper.h"
#include "settings/OptionEtcForm.h"
#include "base/MessageLoop.h"
#include "base/SystemLibrary.h"
#include "app/MsgDlgForm.h"
#include "app/OptionEtcPages.h"
#include "app/AppRules.h"
#include "app/SorabuneForm.h"
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
    MarkProgramEntry();
    if (!PlatformIsSuitable()) {
        MessageBoxW(nullptr, kPlatformMessage, kApplicationTitle, MB_OK);
        return 0;
    }
    if (!StartedWithToken()) {
        return 0;
    }
    if (FindWindowW(TSorabuneForm::kClassName, TSorabuneForm::kTitle)) {
        return 0;
    }

    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);

    TSorabuneForm mainForm;
    if (!mainForm.Create()) {
        return 1;
    }
    // The tick needs the message windows, which are created after the dialog; its first run comes from
    // the message loop, when all five windows exist.
    TMessagesForm messagesForm1(1);
    TMessagesForm messagesForm2(2);
    // The chime player and the reminder page are shared by the dialog and the tick; the player outlives both.
    ChimePlayer chimePlayer;
    std::unique_ptr<OsirasePage> madeOsirasePage = MakeOsirasePage();
    OsirasePage& osirasePage = *madeOsirasePage;
    TOptionEtcForm optionEtcForm(MakeOptionEtcPages(chimePlayer, std::move(madeOsirasePage)));
    SystemTickClock clock;
    ProgramTickActions tickActions(optionEtcForm, chimePlayer, messagesForm1, messagesForm2, clock, KabeChange,
                                   UpdateMemLabels);
    Scheduler scheduler(optionEtcForm, osirasePage, clock, tickActions);
    optionEtcForm.SetTimer1Handler([&scheduler] { scheduler.Timer1Timer(); });
    optionEtcForm.Create(mainForm.Hwnd(), true);
    messagesForm1.Create(mainForm.Hwnd());
    messagesForm2.Create(mainForm.Hwnd());
    TMsgDlgForm msgDlgForm;
    msgDlgForm.Create(mainForm.Hwnd());
    mainForm.SetDialogs(&msgDlgForm, &optionEtcForm);

    mainForm.Show();
    return RunMessageLoop();
}

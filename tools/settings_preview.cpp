// Development helper: shows a window of the program in its design state for a few seconds, so that a screenshot
// can be taken of it. Arguments: a page number of the settings dialog (0-5), "splash", "reminder1" or
// "reminder2"; then "hc" to draw as in high contrast, "armed" to show reminder 1 set weekly and switched on; or,
// for the wallpaper page, a style item and the entries of the list (a folder's path with a backslash at its end is
// a folder entry), of which the first is selected and previewed.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

#include "info/InfoPage.h"
#include "settings/SettingsDialog.h"
#include "wallpaper/WallpaperIds.h"
#include "app/ExitDialog.h"
#include "app/MainWindow.h"
#include "app/MakePages.h"
#include "scheduler/ChimePlayer.h"
#include "scheduler/ReminderWindow.h"
#include "scheduler/SchedulerIds.h"
#include "base/Controls.h"
#include "base/ProgramWindows.h"
#include "support/DialogUi.h"

namespace {
constexpr int kWeeklyIndex = 2;
constexpr UINT kShowForMs = 4000;

BOOL WINAPI NoTrayIcon(DWORD, PNOTIFYICONDATAW)
{
    return TRUE;
}

bool HasArgument(int argc, wchar_t** argv, const wchar_t* word)
{
    for (int i = 2; i < argc; ++i) {
        if (std::wcscmp(argv[i], word) == 0) {
            return true;
        }
    }
    return false;
}

// Reminder 1 as a user sets it: weekly on Monday and Wednesday, switched on.
void ArmReminder(SettingsDialog& dialog)
{
    HWND kind = Ui(dialog).Control(IDC_REMINDER1_SCHEDULE);
    SendMessageW(kind, CB_SETCURSEL, kWeeklyIndex, 0);
    SendMessageW(GetParent(kind), WM_COMMAND, MAKEWPARAM(IDC_REMINDER1_SCHEDULE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(kind));
    for (int id : {IDC_REMINDER1_WEEKDAY2, IDC_REMINDER1_WEEKDAY4, IDC_REMINDER1_ON_OFF}) {
        SendMessageW(Ui(dialog).Control(id), BM_CLICK, 0, 0);
    }
}

// Other timers (the message loop's poll of watched handles, while a preview is decoded) go on.
void RunForAWhile()
{
    const UINT_PTR shown = SetTimer(nullptr, 0, kShowForMs, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == shown) {
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::wstring what = argc > 1 ? argv[1] : L"0";
    const bool highContrast = HasArgument(argc, argv, L"hc");
    const bool armed = HasArgument(argc, argv, L"armed");
    const std::wstring style = argc > 3 ? argv[2] : L"";
    std::vector<std::wstring> entries;
    for (int i = 3; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"hc") != 0 && std::wcscmp(argv[i], L"armed") != 0) {
            entries.push_back(argv[i]);
        }
    }
    LocalFree(argv);
    const HighContrastFn answer = [highContrast] { return highContrast || SystemHighContrast(); };

    // The splash starts its companion: here this tool, which has nothing to do when started so.
    if (what == kStartToken) {
        return 0;
    }

    ErrorBox errors;
    MessageLoop loop;
    if (what == L"splash" || what == L"reminder1" || what == L"reminder2") {
        MainWindow main(errors, loop, NoTrayIcon, answer);
        main.Create();
        if (what == L"splash") {
            wchar_t self[MAX_PATH] = {};
            GetModuleFileNameW(nullptr, self, MAX_PATH);
            main.SetCompanionFile(self);
            // The splash stays at its full strength while the screenshot is taken.
            main.SetStartUpTimings({StartUpTimings().fadeStepMs, kShowForMs});
            // The splash's sequence waits for the dialogs the tray icon opens.
            ExitDialog exitDialog(errors);
            exitDialog.Create(main.Hwnd());
            ChimePlayer chimePlayer;
            SettingsDialog settings(errors, loop, MakeSettingsPages(chimePlayer));
            settings.Create(main.Hwnd(), false);
            main.SetDialogs(&exitDialog, &settings);
            main.Show();
            RunForAWhile();
            return 0;
        }
        DeactivationSlot slot;
        ReminderWindow reminder(errors, slot, what == L"reminder1" ? 1 : 2, answer);
        reminder.Create(main.Hwnd());
        SYSTEMTIME now = {};
        GetLocalTime(&now);
        reminder.ShowReminder(L"歯医者の予約　15時から", now);
        RunForAWhile();
        return 0;
    }

    ChimePlayer chimePlayer;
    SettingsDialog dialog{errors, loop, MakeSettingsPages(chimePlayer), OpenRegistryKey, answer};
    dialog.Create(nullptr, false);
    // The list is filled before its page is shown, as the load fills it: the page measures its entries then.
    ListBox(Ui(dialog).Control(IDC_WALLPAPER_LIST)).AddItems(entries);
    dialog.SelectPage(static_cast<int>(std::wcstol(what.c_str(), nullptr, 10)));
    // The information page shows this machine's memory as the tick would have filled it.
    if (dialog.CurrentPage() == kInfoPageIndex) {
        InfoPageOf(dialog).UpdateMemoryFigures();
    }
    if (armed) {
        ArmReminder(dialog);
    }
    // settings_preview 2 <style item> <entry>...: the first entry previewed in that style, as a click would show it.
    if (!entries.empty()) {
        Ui(dialog).SetIndex(IDC_WALLPAPER_STYLE, static_cast<int>(std::wcstol(style.c_str(), nullptr, 10)));
        SendMessageW(dialog.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_WALLPAPER_STYLE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Ui(dialog).Control(IDC_WALLPAPER_STYLE)));
        HWND list = Ui(dialog).Control(IDC_WALLPAPER_LIST);
        SendMessageW(list, LB_SETSEL, TRUE, 0);
        SendMessageW(list, LB_SETCARETINDEX, 0, FALSE);
        SendMessageW(dialog.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_WALLPAPER_LIST, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
    }
    dialog.ShowDialog();
    RunForAWhile();
    return 0;
}

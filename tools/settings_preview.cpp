// Development helper: shows the settings dialog in its design state on the page given as the first
// argument for a few seconds, so that a screenshot can be taken of it; optionally a style item and a picture
// for the wallpaper page's preview.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>

#include "info/InfoPage.h"
#include "settings/SettingsDialog.h"
#include "wallpaper/WallpaperIds.h"
#include "app/MakePages.h"
#include "scheduler/ChimePlayer.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR cmdLine, int)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    ChimePlayer chimePlayer;
    ErrorBox errors;
    SettingsDialog form{errors, MakeSettingsPages(chimePlayer)};
    form.Create(nullptr, false);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(cmdLine, &argc);
    form.SelectPage(argc > 0 ? static_cast<int>(std::wcstol(argv[0], nullptr, 10)) : 0);
    // settings_preview 2 <style item> <picture>: the picture previewed in that style, as a click would show it.
    if (argc > 2) {
        form.SetIndex(IDC_WALLPAPER_STYLE, static_cast<int>(std::wcstol(argv[1], nullptr, 10)));
        SendMessageW(form.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_WALLPAPER_STYLE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(form.Control(IDC_WALLPAPER_STYLE)));
        form.AddItem(IDC_WALLPAPER_LIST, argv[2]);
        HWND list = form.Control(IDC_WALLPAPER_LIST);
        SendMessageW(list, LB_SETSEL, TRUE, 0);
        SendMessageW(list, LB_SETCARETINDEX, 0, FALSE);
        SendMessageW(form.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_WALLPAPER_LIST, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
    }
    LocalFree(argv);
    // The information page shows this machine's memory as the tick would have filled it.
    if (form.CurrentPage() == kInfoPageIndex) {
        InfoPageOf(form).UpdateMemoryFigures();
    }
    form.ShowDialog();
    SetTimer(nullptr, 0, 4000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr) {
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

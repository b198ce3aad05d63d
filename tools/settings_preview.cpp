// Development helper: shows the settings dialog in its design state on the page given as the first
// argument for a few seconds, so that a screenshot can be taken of it.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>

#include "info/InfoPage.h"
#include "settings/SettingsDialog.h"
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
    form.SelectPage(static_cast<int>(std::wcstol(cmdLine, nullptr, 10)));
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

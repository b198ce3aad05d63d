// Entry of the installer Install.exe: COM for the shortcuts, the window that installs, its message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "base/ElevatedStart.h"
#include "installer/InstallerWindow.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // Run as administrator from wherever the package was unpacked: nothing beside it may be loaded.
    if (!StartWithSystemLibrariesOnly(InstallerWindow::kTitle)) {
        return 1;
    }
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    const bool com = SUCCEEDED(CoInitialize(nullptr));
    int result = 1;
    {
        ErrorBox errors;
        InstallerWindow window(errors);
        if (window.Create()) {
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                if (!IsDialogMessageW(window.Hwnd(), &msg)) {
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
            }
            result = static_cast<int>(msg.wParam);
        }
    }
    if (com) {
        CoUninitialize();
    }
    return result;
}

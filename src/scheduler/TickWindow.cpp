// The tick's window: its timer, which ends with it, and the tick at once after a resume or a change of the
// clock.
#include "scheduler/TickWindow.h"

TickWindow::~TickWindow()
{
    DestroyWindowNow();
}

bool TickWindow::Create()
{
    RegisterWindowClass(kClassName, nullptr);
    // Unowned: showing an owner moves its hidden owned windows along in the z-order, which costs Wine time.
    if (!CreateWindowFor(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr)) {
        return false;
    }
    SetTimer(hwnd_, kTickTimerId, kTickIntervalMs, nullptr);
    return true;
}

LRESULT TickWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_TIMER:
        if (wParam != kTickTimerId) {
            return Default(msg, wParam, lParam);
        }
        [[fallthrough]];
    case kTickNowMessage:
        tick_();
        return 0;
    case WM_TIMECHANGE:
        // Posted, not run here: whoever changed the clock waits for this message's answer.
        PostMessageW(hwnd_, kTickNowMessage, 0, 0);
        return 0;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMRESUMEAUTOMATIC) {
            PostMessageW(hwnd_, kTickNowMessage, 0, 0);
        }
        return TRUE;
    default:
        return Default(msg, wParam, lParam);
    }
}

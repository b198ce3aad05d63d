// Waits that keep processing messages, the quit request surviving them, and watched handles in others' loops.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/MessageLoop.h"
#include "support/TestSupport.h"

namespace {
constexpr UINT kProbeMessage = WM_APP + 7;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == kProbeMessage) {
        ++*reinterpret_cast<int*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool TakeQuitMessage()
{
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}
} // namespace

TEST(MessageLoopTest, WaitLastsLongerThanAskedAndDispatchesMessagesMeanwhile)
{
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    int seen = 0;
    SetWindowLongPtrW(probe, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&seen));
    SetWindowLongPtrW(probe, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc));

    MessageLoop loop;
    PostMessageW(probe, kProbeMessage, 0, 0);
    const DWORD start = GetTickCount();
    EXPECT_TRUE(loop.WaitProcessingMessages(50));
    EXPECT_GT(GetTickCount() - start, 50u);
    EXPECT_EQ(seen, 1);

    // Even a zero wait processes what is pending.
    PostMessageW(probe, kProbeMessage, 0, 0);
    EXPECT_TRUE(loop.WaitProcessingMessages(0));
    EXPECT_EQ(seen, 2);
    DestroyWindow(probe);
}

TEST(MessageLoopTest, QuitEndsTheWaitEarlyAndStaysForTheLoop)
{
    MessageLoop loop;
    PostQuitMessage(3);
    const DWORD start = GetTickCount();
    EXPECT_FALSE(loop.WaitProcessingMessages(5000));
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(loop.Run(), 3);
    EXPECT_FALSE(TakeQuitMessage());
}

TEST(MessageLoopTest, AWatchedHandleIsServedInsideAModalLoopThatOthersRunUntilUnwatched)
{
    MessageLoop loop;
    KernelHandle event(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    int calls = 0;
    loop.Watch(event.Get(), TestErrors(), [&] {
        ++calls;
        ResetEvent(event.Get());
    });
    // A message box's loop or a menu's only dispatches messages, never waits on the handles.
    PumpMessages(3 * kWatchPollMs);
    EXPECT_EQ(calls, 1);
    loop.Unwatch(event.Get());
    SetEvent(event.Get());
    PumpMessages(3 * kWatchPollMs);
    EXPECT_EQ(calls, 1);
}

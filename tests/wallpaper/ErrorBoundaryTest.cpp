// The one error boundary at every place the system calls the program: whatever is thrown there is reported once
// and the next call comes through as usual.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <stdexcept>
#include <utility>

#include "base/MessageLoop.h"
#include "base/Subclass.h"
#include "base/Window.h"
#include "support/TestSupport.h"
#include "wallpaper/FileDropTarget.h"
#include "wallpaper/WallpaperTestSupport.h"

namespace {
// The program's side of each place: its first call throws, and it counts the calls that ran to their end.
std::function<void()> raising;
int completed = 0;
void Call()
{
    if (raising) {
        std::exchange(raising, nullptr)();
    }
    ++completed;
}

class RunningWindow : public Window {
public:
    RunningWindow() : Window(TestErrors())
    {
        RegisterWindowClass(L"TBoundaryTestForm", nullptr);
        CreateWindowFor(0, L"TBoundaryTestForm", L"", WS_POPUP, 0, 0, 10, 10, nullptr);
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        return msg == WM_APP ? (Call(), 1) : Window::HandleMessage(msg, wParam, lParam);
    }
};

LRESULT RunningProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const SubclassLink& link)
{
    return msg == WM_APP ? (Call(), 1) : link.Pass(hwnd, msg, wParam, lParam);
}

// Each place: the system's call made once, then once more.
void Twice(const std::function<void()>& call)
{
    call();
    call();
}
} // namespace

TEST(ErrorBoundaryTest, AnythingThrownWhereTheSystemCallsIsReportedOnceAndTheNextCallComesThrough)
{
    const std::wstring ownMessage = L"'TimerWave' の設定に失敗しました";
    const struct {
        const char* name;
        std::function<void()> raising;
        std::wstring report;
    } kinds[] = {{"AppError", [&] { throw AppError(ownMessage); }, ownMessage},
                 {"std::runtime_error", [] { throw std::runtime_error("map::at"); }, kUnexpectedErrorText},
                 {"int", [] { throw 7; }, kUnexpectedErrorText}};
    const struct {
        const char* name;
        void (*place)();
    } places[] = {
        {"window procedure",
         [] {
             RunningWindow window;
             Twice([&] { SendMessageW(window.Hwnd(), WM_APP, 0, 0); });
         }},
        {"subclass procedure",
         [] {
             HWND edit = CreateWindowExW(0, WC_EDITW, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
             AddSubclass<RunningProc>(edit, TestErrors());
             Twice([&] { SendMessageW(edit, WM_APP, 0, 0); });
             DestroyWindow(edit);
         }},
        {"drop target",
         [] {
             HWND list =
                 CreateWindowExW(0, WC_LISTBOXW, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
             FileDropTarget drop(TestErrors());
             drop.OnDrop = [](FileDropTarget&, const std::vector<std::wstring>&) { Call(); };
             drop.SetTargetControl(list);
             Twice([&] { SendMessageW(list, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({L"C:\\a.bmp"})), 0); });
             drop.SetTargetControl(nullptr);
             DestroyWindow(list);
         }},
        {"watched handle",
         [] {
             // A call that throws leaves its handle signalled, so the loop calls it again; but not from the poll
             // timer inside the modal loop of the failure's box.
             KernelHandle event(CreateEventW(nullptr, TRUE, TRUE, nullptr));
             TestLoop().Watch(event.Get(), TestErrors(), [&] {
                 Call();
                 ResetEvent(event.Get());
             });
             TestErrors().atReport = [] {
                 PumpMessages(3 * kWatchPollMs);
                 EXPECT_EQ(completed, 0) << "called again while its failure is reported";
             };
             TestLoop().HandleMessagesUntil([&] { return WaitForSingleObject(event.Get(), 0) == WAIT_TIMEOUT; });
             TestErrors().atReport = nullptr;
             TestLoop().Unwatch(event.Get());
         }},
    };
    for (const auto& place : places) {
        for (const auto& kind : kinds) {
            SCOPED_TRACE(std::string(place.name) + ", " + kind.name);
            CapturedErrors().clear();
            raising = kind.raising;
            completed = 0;
            place.place();
            EXPECT_EQ(completed, 1) << "the call that threw ended, the next one ran";
            ASSERT_EQ(CapturedErrors().size(), 1u);
            EXPECT_EQ(CapturedErrors()[0], kind.report);
        }
    }
}

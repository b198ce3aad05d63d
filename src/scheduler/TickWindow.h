// The tick's window TickWindow: a hidden top-level window whose half-second timer runs the tick, and which runs one
// at once on resume from sleep and on a change of the clock, broadcasts that only top-level windows get.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

#include "base/Window.h"

class TickWindow : public Window {
public:
    static constexpr const wchar_t* kClassName = L"TSorabuneTick";
    // The half-second tick of the whole program, running from the window's creation to its end.
    static constexpr UINT_PTR kTickTimerId = 1;
    static constexpr UINT kTickIntervalMs = 500;
    // Posted to run a tick at once: on resume from sleep and on a change of the clock, which may have passed
    // moments that the next tick would otherwise take up to half a second to act on.
    static constexpr UINT kTickNowMessage = WM_APP + 30;

    // tick is what each tick runs (OnTick of the scheduler); a failure it throws goes to errors.
    TickWindow(ErrorReporter& errors, std::function<void()> tick) : Window(errors), tick_(std::move(tick)) {}
    ~TickWindow() override;

    // Creates the window, never shown, and starts the timer. The entry calls it once the settings are loaded: an
    // error box of the load runs a message loop, and no tick may read the half-loaded controls.
    bool Create();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    std::function<void()> tick_;
};

// The half-second tick OnTick: wallpaper schedule, hourly chime, reminder timers 1 and 2 and the
// memory refresh of the information page, read from the pages' live controls on every tick. Each acts on every
// moment of its own since the tick before, once.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "scheduler/SchedulerRules.h"

class ChimePage;
class ReminderPage;

// Where the tick takes the time from; tests put any moment here.
class TickClock {
public:
    virtual ~TickClock() = default;
    // Local date and time (GetLocalTime).
    virtual SYSTEMTIME LocalTime() = 0;
    // Milliseconds since Windows started, wrapping after 2^32 (GetTickCount).
    virtual DWORD Milliseconds() = 0;
};

class SystemTickClock : public TickClock {
public:
    SYSTEMTIME LocalTime() override;
    DWORD Milliseconds() override;
};

// What the tick reads from and does to the subsystems outside this folder, and the sounds and windows it
// starts; the entry connects them, tests record them.
class TickActions {
public:
    virtual ~TickActions() = default;
    // The wallpaper page's change time, read on every tick.
    virtual WallpaperChangeTime CurrentWallpaperChangeTime() = 0;
    virtual void ChangeWallpaper() = 0;
    virtual void PlayTimerWave(unsigned index) = 0;
    // A user file plays (the chime player's); a chime due meanwhile is skipped.
    virtual bool IsPlayingUserFile() = 0;
    // Shows reminder 1 or 2 in its window with its message and the moment that came.
    virtual void ShowReminder(int timer, const std::wstring& memo, const SYSTEMTIME& moment) = 0;
    // Whether the information page is the one shown, and the refresh of its memory figures.
    virtual bool InfoPageShown() = 0;
    virtual void UpdateMemLabels() = 0;
};

class Scheduler {
public:
    // The reminder page switches a once-only reminder off after it fired.
    Scheduler(ChimePage& chimePage, ReminderPage& reminderPage, TickClock& clock, TickActions& actions);

    // One tick: wallpaper, hourly chime, reminder 1, reminder 2, memory figures, in that order. It may come at
    // any time (a resume from sleep, a change of the clock): a tick that finds nothing new does nothing.
    void OnTick();

    TickState& State() { return state_; }

private:
    void CheckWallpaper(Moment now);
    void HourlyChime(Moment now);
    void CheckReminder(int timer, Moment now);
    void MemRefresh();

    ChimePage& chimePage_;
    ReminderPage& reminderPage_;
    TickClock& clock_;
    TickActions& actions_;
    TickState state_;
    // Set while a step's action runs. An action that shows an error box runs the box's modal loop, which
    // goes on delivering the tick: the other steps keep their moments, this one waits for its box to close and
    // then takes the moments that came meanwhile.
    struct Running {
        bool wallpaper = false;
        bool chime = false;
        std::array<bool, 2> reminder = {};
    } running_;
};

// The half-second tick OnTick: wallpaper schedule, hourly chime, reminder timers 1 and 2 and the
// memory refresh of the information page, read from the settings dialog's live controls on every tick.
#pragma once

#include <windows.h>

#include <array>

#include "scheduler/SchedulerRules.h"

class ChimePlayer;
class ReminderPage;
class SettingsDialog;
class ReminderWindow;

// Where the tick takes the time from; tests put any moment here.
class TickClock {
public:
    virtual ~TickClock() = default;
    // Local date and time (GetLocalTime).
    virtual SYSTEMTIME LocalTime() = 0;
    // Milliseconds since Windows started, wrapping after 2^32 (timeGetTime).
    virtual DWORD Milliseconds() = 0;
};

class SystemTickClock : public TickClock {
public:
    SYSTEMTIME LocalTime() override;
    DWORD Milliseconds() override;
};

// What a tick makes happen; tests record it.
class TickActions {
public:
    virtual ~TickActions() = default;
    virtual void ChangeWallpaper() = 0;
    virtual void PlayTimerWave(unsigned index) = 0;
    // Shows reminder 1 or 2 in its window.
    virtual void ShowReminder(int timer) = 0;
    virtual void UpdateMemLabels() = 0;
};

// The program's actions: the wallpaper change and the memory figures come from their subsystems through
// the entry, the chime from the chime player, the message from the reminder windows.
class ProgramTickActions : public TickActions {
public:
    using FormOperation = void (*)(SettingsDialog& form);
    ProgramTickActions(SettingsDialog& form, ChimePlayer& chimePlayer, ReminderWindow& reminderWindow1,
                       ReminderWindow& reminderWindow2, TickClock& clock, FormOperation changeWallpaper,
                       FormOperation updateMemLabels);
    void ChangeWallpaper() override;
    void PlayTimerWave(unsigned index) override;
    void ShowReminder(int timer) override;
    void UpdateMemLabels() override;

private:
    SettingsDialog& form_;
    ChimePlayer& chimePlayer_;
    ReminderWindow& reminderWindow1_;
    ReminderWindow& reminderWindow2_;
    TickClock& clock_;
    FormOperation changeWallpaper_;
    FormOperation updateMemLabels_;
};

class Scheduler {
public:
    // The reminder page switches a once-only reminder off after it fired.
    Scheduler(SettingsDialog& form, ReminderPage& reminderPage, TickClock& clock, TickActions& actions);

    // One tick: wallpaper, hourly chime, reminder 1, reminder 2, memory figures, in that order.
    void OnTick();

    TickState& State() { return state_; }

private:
    void CheckWallpaper(const SYSTEMTIME& now);
    void HourlyChime(const SYSTEMTIME& now);
    void CheckReminder(int timer, const SYSTEMTIME& now);
    void MemRefresh();

    SettingsDialog& form_;
    ReminderPage& reminderPage_;
    TickClock& clock_;
    TickActions& actions_;
    TickState state_;
    // Set while a step's action runs. An action that shows an error box runs the box's modal loop, which
    // goes on delivering the tick: the other steps keep their moments, this one waits for its box to close.
    struct Running {
        bool wallpaper = false;
        bool chime = false;
        std::array<bool, 2> reminder = {};
    } running_;
};

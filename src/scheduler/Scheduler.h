// The half-second tick Timer1Timer: wallpaper schedule, hourly chime, reminder timers 1 and 2 and the
// memory refresh of the information page, read from the settings dialog's live controls on every tick.
#pragma once

#include <windows.h>

#include <array>

#include "scheduler/SchedulerRules.h"

class ChimePlayer;
class OsirasePage;
class TOptionEtcForm;
class TMessagesForm;

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
    virtual void KabeChange() = 0;
    virtual void PlayTimerWave(unsigned index) = 0;
    // ShowOsiraseMessage1 or ShowOsiraseMessage2.
    virtual void ShowOsiraseMessage(int timer) = 0;
    virtual void UpdateMemLabels() = 0;
};

// The program's actions: the wallpaper change and the memory figures come from their subsystems through
// the entry, the chime from the chime player, the message from the reminder windows.
class ProgramTickActions : public TickActions {
public:
    using FormOperation = void (*)(TOptionEtcForm& form);
    ProgramTickActions(TOptionEtcForm& form, ChimePlayer& chimePlayer, TMessagesForm& messagesForm1,
                       TMessagesForm& messagesForm2, TickClock& clock, FormOperation kabeChange,
                       FormOperation updateMemLabels);
    void KabeChange() override;
    void PlayTimerWave(unsigned index) override;
    void ShowOsiraseMessage(int timer) override;
    void UpdateMemLabels() override;

private:
    TOptionEtcForm& form_;
    ChimePlayer& chimePlayer_;
    TMessagesForm& messagesForm1_;
    TMessagesForm& messagesForm2_;
    TickClock& clock_;
    FormOperation kabeChange_;
    FormOperation updateMemLabels_;
};

class Scheduler {
public:
    // The reminder page switches a once-only reminder off after it fired.
    Scheduler(TOptionEtcForm& form, OsirasePage& osirasePage, TickClock& clock, TickActions& actions);

    // One tick: wallpaper, hourly chime, reminder 1, reminder 2, memory figures, in that order.
    void Timer1Timer();

    TickState& State() { return state_; }

private:
    void KabeSchedule(const SYSTEMTIME& now);
    void HourlyChime(const SYSTEMTIME& now);
    void OsiraseTimer(int timer, const SYSTEMTIME& now);
    void MemRefresh();

    TOptionEtcForm& form_;
    OsirasePage& osirasePage_;
    TickClock& clock_;
    TickActions& actions_;
    TickState state_;
    // Set while a step's action runs. An action that shows an error box runs the box's modal loop, which
    // goes on delivering Timer1: the other steps keep their moments, this one waits for its box to close.
    struct Running {
        bool kabe = false;
        bool jihou = false;
        std::array<bool, 2> osirase = {};
    } running_;
};

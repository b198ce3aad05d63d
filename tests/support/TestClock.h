// The clock of the scheduler's tests: the tick reads the local time and the milliseconds the test set.
#pragma once

#include <windows.h>

#include "scheduler/Scheduler.h"

class TestClock : public TickClock {
public:
    TestClock() = default;
    TestClock(const SYSTEMTIME& at, DWORD milliseconds) : now(at), ms(milliseconds) {}
    SYSTEMTIME LocalTime() override { return now; }
    DWORD Milliseconds() override { return ms; }
    SYSTEMTIME now = {};
    DWORD ms = 0;
};

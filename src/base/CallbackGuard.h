// The one error boundary of every call the system makes into the program: window and subclass procedures, the
// message loop's watches and timers, thread start routines. Nothing thrown unwinds into the system's frames.
#pragma once

#include <utility>

#include "base/AppError.h"

// Reports the exception being handled once: an AppError with its own message, anything else as the unexpected
// error. A reporter that fails itself is not asked again.
void ReportCurrentException(ErrorReporter& errors) noexcept;

// Runs body; when it throws, the failure is reported once and fallback is the answer. The caller goes on.
template <class Result, class Body> Result GuardCallback(ErrorReporter& errors, Body&& body, Result fallback) noexcept
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        ReportCurrentException(errors);
    }
    return fallback;
}

template <class Body> void GuardCallback(ErrorReporter& errors, Body&& body) noexcept
{
    try {
        std::forward<Body>(body)();
    } catch (...) {
        ReportCurrentException(errors);
    }
}

// The same boundary where no one can be told (a thread without windows, the poll of the watches outside any one
// watch): a failure is only its fallback answer.
template <class Result, class Body> Result GuardWithoutReport(Body&& body, Result fallback) noexcept
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
    }
    return fallback;
}

// The one error type of the program: an operation that fails with a message for the user throws it,
// and the error boundary (CallbackGuard.h) hands it to the error reporter (the standard error box) and goes on.
#pragma once

#include <string>

class AppError {
public:
    explicit AppError(std::wstring message) : message_(std::move(message)) {}
    const std::wstring& Message() const { return message_; }

private:
    std::wstring message_;
};

// What the error box says for a failure that has no message of its own.
inline constexpr wchar_t kUnexpectedErrorText[] = L"Sorabune で予期しないエラーが発生しました";

// Formats a message whose only placeholder is "%s" or "%d".
std::wstring FormatMessageText(const std::wstring& pattern, const std::wstring& value);

// Where the messages of failures go. Each program's entry owns one and hands it to its windows, whose handler
// boundary reports through it and passes it on to what they call; tests collect the messages instead.
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual void Report(const std::wstring& message) = 0;
};

// The standard error box: caption "Sorabune", error icon, modal to the thread's windows.
class ErrorBox : public ErrorReporter {
public:
    void Report(const std::wstring& message) override;
};

// The one error type of the program: an operation that fails with a message for the user throws it,
// and the window procedure shows it in the standard error box and goes on.
#pragma once

#include <functional>
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

// Shows the message in the standard error box (caption "Sorabune", error icon), or hands it to the sink
// that tests install instead of a modal box.
void ShowAppError(const std::wstring& message);

using ErrorSink = std::function<void(const std::wstring&)>;
// Installs a sink for error messages; an empty sink restores the message box. Returns the previous sink.
ErrorSink SetErrorSink(ErrorSink sink);

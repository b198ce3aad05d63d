// The standard error box, the formatting of messages and the report of a failure caught at the error boundary.
#include "base/AppError.h"

#include <windows.h>

#include "base/CallbackGuard.h"

std::wstring FormatMessageText(const std::wstring& pattern, const std::wstring& value)
{
    std::wstring text = pattern;
    for (const wchar_t* placeholder : {L"%s", L"%d"}) {
        auto pos = text.find(placeholder);
        if (pos != std::wstring::npos) {
            text.replace(pos, 2, value);
            break;
        }
    }
    return text;
}

void ErrorBox::Report(const std::wstring& message)
{
    MessageBoxW(nullptr, message.c_str(), L"Sorabune", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void ReportCurrentException(ErrorReporter& errors) noexcept
{
    try {
        try {
            throw;
        } catch (const AppError& error) {
            errors.Report(error.Message());
        } catch (...) {
            // A failure the program has no words for (a lookup or an allocation that failed): the operation ends,
            // the program goes on.
            errors.Report(kUnexpectedErrorText);
        }
    } catch (...) {
        // The reporter's own failure (no memory for the box) ends here rather than in the system's frames.
    }
}

// The standard error box and its test seam.
#include "base/AppError.h"

#include <windows.h>

namespace {
ErrorSink& Sink()
{
    static ErrorSink sink;
    return sink;
}
} // namespace

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

void ShowAppError(const std::wstring& message)
{
    if (Sink()) {
        Sink()(message);
        return;
    }
    MessageBoxW(nullptr, message.c_str(), L"Sorabune", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

ErrorSink SetErrorSink(ErrorSink sink)
{
    ErrorSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}

// The standard error box and the formatting of messages.
#include "base/AppError.h"

#include <windows.h>

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

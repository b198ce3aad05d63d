// The manual shown on the help page, one string per line.
#include "settings/HelpText.h"

namespace {
const wchar_t* const kLines[] = {
    L"",
    L"　　　　　　　　　　　　　　　　　　　　",
    L"　　Sorabune　について",
};
} // namespace

std::wstring HelpText()
{
    std::wstring text;
    bool first = true;
    for (const wchar_t* line : kLines) {
        if (!first) {
            text += L"\r\n";
        }
        text += line;
        first = false;
    }
    return text;
}

// Code page 932 byte counting and truncation at character boundaries, without any window.
#include "settings/Cp932TextRules.h"

#include <windows.h>

#include <algorithm>

namespace {
constexpr UINT kShiftJis = 932;

bool IsHighSurrogate(wchar_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Length in UTF-16 units of the character starting at pos: a surrogate pair is one character.
std::size_t CharLength(std::wstring_view text, std::size_t pos)
{
    if (IsHighSurrogate(text[pos]) && pos + 1 < text.size() && IsLowSurrogate(text[pos + 1])) {
        return 2;
    }
    return 1;
}
} // namespace

int Cp932ByteCount(std::wstring_view text)
{
    if (text.empty()) {
        return 0;
    }
    return WideCharToMultiByte(kShiftJis, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
}

std::wstring Cp932FitPrefix(std::wstring_view text, int maxBytes)
{
    std::size_t end = 0;
    int bytes = 0;
    while (end < text.size()) {
        std::size_t len = CharLength(text, end);
        int charBytes = Cp932ByteCount(text.substr(end, len));
        if (bytes + charBytes > maxBytes) {
            break;
        }
        bytes += charBytes;
        end += len;
    }
    return std::wstring(text.substr(0, end));
}

std::wstring Cp932FitInsertion(std::wstring_view text, std::size_t selStart, std::size_t selEnd,
                               std::wstring_view insertion, int maxBytes)
{
    selStart = std::min(selStart, text.size());
    selEnd = std::clamp(selEnd, selStart, text.size());
    int kept = Cp932ByteCount(text.substr(0, selStart)) + Cp932ByteCount(text.substr(selEnd));
    return Cp932FitPrefix(insertion, std::max(0, maxBytes - kept));
}

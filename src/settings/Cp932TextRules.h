// Byte counting of wide text in code page 932 (Shift-JIS), the encoding in which the settings store
// text: limits such as the reminder message's 62 bytes count these bytes, not characters.
#pragma once

#include <string>
#include <string_view>

// Bytes the text takes in code page 932. A character that code page 932 cannot represent counts as
// what WideCharToMultiByte puts in its place (a best-fit character or the one-byte default "?").
int Cp932ByteCount(std::wstring_view text);

// The longest leading part of text that takes at most maxBytes in code page 932; it ends on a whole
// character, so neither a double-byte character nor a surrogate pair is ever cut in half.
std::wstring Cp932FitPrefix(std::wstring_view text, int maxBytes);

// What of insertion may replace the range [selStart, selEnd) of text so that the result keeps to
// maxBytes: the longest fitting prefix of insertion, empty when nothing fits.
std::wstring Cp932FitInsertion(std::wstring_view text, std::size_t selStart, std::size_t selEnd,
                               std::wstring_view insertion, int maxBytes);

// How settings values look as registry text and what the load makes of stored numbers, without any
// registry or window: integer and flag text, list bounds, date and time checks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include <string_view>

// Every stored number is the decimal text of a signed 32-bit integer; flags are "1" and "0".
std::wstring EncodeInteger(std::int32_t value);
std::wstring EncodeFlag(bool value);

// The number in a stored text, or nothing when the text is no valid integer. Blanks (spaces and tabs)
// around the number and a leading "+" or "-" are accepted; anything else, an empty text, and a number
// outside the signed 32-bit range are not.
std::optional<std::int32_t> ParseInteger(std::wstring_view text);
// The read rules: an invalid text gives the default; a flag is true for every non-zero number.
std::int32_t IntegerFromText(std::wstring_view text, std::int32_t defaultValue);
bool FlagFromText(std::wstring_view text, bool defaultValue);

// The chime lists hold the eight built-in chimes, then at most two sound files that the user added.
inline constexpr int kBuiltInChimeCount = 8;
inline constexpr int kMaxChimeItems = 10;

// Last user sound entry the load visits for a stored "TimerWaveCount"; entries 9 and 10 (the items at
// chime positions 8 and 9) are the only ones there can be.
int LastUserChimeNumber(std::int32_t storedCount);
// Highest wallpaper entry number the load visits for a stored "KabeListCount" (0 for none). A corrupted
// count must not make the load run for ever, so it never goes past the highest entry actually stored.
int LastWallpaperNumber(std::int32_t storedCount, int highestStoredNumber);
// The highest N among value names of the form prefix + decimal N (prefix compared ignoring case, as the
// registry does); 0 when there is none.
int HighestListEntryNumber(const std::vector<std::wstring>& valueNames, std::wstring_view prefix);

// One value of a list's section as a walk of the section's key finds it, in no particular order.
struct StoredValue {
    std::wstring name;
    // REG_SZ or REG_EXPAND_SZ; the text is empty otherwise.
    bool isText = false;
    std::wstring text;
};
// The entries that the load of a list visits: the texts of prefix + 1, prefix + 2, ... up to the stored count
// bounded by LastWallpaperNumber, in number order; a number without a value is passed over. A value that is no
// text ends the entries there; its number is then wrongTypeNumber (0 when there is none).
struct ListEntries {
    std::vector<std::wstring> texts;
    int wrongTypeNumber = 0;
};
ListEntries ListEntriesInOrder(std::vector<StoredValue> values, std::wstring_view prefix, std::int32_t storedCount);

// The load carries stored dates and times in unsigned 16-bit work fields, as the date pickers do.
std::uint16_t ToWorkField(std::int32_t value);
// Whether a year, month and day name a day of the Gregorian calendar (years 1 to 9999).
bool IsValidDate(int year, int month, int day);
// Whether hour, minute, second and millisecond name a time of day.
bool IsValidTime(int hour, int minute, int second, int millisecond);

inline constexpr wchar_t kDateEncodeError[] = L"Invalid argument to date encode";
inline constexpr wchar_t kTimeEncodeError[] = L"Invalid argument to time encode";

// Registry text of settings values and the bounds the load applies to stored numbers.
#include "settings/SettingsRules.h"

#include <windows.h>

#include <algorithm>
#include <limits>

namespace {
constexpr int kDecimalBase = 10;
constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;
constexpr int kMonthsPerYear = 12;
constexpr int kHoursPerDay = 24;
constexpr int kMinutesPerHour = 60;
constexpr int kSecondsPerMinute = 60;
constexpr int kMillisecondsPerSecond = 1000;
constexpr int kFebruary = 2;
constexpr int kDaysInMonth[kMonthsPerYear] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}
} // namespace

std::wstring EncodeInteger(std::int32_t value)
{
    return std::to_wstring(value);
}

std::wstring EncodeFlag(bool value)
{
    return value ? L"1" : L"0";
}

std::optional<std::int32_t> ParseInteger(std::wstring_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    // The magnitude is gathered in 64 bits so that it can be checked against the range of its sign.
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                        : std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        magnitude = magnitude * kDecimalBase + (c - L'0');
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::int32_t IntegerFromText(std::wstring_view text, std::int32_t defaultValue)
{
    return ParseInteger(text).value_or(defaultValue);
}

bool FlagFromText(std::wstring_view text, bool defaultValue)
{
    return IntegerFromText(text, defaultValue ? 1 : 0) != 0;
}

int LastUserChimeNumber(std::int32_t storedCount)
{
    return std::clamp<std::int32_t>(storedCount, 0, kMaxChimeItems);
}

int LastWallpaperNumber(std::int32_t storedCount, int highestStoredNumber)
{
    return std::clamp<std::int32_t>(storedCount, 0, std::max(highestStoredNumber, 0));
}

namespace {
// N of a name prefix + decimal N, bounded to the signed 32-bit range; nothing for any other name. canonical
// is set when the digits are those that the commit writes for N (no leading zero).
std::optional<int> ListEntryNumber(std::wstring_view name, std::wstring_view prefix, bool* canonical = nullptr)
{
    if (name.size() <= prefix.size() ||
        CompareStringOrdinal(name.data(), static_cast<int>(prefix.size()), prefix.data(),
                             static_cast<int>(prefix.size()), TRUE) != CSTR_EQUAL) {
        return std::nullopt;
    }
    std::int64_t number = 0;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < L'0' || name[i] > L'9') {
            return std::nullopt;
        }
        number =
            std::min<std::int64_t>(number * kDecimalBase + (name[i] - L'0'), std::numeric_limits<std::int32_t>::max());
    }
    if (canonical) {
        *canonical = name[prefix.size()] != L'0';
    }
    return static_cast<int>(number);
}
} // namespace

int HighestListEntryNumber(const std::vector<std::wstring>& valueNames, std::wstring_view prefix)
{
    int highest = 0;
    for (const std::wstring& name : valueNames) {
        highest = std::max(highest, ListEntryNumber(name, prefix).value_or(0));
    }
    return highest;
}

ListEntries ListEntriesInOrder(std::vector<StoredValue> values, std::wstring_view prefix, std::int32_t storedCount)
{
    struct Entry {
        int number;
        StoredValue* value;
    };
    std::vector<Entry> entries;
    int highest = 0;
    for (StoredValue& value : values) {
        bool canonical = false;
        const int number = ListEntryNumber(value.name, prefix, &canonical).value_or(0);
        highest = std::max(highest, number);
        // Names compare ignoring case, so no number is stored twice.
        if (canonical && number >= 1) {
            entries.push_back({number, &value});
        }
    }
    const int last = LastWallpaperNumber(storedCount, highest);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.number < b.number; });
    ListEntries list;
    for (const Entry& entry : entries) {
        if (entry.number > last) {
            break;
        }
        if (!entry.value->isText) {
            list.wrongTypeNumber = entry.number;
            break;
        }
        list.texts.push_back(std::move(entry.value->text));
    }
    return list;
}

std::uint16_t ToWorkField(std::int32_t value)
{
    return static_cast<std::uint16_t>(value);
}

bool IsValidDate(int year, int month, int day)
{
    if (year < kMinYear || year > kMaxYear || month < 1 || month > kMonthsPerYear || day < 1) {
        return false;
    }
    int days = kDaysInMonth[month - 1] + (month == kFebruary && IsLeapYear(year) ? 1 : 0);
    return day <= days;
}

bool IsValidTime(int hour, int minute, int second, int millisecond)
{
    return hour >= 0 && hour < kHoursPerDay && minute >= 0 && minute < kMinutesPerHour && second >= 0 &&
           second < kSecondsPerMinute && millisecond >= 0 && millisecond < kMillisecondsPerSecond;
}

// Registry text of numbers and flags, the bounds of stored list counts, and the date and time checks.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "settings/SettingsRules.h"
#include "settings/WallpaperChoices.h"

TEST(SettingsRulesTest, NumbersAndFlagsAreStoredAsDecimalText)
{
    EXPECT_EQ(EncodeInteger(0), L"0");
    EXPECT_EQ(EncodeInteger(8), L"8");
    EXPECT_EQ(EncodeInteger(-1), L"-1");
    EXPECT_EQ(EncodeInteger(2003), L"2003");
    EXPECT_EQ(EncodeInteger(std::numeric_limits<std::int32_t>::min()), L"-2147483648");
    EXPECT_EQ(EncodeFlag(true), L"1");
    EXPECT_EQ(EncodeFlag(false), L"0");
}

TEST(SettingsRulesTest, ValidIntegerTextsParse)
{
    EXPECT_EQ(ParseInteger(L"0"), 0);
    EXPECT_EQ(ParseInteger(L"-1"), -1);
    EXPECT_EQ(ParseInteger(L"+5"), 5);
    EXPECT_EQ(ParseInteger(L"007"), 7);
    EXPECT_EQ(ParseInteger(L"  12"), 12);
    EXPECT_EQ(ParseInteger(L"12 \t"), 12);
    EXPECT_EQ(ParseInteger(L"2147483647"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ParseInteger(L"-2147483648"), std::numeric_limits<std::int32_t>::min());
}

TEST(SettingsRulesTest, InvalidIntegerTextsAreRejected)
{
    for (const wchar_t* text : {L"", L" ", L"abc", L"-", L"+", L"1a", L"1 2", L"0x10", L"$10", L"1.5", L"--1",
                                L"2147483648", L"-2147483649", L"99999999999999999999", L"１２"}) {
        EXPECT_FALSE(ParseInteger(text).has_value()) << "accepted a text that is no integer";
    }
}

TEST(SettingsRulesTest, InvalidTextReadsAsTheDefaultAndAnyNonZeroNumberIsTrue)
{
    EXPECT_EQ(IntegerFromText(L"abc", 0), 0);
    EXPECT_EQ(IntegerFromText(L"abc", -1), -1);
    EXPECT_EQ(IntegerFromText(L"3", -1), 3);
    EXPECT_TRUE(FlagFromText(L"5", false));
    EXPECT_TRUE(FlagFromText(L"-1", false));
    EXPECT_FALSE(FlagFromText(L"0", true));
    EXPECT_TRUE(FlagFromText(L"yes", true));
    EXPECT_FALSE(FlagFromText(L"yes", false));
}

TEST(SettingsRulesTest, StoredListCountsAreBounded)
{
    EXPECT_EQ(LastUserChimeNumber(0), 0);
    EXPECT_EQ(LastUserChimeNumber(-5), 0);
    EXPECT_EQ(LastUserChimeNumber(9), 9);
    EXPECT_EQ(LastUserChimeNumber(10), 10);
    EXPECT_EQ(LastUserChimeNumber(std::numeric_limits<std::int32_t>::max()), kMaxChimeItems);
    EXPECT_EQ(LastWallpaperNumber(-1, 5), 0);
    EXPECT_EQ(LastWallpaperNumber(300, 300), 300);
    EXPECT_EQ(LastWallpaperNumber(2, 5), 2);
    EXPECT_EQ(LastWallpaperNumber(std::numeric_limits<std::int32_t>::max(), 7), 7);
    EXPECT_EQ(LastWallpaperNumber(std::numeric_limits<std::int32_t>::min(), 7), 0);
    EXPECT_EQ(HighestListEntryNumber({L"KabeChangeTime", L"KabeBmp2", L"kabebmp12", L"KabeBmp", L"KabeBmp3x",
                                      L"KabeListCount", L"KabeBmp99999999999"},
                                     L"KabeBmp"),
              std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(HighestListEntryNumber({L"KabeBmp2", L"kabebmp12", L"KabeStyle"}, L"KabeBmp"), 12);
    EXPECT_EQ(HighestListEntryNumber({}, L"KabeBmp"), 0);
}

TEST(SettingsRulesTest, AWalkOfAListSectionGivesTheEntriesTheLoadWouldAskForByName)
{
    auto text = [](const wchar_t* name, const wchar_t* value) { return StoredValue{name, true, value}; };
    // As a walk finds them: in no order, names in any case, with other values and near-misses among them.
    const std::vector<StoredValue> walked = {
        text(L"KabeBmp10", L"j"), text(L"kabebmp2", L"b"),  text(L"KabeStyle", L"2"),    text(L"KabeBmp1", L"a"),
        text(L"KabeBmp03", L"x"), text(L"KabeBmp0", L"x"),  StoredValue{L"KabeBmp12"},   text(L"KabeBmp4", L"d"),
        text(L"KabeBmp", L"x"),   text(L"KabeBmp4x", L"x"), text(L"KabeListCount", L"9")};
    struct Case {
        std::int32_t count;
        std::vector<std::wstring> texts;
        int wrongTypeNumber;
    };
    for (const Case& k : {Case{2, {L"a", L"b"}, 0}, Case{11, {L"a", L"b", L"d", L"j"}, 0},
                          Case{12, {L"a", L"b", L"d", L"j"}, 12}, Case{-1, {}, 0}}) {
        SCOPED_TRACE(k.count);
        const ListEntries list = ListEntriesInOrder(walked, L"KabeBmp", k.count);
        EXPECT_EQ(list.texts, k.texts);
        EXPECT_EQ(list.wrongTypeNumber, k.wrongTypeNumber);
    }
}

TEST(SettingsRulesTest, WorkFieldsKeepSixteenBits)
{
    EXPECT_EQ(ToWorkField(2002), 2002);
    EXPECT_EQ(ToWorkField(-1), 65535);
    EXPECT_EQ(ToWorkField(65536 + 4), 4);
}

TEST(SettingsRulesTest, DatesOfTheCalendarOnly)
{
    EXPECT_TRUE(IsValidDate(2002, 4, 14));
    EXPECT_TRUE(IsValidDate(2000, 2, 29));
    EXPECT_TRUE(IsValidDate(2004, 2, 29));
    EXPECT_TRUE(IsValidDate(9999, 12, 31));
    EXPECT_FALSE(IsValidDate(0, 0, 0));
    EXPECT_FALSE(IsValidDate(1900, 2, 29));
    EXPECT_FALSE(IsValidDate(2003, 2, 29));
    EXPECT_FALSE(IsValidDate(2003, 4, 31));
    EXPECT_FALSE(IsValidDate(2003, 13, 1));
    EXPECT_FALSE(IsValidDate(2003, 1, 0));
    EXPECT_FALSE(IsValidDate(10000, 1, 1));
    EXPECT_FALSE(IsValidDate(65535, 65535, 65535));
}

TEST(SettingsRulesTest, TimesOfTheDayOnly)
{
    EXPECT_TRUE(IsValidTime(0, 0, 0, 0));
    EXPECT_TRUE(IsValidTime(23, 59, 59, 999));
    EXPECT_FALSE(IsValidTime(24, 0, 0, 0));
    EXPECT_FALSE(IsValidTime(0, 60, 0, 0));
    EXPECT_FALSE(IsValidTime(0, 0, 60, 0));
    EXPECT_FALSE(IsValidTime(0, 0, 0, 1000));
    EXPECT_FALSE(IsValidTime(-1, 0, 0, 0));
}

TEST(SettingsRulesTest, StyleItemsKeepTheirPositionsAndSpanIsOfferedFromWindows8)
{
    EXPECT_EQ(StyleForStyleIndex(0), WallpaperStyle::Centre);
    EXPECT_EQ(StyleForStyleIndex(1), WallpaperStyle::Tile);
    EXPECT_EQ(StyleForStyleIndex(2), WallpaperStyle::Stretch);
    EXPECT_EQ(StyleForStyleIndex(5), WallpaperStyle::Span);
    EXPECT_FALSE(StyleForStyleIndex(-1).has_value());
    EXPECT_FALSE(StyleForStyleIndex(6).has_value());
    EXPECT_EQ(kInitialWallpaperStyle, WallpaperStyle::Tile);
    EXPECT_FALSE(WindowsHasSpan(6, 1));
    EXPECT_TRUE(WindowsHasSpan(6, 2));
    EXPECT_TRUE(WindowsHasSpan(10, 0));
    EXPECT_EQ(OfferedStyleItems(false), 5);
    EXPECT_EQ(OfferedStyleItem(5, 5), 4) << "a stored span shows fill where there is none";
    EXPECT_EQ(OfferedStyleItem(5, 6), 5);
    EXPECT_EQ(OfferedStyleItem(7, 5), 7);
}

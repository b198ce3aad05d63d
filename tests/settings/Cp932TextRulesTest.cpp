// Byte counting and truncation of text in code page 932.
#include <gtest/gtest.h>

#include <string>

#include "settings/Cp932TextRules.h"
#include "support/TestSupport.h"

TEST(Cp932TextRulesTest, CountsSingleAndDoubleByteCharacters)
{
    EXPECT_EQ(Cp932ByteCount(L""), 0);
    EXPECT_EQ(Cp932ByteCount(L"abc"), 3);
    EXPECT_EQ(Cp932ByteCount(L"あいう"), 6);
    // Half-width katakana is single-byte in Shift-JIS.
    EXPECT_EQ(Cp932ByteCount(L"ｱｲ"), 2);
    EXPECT_EQ(Cp932ByteCount(L"a漢字b"), 6);
}

TEST(Cp932TextRulesTest, UnrepresentableCharactersCountAsTheirSubstitute)
{
    // Hangul has no Shift-JIS form: it becomes the one-byte default character.
    EXPECT_EQ(Cp932ByteCount(L"\uAC00"), 1);
    // A character beyond the basic plane is kept or dropped whole, whatever its substitute takes
    // (Windows puts one "?" for the surrogate pair, Wine one for each half).
    std::wstring fitted = Cp932FitPrefix(L"a\U0001F600b", 2);
    EXPECT_TRUE(fitted == L"a" || fitted == L"a\U0001F600") << Utf8(fitted);
    EXPECT_EQ(Cp932ByteCount(fitted), fitted == L"a" ? 1 : 2);
}

TEST(Cp932TextRulesTest, FitPrefixNeverCutsACharacterInHalf)
{
    EXPECT_EQ(Cp932FitPrefix(L"あいう", 5), L"あい");
    EXPECT_EQ(Cp932FitPrefix(L"aあ", 2), L"a");
    EXPECT_EQ(Cp932FitPrefix(L"aあ", 3), L"aあ");
    EXPECT_EQ(Cp932FitPrefix(L"あ", 1), L"");
    EXPECT_EQ(Cp932FitPrefix(L"abc", 0), L"");
}

TEST(Cp932TextRulesTest, SixtyTwoBytesHoldThirtyOneDoubleOrSixtyTwoSingleByteCharacters)
{
    std::wstring wide(31, L'あ');
    EXPECT_EQ(Cp932ByteCount(wide), 62);
    EXPECT_EQ(Cp932FitPrefix(wide + L"あ", 62), wide);
    std::wstring narrow(62, L'a');
    EXPECT_EQ(Cp932FitPrefix(narrow + L"a", 62), narrow);
    EXPECT_EQ(Cp932FitPrefix(std::wstring(61, L'a') + L"あ", 62), std::wstring(61, L'a'));
}

TEST(Cp932TextRulesTest, InsertionReplacesTheSelectionWithinTheLimit)
{
    std::wstring full(31, L'あ');
    EXPECT_EQ(Cp932FitInsertion(full, 31, 31, L"a", 62), L"");
    // Replacing one double-byte character frees two bytes.
    EXPECT_EQ(Cp932FitInsertion(full, 0, 1, L"abc", 62), L"ab");
    EXPECT_EQ(Cp932FitInsertion(std::wstring(60, L'a'), 60, 60, L"あい", 62), L"あ");
    // A selection out of range is clamped to the text.
    EXPECT_EQ(Cp932FitInsertion(L"ab", 5, 9, L"c", 3), L"c");
}

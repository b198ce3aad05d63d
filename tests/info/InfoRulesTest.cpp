// The information page's texts from given figures: drive lines, megabyte rounding, skipped drive types,
// failed queries, the screen and names blocks and the memory figures beyond 4 GB.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>

#include "info/InfoRules.h"
#include "support/TestSupport.h"

namespace {
struct FakeDrive {
    unsigned type;
    bool answers;
    std::uint64_t total;
    std::uint64_t free;
};

// A machine made of the given drives; every other letter has no drive.
DriveQueries Machine(const std::map<wchar_t, FakeDrive>& drives, std::wstring* asked = nullptr)
{
    DriveQueries q;
    q.driveType = [drives](const std::wstring& root) {
        auto it = drives.find(root[0]);
        return it == drives.end() ? static_cast<unsigned>(DRIVE_NO_ROOT_DIR) : it->second.type;
    };
    q.diskSpace = [drives, asked](const std::wstring& root, std::uint64_t* freeToCaller, std::uint64_t* total) {
        if (asked) {
            *asked += root;
        }
        const FakeDrive& d = drives.at(root[0]);
        if (!d.answers) {
            return false;
        }
        *freeToCaller = d.free;
        *total = d.total;
        return true;
    };
    return q;
}
} // namespace

TEST(InfoRulesTest, MegabytesAreRoundedDown)
{
    EXPECT_EQ(WholeMegabytes(1048575), 0u);
    EXPECT_EQ(WholeMegabytes(1048576), 1u);
    EXPECT_EQ(WholeMegabytes(5 * 1048576ull - 1), 4u);
    EXPECT_EQ(Utf8(DriveLines(L"C:\\", 1048576, 1048575)),
              "C:\\ ドライブの\r\n全容量  1048576バイト  約 1MB\r\n空容量  1048575バイト  約 0MB\r\n\r\n");
}

TEST(InfoRulesTest, OnlyFixedDrivesAreListedInLetterOrder)
{
    std::wstring asked;
    DriveQueries q = Machine({{L'E', {DRIVE_FIXED, true, 3000000000ull, 2097152}},
                              {L'D', {DRIVE_CDROM, true, 700000000, 0}},
                              {L'C', {DRIVE_FIXED, true, 10485760, 1048576}},
                              {L'A', {DRIVE_REMOVABLE, true, 1474560, 0}},
                              {L'Z', {DRIVE_REMOTE, true, 1, 1}}},
                             &asked);
    EXPECT_EQ(Utf8(DrivesBlockText(q)), "C:\\ ドライブの\r\n全容量  10485760バイト  約 10MB\r\n"
                                        "空容量  1048576バイト  約 1MB\r\n\r\n"
                                        "E:\\ ドライブの\r\n全容量  3000000000バイト  約 2861MB\r\n"
                                        "空容量  2097152バイト  約 2MB\r\n\r\n");
    // Space is asked only of the fixed drives.
    EXPECT_EQ(Utf8(asked), "C:\\E:\\");
}

TEST(InfoRulesTest, FiguresBeyondThirtyTwoBitsAndFailedQueries)
{
    const std::uint64_t big = 5000000000000ull; // 5 TB
    DriveQueries q = Machine({{L'C', {DRIVE_FIXED, true, big, big - 1}}, {L'D', {DRIVE_FIXED, false, 99, 99}}});
    std::string text = Utf8(DrivesBlockText(q));
    EXPECT_NE(text.find("全容量  5000000000000バイト  約 4768371MB"), std::string::npos);
    // The drive whose query fails shows zeros, not the figures of the drive before it.
    EXPECT_NE(text.find("D:\\ ドライブの\r\n全容量  0バイト  約 0MB\r\n空容量  0バイト  約 0MB\r\n\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(DrivesBlockText(Machine({})), L"");
}

TEST(InfoRulesTest, ScreenAndNamesBlocks)
{
    EXPECT_EQ(Utf8(ScreenBlockText(1024, 768, 96)), "現在のモニタの\r\n  サイズ  1024 X 768\r\n  解像度  96 dpi");
    EXPECT_EQ(Utf8(NamesBlockText(L"PC", L"山田花子さんの長いログイン名")),
              "コンピュータ名  PC\r\nログイン名  山田花子さんの長いログイン名");
    EXPECT_EQ(Utf8(NamesBlockText(L"", L"")), "コンピュータ名  \r\nログイン名  ");
}

TEST(InfoRulesTest, MemoryInKilobytesRoundedDownBeyondFourGigabytes)
{
    MemoryTexts t = MemoryLabelTexts(17179869184ull + 1023, 6442450944ull + 1023, 63);
    EXPECT_EQ(t.total, L"16777216");
    EXPECT_EQ(t.free, L"6291456");
    EXPECT_EQ(t.load, L"63");
    EXPECT_EQ(MemoryLabelTexts(1023, 0, 0).total, L"0");
}

TEST(InfoRulesTest, InconsistentFiguresShowNoMoreFreeThanInstalledAndALoadOfAtMostAHundred)
{
    // What a 32-bit process under Wine reads on a 24 GB machine: a capped total, the true free memory and a
    // load that wrapped below zero.
    MemoryTexts capped = MemoryLabelTexts(3801317376ull, 24836755456ull, 4294966796u);
    EXPECT_EQ(capped.total, L"3712224");
    EXPECT_EQ(capped.free, L"3712224");
    EXPECT_EQ(capped.load, L"0");

    MemoryTexts halfUsed = MemoryLabelTexts(8000000000ull, 4000000000ull, 250);
    EXPECT_EQ(halfUsed.free, L"3906250");
    EXPECT_EQ(halfUsed.load, L"50");
    EXPECT_EQ(MemoryLabelTexts(0, 0, 101).load, L"0");
    EXPECT_EQ(MemoryLabelTexts(8000000000ull, 0, 100).load, L"100");
}

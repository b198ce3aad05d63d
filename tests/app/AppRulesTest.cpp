// Start checks, the splash's alpha sequence and the tray click decisions.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "app/AppRules.h"

TEST(AppRulesTest, StartTokenMustBeTheWholeFirstArgumentInItsExactCase)
{
    const wchar_t* none[] = {L"SorabuneOpt.exe"};
    EXPECT_FALSE(HasStartToken(1, none));
    EXPECT_FALSE(HasStartToken(0, nullptr));
    const wchar_t* empty[] = {L"SorabuneOpt.exe", L""};
    EXPECT_FALSE(HasStartToken(2, empty));
    const wchar_t* lower[] = {L"SorabuneOpt.exe", L"sorabune_start"};
    EXPECT_FALSE(HasStartToken(2, lower));
    const wchar_t* tail[] = {L"SorabuneOpt.exe", L"Sorabune_STARTx"};
    EXPECT_FALSE(HasStartToken(2, tail));
    const wchar_t* second[] = {L"SorabuneOpt.exe", L"x", L"Sorabune_START"};
    EXPECT_FALSE(HasStartToken(3, second));
    const wchar_t* exact[] = {L"SorabuneOpt.exe", L"Sorabune_START"};
    EXPECT_TRUE(HasStartToken(2, exact));
    const wchar_t* extra[] = {L"SorabuneOpt.exe", L"Sorabune_START", L"more"};
    EXPECT_TRUE(HasStartToken(3, extra));
}

TEST(AppRulesTest, PlatformNeedsNtAndTrueColour)
{
    EXPECT_FALSE(IsSuitablePlatform(VER_PLATFORM_WIN32_NT, 1, 16));
    EXPECT_FALSE(IsSuitablePlatform(VER_PLATFORM_WIN32_NT, 1, 23));
    EXPECT_TRUE(IsSuitablePlatform(VER_PLATFORM_WIN32_NT, 1, 24));
    EXPECT_TRUE(IsSuitablePlatform(VER_PLATFORM_WIN32_NT, 1, 32));
    EXPECT_TRUE(IsSuitablePlatform(VER_PLATFORM_WIN32_NT, 3, 8)); // planes count too
    EXPECT_FALSE(IsSuitablePlatform(VER_PLATFORM_WIN32_WINDOWS, 1, 32));
    EXPECT_FALSE(IsSuitablePlatform(VER_PLATFORM_WIN32s, 1, 32));
}

TEST(AppRulesTest, FadeInPassesSevenStepsFrom35AndEndsAt255)
{
    std::vector<std::uint8_t> expected = {65, 95, 125, 155, 185, 215, 245, 255};
    EXPECT_EQ(FadeInSteps(35), expected);
    // From an alpha already at the top only the final value is set.
    EXPECT_EQ(FadeInSteps(240), std::vector<std::uint8_t>{255});
}

TEST(AppRulesTest, FadeOutTakes24StepsFrom255To15)
{
    std::vector<std::uint8_t> expected = {245, 235, 225, 215, 205, 195, 185, 175, 165, 155, 145, 135,
                                          125, 115, 105, 95,  85,  75,  65,  55,  45,  35,  25,  15};
    EXPECT_EQ(FadeOutSteps(255), expected);
    EXPECT_TRUE(FadeOutSteps(15).empty());
}

TEST(AppRulesTest, TrayClicksOpenADialogOnlyWhenNoneIsOpen)
{
    EXPECT_EQ(DecideTrayAction(WM_LBUTTONDOWN, false, false), TrayAction::ShowExitDialog);
    EXPECT_EQ(DecideTrayAction(WM_RBUTTONDOWN, false, false), TrayAction::ShowSettingsDialog);
    for (UINT button : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        EXPECT_EQ(DecideTrayAction(button, true, false), TrayAction::BringDialogsToFront);
        EXPECT_EQ(DecideTrayAction(button, false, true), TrayAction::BringDialogsToFront);
        EXPECT_EQ(DecideTrayAction(button, true, true), TrayAction::BringDialogsToFront);
    }
    for (UINT other : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_MBUTTONDOWN, 0}) {
        for (int visible = 0; visible < 4; ++visible) {
            EXPECT_EQ(DecideTrayAction(other, visible & 1, visible & 2), TrayAction::None) << other;
        }
    }
}

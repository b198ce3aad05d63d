// The basic settings page in the real settings dialog: the chime choices and buttons and the autostart check
// box, as a person first sees them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "scheduler/SchedulerIds.h"
#include "scheduler/ChimePage.h"
#include "scheduler/ChimePlayer.h"
#include "support/DialogUi.h"
#include "support/PagesTestSupport.h"

SettingsPages PagesUnderTest()
{
    static ChimePlayer player;
    return With(BlankPages(), kChimePageIndex, MakeChimePage(player, OpenSoundFileDialog));
}

TEST_F(PagesTest, BasicPageHasTheChimeControlsAndTheAutostartCheckBox)
{
    EXPECT_EQ(Items(IDC_TIMERWAVEONOFF), (std::vector<std::string>{"無し", "毎時0分", "毎時0分+30分"}));
    EXPECT_EQ(Ui(dialog_).Index(IDC_TIMERWAVEONOFF), 0);
    std::vector<std::string> chimes;
    for (int n = 1; n <= 8; ++n) {
        chimes.push_back("時報 " + std::to_string(n));
    }
    EXPECT_EQ(Items(IDC_TIMERWAVE), chimes);
    EXPECT_EQ(Ui(dialog_).Index(IDC_TIMERWAVE), 0);

    EXPECT_EQ(Caption(IDC_TIMERWAVEADD), "時報音の追加");
    EXPECT_EQ(Caption(IDC_TIMERWAVEDEL), "追加時報音の削除");
    EXPECT_EQ(Caption(IDC_TIMERWAVEPLAY), "時報音の確認");
    EXPECT_EQ(Caption(IDC_TIMERWAVESTOP), "時報音の停止");
    EXPECT_TRUE(Ui(dialog_).Enabled(IDC_TIMERWAVEADD));
    EXPECT_TRUE(Ui(dialog_).Enabled(IDC_TIMERWAVEDEL));
    EXPECT_TRUE(Ui(dialog_).Enabled(IDC_TIMERWAVEPLAY));
    EXPECT_FALSE(Ui(dialog_).Enabled(IDC_TIMERWAVESTOP));

    EXPECT_EQ(Caption(IDC_STARTUPONOFF), "Windows の起動と同時に Sorabune を起動する");
    EXPECT_EQ(Style(Ui(dialog_).Control(IDC_STARTUPONOFF)) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_FALSE(Ui(dialog_).Checked(IDC_STARTUPONOFF));
}

// The basic settings page in the real settings dialog: the chime choices and buttons and the autostart check
// box in the state a person first sees.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

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

// The texts are the manual's (PagesTest.ManualNamesEveryTabButtonAndChoiceByItsText), the places the table's.
TEST_F(PagesTest, BasicPageStartsOnTheFirstChoicesWithOnlyStopDisabled)
{
    EXPECT_EQ(Ui(dialog_).ItemCount(IDC_TIMERWAVE), 8);
    for (int id : {IDC_TIMERWAVEONOFF, IDC_TIMERWAVE}) {
        EXPECT_EQ(Ui(dialog_).Index(id), 0) << id;
    }
    for (int id : {IDC_TIMERWAVEADD, IDC_TIMERWAVEDEL, IDC_TIMERWAVEPLAY}) {
        EXPECT_TRUE(Ui(dialog_).Enabled(id)) << id;
    }
    EXPECT_FALSE(Ui(dialog_).Enabled(IDC_TIMERWAVESTOP));
    EXPECT_EQ(Style(Ui(dialog_).Control(IDC_STARTUPONOFF)) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_FALSE(Ui(dialog_).Checked(IDC_STARTUPONOFF));
}

// The basic page on a real hidden dialog: its first state, its sound buttons through the chime player (built-in
// chimes through the PlaySound seam, user files through the real media player and its end notice), adding and
// deleting chime files across the three chime lists, and a user file that has gone missing.
#include "ReminderTestSupport.h"

#include <mmsystem.h>

#include <memory>
#include <string>
#include <vector>

#include "scheduler/ChimePlayer.h"
#include "scheduler/ChimePage.h"
#include "support/DialogUi.h"
#include "support/ScratchFolder.h"

namespace {
constexpr DWORD kPlayTimeoutMs = 60000;

struct PlayedSound {
    std::wstring name;
    HMODULE module;
    DWORD flags;
};

int TextWidth(HWND control, const std::wstring& text)
{
    WindowDC dc(control);
    SelectInDC select(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

// A sound file that the build made in the testdata folder beside this program; empty when it is missing.
std::wstring TestSound(const wchar_t* name)
{
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    path.erase(path.find_last_of(L'\\') + 1);
    path += std::wstring(L"testdata\\") + name;
    return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES ? std::wstring() : path;
}
} // namespace

class ChimePageTest : public ReminderFixture {
protected:
    // The fakes reach the members below, which exist by the time the dialog plays or asks.
    ChimePageTest()
        : ReminderFixture(
              [this](LPCWSTR sound, HMODULE module, DWORD flags) { return RecordPlaySound(sound, module, flags); },
              [this](HWND, std::wstring* path) {
                  ++chooserCalls;
                  if (chooserAnswers.empty()) {
                      return false;
                  }
                  *path = chooserAnswers.front();
                  chooserAnswers.erase(chooserAnswers.begin());
                  return true;
              })
    {
    }
    void TearDown() override
    {
        for (const std::wstring& file : files_) {
            DeleteFileW(file.c_str());
        }
    }

    // A copy in %TEMP%, under a name of its own, of a tone in the chimes' format that the build made.
    std::wstring MakeToneFile(const wchar_t* name, const wchar_t* tone)
    {
        std::wstring path = TempPath(name);
        EXPECT_TRUE(CopyFileW(TestSound(tone).c_str(), path.c_str(), FALSE)) << Utf8(tone);
        files_.push_back(path);
        return path;
    }

    void AddUserFile(const std::wstring& path)
    {
        chooserAnswers.push_back(path);
        Click(IDC_TIMERWAVEADD);
    }

    bool Is(bool on) const
    {
        return chimePlayer.IsPlayingUserFile() == on && Ui(dialog).Enabled(IDC_TIMERWAVESTOP) == on;
    }
    bool Playing() const { return Is(true) && !Ui(dialog).Enabled(IDC_TIMERWAVEPLAY); }
    bool Idle() const { return Is(false) && Ui(dialog).Enabled(IDC_TIMERWAVEPLAY); }

    bool PumpUntilIdle()
    {
        const DWORD start = GetTickCount();
        while (!Idle() && GetTickCount() - start < kPlayTimeoutMs) {
            PumpMessages(20);
        }
        return Idle();
    }

    void ExpectListsHold(const std::vector<std::wstring>& userItems)
    {
        for (int list : kChimeLists) {
            ASSERT_EQ(Ui(dialog).ItemCount(list), 8 + static_cast<int>(userItems.size())) << list;
            for (std::size_t i = 0; i < userItems.size(); ++i) {
                EXPECT_EQ(Ui(dialog).ItemText(list, 8 + static_cast<int>(i)), userItems[i]) << list;
            }
        }
    }

    std::vector<PlayedSound> played;
    // PlaySound as these tests record it; a test's own player is given it too.
    const PlaySoundFn RecordPlaySound = [this](LPCWSTR sound, HMODULE module, DWORD flags) {
        played.push_back({sound ? sound : L"", module, flags});
        return TRUE;
    };
    // The chime file dialog's answers, first to last; with none left the user cancels.
    std::vector<std::wstring> chooserAnswers;
    int chooserCalls = 0;

private:
    std::vector<std::wstring> files_;
};

// The texts are the manual's (PagesTest.ManualNamesEveryTabButtonAndChoiceByItsText), the places the table's.
TEST_F(ChimePageTest, StartsOnTheFirstChoicesWithOnlyStopDisabled)
{
    EXPECT_EQ(Ui(dialog).ItemCount(IDC_TIMERWAVE), 8);
    for (int id : {IDC_TIMERWAVEONOFF, IDC_TIMERWAVE}) {
        EXPECT_EQ(Ui(dialog).Index(id), 0) << id;
    }
    for (int id : {IDC_TIMERWAVEADD, IDC_TIMERWAVEDEL, IDC_TIMERWAVEPLAY}) {
        EXPECT_TRUE(Ui(dialog).Enabled(id)) << id;
    }
    EXPECT_FALSE(Ui(dialog).Enabled(IDC_TIMERWAVESTOP));
    EXPECT_EQ(GetWindowLongW(Ui(dialog).Control(IDC_STARTUPONOFF), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_FALSE(Ui(dialog).Checked(IDC_STARTUPONOFF));
}

TEST_F(ChimePageTest, PreviewOfABuiltInChimePlaysItsResourceAsynchronously)
{
    Ui(dialog).SetIndex(IDC_TIMERWAVE, 2);
    Click(IDC_TIMERWAVEPLAY);
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(Utf8(played[0].name), "TIMER3A");
    EXPECT_EQ(played[0].module, GetModuleHandleW(nullptr));
    EXPECT_EQ(played[0].flags, 0x40005u);
    EXPECT_TRUE(Idle()) << "the stop button stays disabled";

    played.clear();
    for (unsigned i = 0; i < 8; ++i) {
        chimePlayer.PlayTimerWave(i);
    }
    ASSERT_EQ(played.size(), 8u);
    for (unsigned i = 0; i < 8; ++i) {
        EXPECT_EQ(Utf8(played[i].name), "TIMER" + std::to_string(i + 1) + "A");
    }
}

TEST_F(ChimePageTest, IndicesWithoutASoundDoNothing)
{
    for (unsigned index : {10u, 11u, 0xFFFFFFFFu}) {
        chimePlayer.PlayTimerWave(index);
    }
    EXPECT_TRUE(played.empty());
    Ui(dialog).SetIndex(IDC_TIMERWAVE, -1);
    Click(IDC_TIMERWAVEPLAY);
    EXPECT_TRUE(played.empty());
    EXPECT_TRUE(Idle());
}

TEST_F(ChimePageTest, TwoFilesCanBeAddedToAllThreeListsAndAThirdIsIgnored)
{
    Ui(dialog).SetIndex(t1.Chime(), 4);
    AddUserFile(L"C:\\sounds\\first.wav");
    AddUserFile(L"C:\\sounds\\second.mp3");
    ExpectListsHold({L"C:\\sounds\\first.wav", L"C:\\sounds\\second.mp3"});
    EXPECT_EQ(Ui(dialog).Index(IDC_TIMERWAVE), 0) << "no selection changes";
    EXPECT_EQ(Ui(dialog).Index(t1.Chime()), 4);

    AddUserFile(L"C:\\sounds\\third.wav");
    EXPECT_EQ(chooserCalls, 3) << "the dialog is shown all the same";
    ExpectListsHold({L"C:\\sounds\\first.wav", L"C:\\sounds\\second.mp3"});

    Click(IDC_TIMERWAVEADD); // cancelled
    ExpectListsHold({L"C:\\sounds\\first.wav", L"C:\\sounds\\second.mp3"});
}

// Each chime list opened as the user opens it: the longest file name reads whole and the list stays on the
// screen, also for a name wider than the screen; without the user files the list is narrow again.
TEST_F(ChimePageTest, AnOpenChimeListShowsItsLongestFileNameWholeOnTheScreen)
{
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const std::wstring longName = L"C:\\Users\\ユーザー\\Music\\とても長い名前のフォルダー\\さらに長いサブフォルダー"
                                  L"の名前\\朝の時報_チャイム_バージョン2_最終版.wav";
    for (const std::wstring& name : {longName, L"C:\\" + std::wstring(300, L'あ') + L".wav"}) {
        AddUserFile(name);
        for (int list : kChimeLists) {
            HWND combo = Ui(dialog).Control(list);
            SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
            COMBOBOXINFO info = {sizeof(info)};
            GetComboBoxInfo(combo, &info);
            RECT open = {};
            RECT inside = {};
            GetWindowRect(info.hwndList, &open);
            GetClientRect(info.hwndList, &inside);
            SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
            const int nameWidth = TextWidth(combo, name);
            EXPECT_GE(nameWidth < screenWidth ? inside.right : open.right - open.left, std::min(nameWidth, screenWidth))
                << list;
            EXPECT_TRUE(open.left >= 0 && open.right <= screenWidth) << list << ": " << open.left << " " << open.right;
        }
    }
    for (int index : {9, 8}) {
        Ui(dialog).SetIndex(IDC_TIMERWAVE, index);
        Click(IDC_TIMERWAVEDEL);
    }
    for (int list : kChimeLists) {
        HWND combo = Ui(dialog).Control(list);
        SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
        EXPECT_LT(SendMessageW(combo, CB_GETDROPPEDWIDTH, 0, 0), TextWidth(combo, longName));
    }
}

// The basic list's selection deleted from all three lists: nothing for a built-in chime; a later file moves up, and
// a list that chose the deleted file falls back to the first chime while the others keep their choice.
TEST_F(ChimePageTest, DeletingAUserFileMovesTheLaterUpAndEachListKeepsItsChoice)
{
    const std::wstring first = L"C:\\sounds\\first.wav", second = L"C:\\sounds\\second.wav";
    const struct {
        int basic, timer1, timer2;
        std::vector<std::wstring> left;
        int basicAfter, timer1After, timer2After;
    } rows[] = {
        {4, 8, 9, {first, second}, 4, 8, 9},
        {8, 8, 9, {second}, 0, 0, 8},
        {9, 9, 3, {first}, 0, 0, 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.basic);
        while (Ui(dialog).ItemCount(IDC_TIMERWAVE) > 8) {
            Ui(dialog).SetIndex(IDC_TIMERWAVE, 8);
            Click(IDC_TIMERWAVEDEL);
        }
        AddUserFile(first);
        AddUserFile(second);
        Ui(dialog).SetIndex(IDC_TIMERWAVE, row.basic);
        Ui(dialog).SetIndex(t1.Chime(), row.timer1);
        Ui(dialog).SetIndex(t2.Chime(), row.timer2);
        Click(IDC_TIMERWAVEDEL);
        ExpectListsHold(row.left);
        EXPECT_EQ(Ui(dialog).Index(IDC_TIMERWAVE), row.basicAfter);
        EXPECT_EQ(Ui(dialog).Index(t1.Chime()), row.timer1After);
        EXPECT_EQ(Ui(dialog).Index(t2.Chime()), row.timer2After);
        EXPECT_EQ(Ui(dialog).Text(t2.Chime()), Ui(dialog).ItemText(t2.Chime(), row.timer2After));
    }
}

TEST_F(ChimePageTest, AMissingFileIsDroppedEverywhereAndTheFirstChimePlaysInstead)
{
    AddUserFile(L"C:\\sounds\\first.wav");
    std::wstring gone = TempPath(L"sorabune_gone.wav");
    DeleteFileW(gone.c_str());
    AddUserFile(gone);
    Ui(dialog).SetIndex(IDC_TIMERWAVE, 9);
    Ui(dialog).SetIndex(t1.Chime(), 9);
    Ui(dialog).SetIndex(t2.Chime(), 5);
    Click(IDC_TIMERWAVEPLAY);
    ExpectListsHold({L"C:\\sounds\\first.wav"});
    for (int list : kChimeLists) {
        EXPECT_EQ(Ui(dialog).Index(list), 0) << list;
        EXPECT_EQ(Text(list), "時報 1") << list;
    }
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(Utf8(played[0].name), "TIMER1A");
    EXPECT_TRUE(Idle());
}

TEST_F(ChimePageTest, AUserWaveFileDisablesThePreviewUntilItsEndNotice)
{
    AddUserFile(MakeToneFile(L"sorabune_tone.wav", L"tone_half_second.wav"));
    Ui(dialog).SetIndex(IDC_TIMERWAVE, 8);
    Click(IDC_TIMERWAVEPLAY);
    EXPECT_TRUE(played.empty()) << "user files go through the media player";
    ASSERT_TRUE(Playing());
    EXPECT_NE(chimePlayer.MediaPlayerDevice(), 0u);
    EXPECT_TRUE(PumpUntilIdle());
    EXPECT_EQ(chimePlayer.MediaPlayerDevice(), 0u) << "the end notice closes the player";
}

TEST_F(ChimePageTest, AUserMp3FileCanBePreviewedAndStopped)
{
    std::wstring mp3 = TestSound(L"tone.mp3");
    ASSERT_FALSE(mp3.empty()) << "no MP3 test file: the build encodes it with lame (scripts/install-packages)";
    AddUserFile(mp3);
    Ui(dialog).SetIndex(IDC_TIMERWAVE, 8);
    Click(IDC_TIMERWAVEPLAY);
    ASSERT_TRUE(Playing());
    Click(IDC_TIMERWAVESTOP);
    EXPECT_TRUE(Idle());
    EXPECT_EQ(chimePlayer.MediaPlayerDevice(), 0u);
    PumpMessages(300);
    EXPECT_TRUE(Idle());

    // Played to its end, the notice gives the buttons back.
    Click(IDC_TIMERWAVEPLAY);
    ASSERT_TRUE(Playing());
    EXPECT_TRUE(PumpUntilIdle());
    EXPECT_EQ(chimePlayer.MediaPlayerDevice(), 0u);
}

TEST_F(ChimePageTest, ANoticeOfAnEarlierDeviceLeavesThePlayingOneAlone)
{
    AddUserFile(MakeToneFile(L"sorabune_long.wav", L"tone_half_minute.wav"));
    Ui(dialog).SetIndex(IDC_TIMERWAVE, 8);
    Click(IDC_TIMERWAVEPLAY);
    ASSERT_TRUE(Playing());
    MCIDEVICEID device = chimePlayer.MediaPlayerDevice();
    SendMessageW(dialog.Hwnd(), MM_MCINOTIFY, MCI_NOTIFY_ABORTED, static_cast<LPARAM>(device + 1));
    EXPECT_TRUE(Playing());
    SendMessageW(dialog.Hwnd(), MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, static_cast<LPARAM>(device));
    EXPECT_TRUE(Idle());
    EXPECT_EQ(chimePlayer.MediaPlayerDevice(), 0u);
}

TEST_F(ChimePageTest, ADeviceErrorPlaysNothingAndLeavesTheButtons)
{
    std::wstring broken = TempPath(L"sorabune_broken.wav");
    {
        FileHandle handle(CreateFileW(broken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        WriteFile(handle.Get(), "not a wave file", 15, &written, nullptr);
    }
    AddUserFile(broken);
    Ui(dialog).SetIndex(IDC_TIMERWAVE, 8);
    Click(IDC_TIMERWAVEPLAY);
    EXPECT_TRUE(Idle());
    EXPECT_EQ(chimePlayer.MediaPlayerDevice(), 0u);
    EXPECT_TRUE(played.empty());
    EXPECT_TRUE(CapturedErrors().empty());
    DeleteFileW(broken.c_str());
}

// The player outlives the dialogs it serves: a dialog's end closes the file that plays for it, and only for
// it, and a player left without a dialog plays no user file.
TEST_F(ChimePageTest, ADialogsEndClosesTheFileItPlaysAndLeavesAnotherDialogsPlayer)
{
    const std::wstring tone = MakeToneFile(L"sorabune_shared.wav", L"tone_half_minute.wav");
    ChimePlayer player(RecordPlaySound);
    auto first = std::make_unique<SettingsDialog>(
        TestErrors(), TestLoop(), With(BlankPages(), kChimePageIndex, MakeChimePage(player, OpenSoundFileDialog)));
    auto second = std::make_unique<SettingsDialog>(
        TestErrors(), TestLoop(), With(BlankPages(), kChimePageIndex, MakeChimePage(player, OpenSoundFileDialog)));
    ASSERT_TRUE(first->Create(nullptr, false));
    ASSERT_TRUE(second->Create(nullptr, false));
    Ui(*second).AddItem(IDC_TIMERWAVE, tone);
    player.PlayTimerWave(8);
    ASSERT_NE(player.MediaPlayerDevice(), 0u);
    ASSERT_FALSE(Ui(*second).Enabled(IDC_TIMERWAVEPLAY)) << "the dialog built last is the player's";

    first.reset();
    EXPECT_NE(player.MediaPlayerDevice(), 0u);
    second.reset();
    EXPECT_EQ(player.MediaPlayerDevice(), 0u);
    player.PlayTimerWave(8);
    EXPECT_EQ(player.MediaPlayerDevice(), 0u);
}

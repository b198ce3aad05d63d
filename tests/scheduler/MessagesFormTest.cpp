// The reminder message windows: their shape after FormCreate, the sentence in the Japanese locale, the memo,
// O K, the deactivation slot, and a reminder of the tick shown through the program's own actions.
#include "OsiraseTestSupport.h"

#include "scheduler/MessagesForm.h"
#include "scheduler/Scheduler.h"
#include "scheduler/SetteiPage.h"
#include "support/TestClock.h"

namespace {
RECT ChildRect(HWND parent, int id)
{
    RECT rc;
    HWND child = GetDlgItem(parent, id);
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

bool Topmost(HWND hwnd)
{
    return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

class MessagesFormTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(owner_.Create(nullptr, false));
        ASSERT_TRUE(form1.Create(owner_.Hwnd()));
        ASSERT_TRUE(form2.Create(owner_.Hwnd()));
    }
    void TearDown() override { DeactivationSlot() = nullptr; }

    ChimePlayer chimePlayer_;
    TOptionEtcForm owner_{MakeOptionEtcPages(chimePlayer_)};

protected:
    TMessagesForm form1{1};
    TMessagesForm form2{2};
};
} // namespace

TEST_F(MessagesFormTest, FormCreateLeavesATopmostWindowWithoutTitleBarThatShowsEveryControl)
{
    for (TMessagesForm* form : {&form1, &form2}) {
        HWND hwnd = form->Hwnd();
        EXPECT_FALSE(form->IsVisible());
        const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
        EXPECT_EQ(style & WS_CAPTION, 0);
        EXPECT_EQ(style & WS_SYSMENU, 0);
        EXPECT_NE(style & WS_THICKFRAME, 0) << "the sizing border stays";
        EXPECT_TRUE(Topmost(hwnd));
        // The layout's figures at the window's DPI.
        const int dpi = form->Dpi();
        RECT client;
        GetClientRect(hwnd, &client);
        EXPECT_EQ(client.right, Scale(TMessagesForm::kClientWidth, dpi));
        EXPECT_GE(client.bottom, ChildRect(hwnd, IDC_MESSAGEBTN).bottom);
        EXPECT_NEAR(ChildRect(hwnd, IDC_MESSAGEBTN).bottom, 117 * dpi / 96.0, 1);
        EXPECT_NEAR(ChildRect(hwnd, IDC_MESSAGEMEMO).right, 479 * dpi / 96.0, 1);
        EXPECT_EQ(Utf8(WindowText(GetDlgItem(hwnd, IDC_MESSAGEBTN))), "O K");
        EXPECT_TRUE(GetWindowLongW(GetDlgItem(hwnd, IDC_MESSAGEMEMO), GWL_STYLE) & ES_READONLY);
        const LONG labelStyle = GetWindowLongW(GetDlgItem(hwnd, IDC_MESSAGELABEL), GWL_STYLE);
        EXPECT_EQ(labelStyle & SS_TYPEMASK, SS_CENTER);
        EXPECT_TRUE(labelStyle & SS_CENTERIMAGE);
        EXPECT_EQ(GetNextDlgTabItem(hwnd, nullptr, FALSE), GetDlgItem(hwnd, IDC_MESSAGEBTN)) << "O K first";

        // Centred on the screen.
        RECT outer;
        GetWindowRect(hwnd, &outer);
        EXPECT_LE(std::abs((outer.left + outer.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
        EXPECT_LE(std::abs((outer.top + outer.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 1);
    }
}

TEST_F(MessagesFormTest, TheSentenceNamesTheMomentInTheUsersLocale)
{
    const SYSTEMTIME when = At(2003, 10, 15, 12, 0, 0);
    form1.ShowOsiraseMessage(L"会議室へ", when);
    form2.ShowOsiraseMessage(L"", when);
    EXPECT_TRUE(form1.IsVisible());
    EXPECT_TRUE(form2.IsVisible());
    EXPECT_EQ(Utf8(form1.MessageLabelText()), "只今、予定の2003/10/15 水曜日 12:00:00になりました");
    EXPECT_EQ(Utf8(form2.MessageLabelText()), "只今、予定の2003/10/15 水曜日  12:00:00になりました");
    EXPECT_EQ(Utf8(form1.MessageMemoText()), "会議室へ");
    EXPECT_EQ(form2.MessageMemoText(), L"") << "an empty text gives an empty field";
}

// The label as it paints itself: the sentence is whole when its two outer columns stay the window's colour.
// The substitute face under Wine is wider than the design's, so the design width holds only 19 px; a wider
// window has room for the design's 20 px, a much narrower one needs a smaller size (all at 96 DPI; at another
// DPI the widths and sizes scale alike).
TEST_F(MessagesFormTest, TheSentenceKeepsItsDesignSizeAndStepsDownOnlyInAWindowTooNarrowForIt)
{
    struct Case {
        int clientWidth;
        bool designSize;
    };
    const Case cases[] = {{640, true}, {360, false}};
    const int dpi = form1.Dpi();
    HWND hwnd = form1.Hwnd();
    HWND label = GetDlgItem(hwnd, IDC_MESSAGELABEL);
    const DWORD background = 0xC0DCC0; // money green
    for (const Case& c : cases) {
        const int clientWidth = Scale(c.clientWidth, dpi);
        RECT outer = {0, 0, clientWidth, Scale(120, dpi)};
        AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
        SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        form1.ShowOsiraseMessage(L"", At(2003, 10, 15, 12, 0, 0));
        if (c.designSize) {
            EXPECT_EQ(form1.MessageLabelFontPx(), Scale(20, dpi));
        } else {
            EXPECT_LT(form1.MessageLabelFontPx(), Scale(20, dpi));
        }
        const ClientPicture picture = PrintClient(label);
        // The label reaches a column or two beyond the window's client area, where nobody sees it.
        const int seen = std::min(picture.width, clientWidth);
        int inkColumns = 0;
        for (int x = 0; x < seen; ++x) {
            bool ink = false;
            for (int y = 0; y < picture.height; ++y) {
                ink = ink || picture.At(x, y) != background;
            }
            inkColumns += ink;
            if (x < 2 || x >= seen - 2) {
                EXPECT_FALSE(ink) << "cut at column " << x << " of " << seen;
            }
        }
        EXPECT_GT(inkColumns, seen / 2) << clientWidth;
    }
}

TEST_F(MessagesFormTest, OkHidesAndEmptiesTheSlotAndTheNextFiringShowsNewTexts)
{
    form1.ShowOsiraseMessage(L"一回目", At(2003, 10, 15, 8, 0, 0));
    EXPECT_EQ(DeactivationSlot(), &form1);
    form2.ShowOsiraseMessage(L"二", At(2003, 10, 15, 8, 0, 0));
    EXPECT_EQ(DeactivationSlot(), &form2) << "the slot follows the last window shown";

    SendMessageW(GetDlgItem(form1.Hwnd(), IDC_MESSAGEBTN), BM_CLICK, 0, 0);
    EXPECT_FALSE(form1.IsVisible());
    EXPECT_TRUE(form2.IsVisible());
    EXPECT_EQ(DeactivationSlot(), nullptr) << "O K empties the slot even with the other window open";

    form1.ShowOsiraseMessage(L"二回目", At(2003, 10, 16, 9, 30, 5));
    EXPECT_TRUE(form1.IsVisible());
    EXPECT_EQ(Utf8(form1.MessageMemoText()), "二回目");
    EXPECT_NE(Utf8(form1.MessageLabelText()).find("2003/10/16 木曜日 09:30:05"), std::string::npos) << "the new moment";
}

TEST_F(MessagesFormTest, OnDeactivationOnlyTheWindowInTheSlotIsPutOnTopAgain)
{
    form1.ShowOsiraseMessage(L"", At(2003, 10, 15, 8, 0, 0));
    form2.ShowOsiraseMessage(L"", At(2003, 10, 15, 8, 0, 0));
    for (HWND hwnd : {form1.Hwnd(), form2.Hwnd()}) {
        SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_FALSE(Topmost(hwnd));
    }
    for (HWND hwnd : {form1.Hwnd(), form2.Hwnd()}) {
        SendMessageW(hwnd, WM_ACTIVATEAPP, FALSE, 0);
    }
    EXPECT_FALSE(Topmost(form1.Hwnd()));
    EXPECT_TRUE(Topmost(form2.Hwnd()));
    EXPECT_TRUE(form2.IsVisible());

    SendMessageW(GetDlgItem(form2.Hwnd(), IDC_MESSAGEBTN), BM_CLICK, 0, 0);
    SetWindowPos(form2.Hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(form2.Hwnd(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(Topmost(form2.Hwnd())) << "an empty slot does nothing";
}

namespace {
int kabeChanges = 0;
int memUpdates = 0;
void CountKabeChange(TOptionEtcForm&)
{
    ++kabeChanges;
}
void CountMemUpdate(TOptionEtcForm&)
{
    ++memUpdates;
}
std::vector<std::wstring> sounds;
BOOL WINAPI RecordSound(LPCWSTR sound, HMODULE, DWORD)
{
    sounds.push_back(sound);
    return TRUE;
}
} // namespace

// The program's own actions behind the tick: the basic page's player, the windows and the two operations
// that the entry hands over from the wallpaper and information subsystems.
class ProgramTickTest : public OsiraseFixture {
protected:
    void SetUp() override
    {
        OsiraseFixture::SetUp();
        ASSERT_TRUE(messages1.Create(form.Hwnd()));
        ASSERT_TRUE(messages2.Create(form.Hwnd()));
        kabeChanges = 0;
        memUpdates = 0;
        sounds.clear();
        previous_ = SetChimePlaySound(RecordSound);
    }
    void TearDown() override
    {
        SetChimePlaySound(previous_);
        DeactivationSlot() = nullptr;
    }

    TestClock clock;
    TMessagesForm messages1{1};
    TMessagesForm messages2{2};
    ProgramTickActions actions{form, chimePlayer, messages1, messages2, clock, CountKabeChange, CountMemUpdate};
    Scheduler scheduler{form, osirasePage, clock, actions};

private:
    PlaySoundFn previous_ = nullptr;
};

TEST_F(ProgramTickTest, AReminderSoundsItsChimeAndShowsItsWindowWithTheMemo)
{
    const SYSTEMTIME when = At(2003, 10, 15, 12, 0, 0);
    Pick(t2.Kind(), kOnce);
    form.SetDateTime(t2.Date(), when);
    form.SetDateTime(t2.Time(), when);
    Pick(t2.Action(), kBothAction);
    Pick(t2.Chime(), 6);
    form.SetText(t2.Memo(), L"歯医者の予約");
    Click(t2.OnOff());
    clock.now = when;
    scheduler.Timer1Timer();

    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(Utf8(sounds[0]), "TIMER7A");
    EXPECT_FALSE(messages1.IsVisible());
    ASSERT_TRUE(messages2.IsVisible());
    EXPECT_NE(Utf8(messages2.MessageLabelText()).find("2003/10/15 水曜日  12:00:00"), std::string::npos)
        << "the second window's sentence, of the moment that fired";
    EXPECT_EQ(Utf8(messages2.MessageMemoText()), "歯医者の予約");
    EXPECT_EQ(Text(t2.OnOff()), "タイマーOFF");
}

TEST_F(ProgramTickTest, WallpaperAndMemoryOperationsAreTheOnesHandedOver)
{
    form.SetIndex(IDC_KABECHANGETIME, 2);
    form.SelectPage(3);
    clock.now = At(2003, 10, 15, 12, 0, 0);
    scheduler.Timer1Timer();
    scheduler.Timer1Timer();
    scheduler.Timer1Timer();
    EXPECT_EQ(kabeChanges, 1);
    EXPECT_EQ(memUpdates, 2);
}

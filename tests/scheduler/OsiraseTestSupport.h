// A hidden settings dialog in its design state and the user's gestures on the reminder page's controls.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "resource.h"
#include "scheduler/ChimePlayer.h"
#include "scheduler/OsirasePage.h"
#include "settings/OptionEtcForm.h"
#include "base/Handles.h"
#include "app/OptionEtcPages.h"
#include "support/TestSupport.h"

// The control ids of one reminder timer.
struct TimerIds {
    explicit TimerIds(int timer) : timer(timer) {}
    int Id(int timer1Id) const { return OsirasePage::Id(timer, timer1Id - IDC_OSIRASETIMER1); }
    int Week(int day) const { return Id(IDC_OSIRASETIMER1WEEK1 + day - 1); }
    int Strip(int day) const { return Id(IDC_OSIRASETIMER1WEEK1L + day - 1); }
    int Kind() const { return Id(IDC_OSIRASETIMER1YOYAKUHOUHOU); }
    int Action() const { return Id(IDC_OSIRASETIMER1OSIRASEHOUHOU); }
    int Chime() const { return Id(IDC_OSIRASETIMER1JIHOU); }
    int Date() const { return Id(IDC_OSIRASETIMER1DATE); }
    int Time() const { return Id(IDC_OSIRASETIMER1TIME); }
    int OnOff() const { return Id(IDC_OSIRASETIMER1TIMERONOFF); }
    int Memo() const { return Id(IDC_OSIRASETIMER1MEMO); }
    int timer;
};

inline constexpr int kOnce = 0;
inline constexpr int kDaily = 1;
inline constexpr int kWeekly = 2;
inline constexpr int kChimeAction = 0;
inline constexpr int kMessageAction = 1;
inline constexpr int kBothAction = 2;
inline constexpr int kMonday = 2;
inline constexpr int kWednesday = 4;
inline constexpr int kOsirasePageIndex = 1;
inline constexpr COLORREF kRed = RGB(255, 0, 0);
inline constexpr COLORREF kCream = RGB(255, 251, 240);

class OsiraseFixture : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(form.Create(nullptr, false));
        CapturedErrors().clear();
    }

    // The user picks an item of a drop-down: the selection, then the notice the combo box would send.
    void Pick(int id, int index)
    {
        HWND combo = form.Control(id);
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }

    void Click(int id) { SendMessageW(form.Control(id), BM_CLICK, 0, 0); }

    std::string Text(int id) const { return Utf8(form.Text(id)); }

    // The colour the strip paints, read back from a memory bitmap.
    COLORREF StripColour(int id)
    {
        HWND strip = form.Control(id);
        RECT rc;
        GetClientRect(strip, &rc);
        MemoryCanvas canvas(rc.right, rc.bottom);
        SendMessageW(strip, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Get()), PRF_CLIENT);
        return GetPixel(canvas.Get(), rc.right / 2, rc.bottom / 2);
    }

    // The user's weekly reminder of timer 1: "毎週" with Monday and Wednesday down.
    void ChooseWeeklyMondayWednesday(const TimerIds& t)
    {
        Pick(t.Kind(), kWeekly);
        Click(t.Week(kMonday));
        Click(t.Week(kWednesday));
    }

    ChimePlayer chimePlayer;
    std::unique_ptr<OsirasePage> madeOsirasePage = MakeOsirasePage();
    OsirasePage& osirasePage = *madeOsirasePage;
    TOptionEtcForm form{MakeOptionEtcPages(chimePlayer, std::move(madeOsirasePage))};
    TimerIds t1{1};
    TimerIds t2{2};
};

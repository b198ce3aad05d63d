// The main window, the exit dialog and the reminder window frames, created hidden in this process and
// driven with the messages the shell and the user would send.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>
#include <utility>

#include "resource.h"
#include "app/AppIds.h"
#include "base/Dpi.h"
#include "scheduler/ReminderWindow.h"
#include "settings/SettingsDialog.h"
#include "app/MakePages.h"
#include "base/MessageLoop.h"
#include "app/ExitDialog.h"
#include "app/MainWindow.h"
#include "app/TrayIcon.h"
#include "info/InfoIds.h"
#include "scheduler/SchedulerIds.h"
#include "scheduler/SchedulerRules.h"
#include "support/DialogUi.h"
#include "support/CommonControls6.h"
#include "support/TestSupport.h"

namespace {
constexpr UINT kTrayMessage = WM_USER + 1;
constexpr UINT kTrayId = 1;
constexpr DWORD kStartUpTimeoutMs = 10000;

bool TakeQuitMessage()
{
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

// The shell's own record of an icon: a second ADD fails while it is there, a DELETE fails when it is not.
NOTIFYICONDATAW IconRecord(HWND owner)
{
    NOTIFYICONDATAW nid = {sizeof(nid)};
    nid.hWnd = owner;
    nid.uID = kTrayId;
    nid.uFlags = NIF_TIP;
    lstrcpynW(nid.szTip, L"probe", ARRAYSIZE(nid.szTip));
    return nid;
}

bool IconRegistered(HWND owner)
{
    NOTIFYICONDATAW nid = IconRecord(owner);
    if (Shell_NotifyIconW(NIM_ADD, &nid)) {
        Shell_NotifyIconW(NIM_DELETE, &nid);
        return false;
    }
    return true;
}

bool IsTopmost(HWND hwnd)
{
    return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

HWND FirstVisibleTopLevelWindow()
{
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (IsWindowVisible(w)) {
            return w;
        }
    }
    return nullptr;
}

int IconWidth(HICON icon)
{
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info)) {
        return 0;
    }
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

// The widths of the images in the program's icon resource: a header of three words, then an entry of 14 bytes per
// image that starts with its width.
std::vector<int> IconResourceWidths()
{
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(IDI_SORABUNE), RT_GROUP_ICON);
    const auto* group = found ? static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found))) : nullptr;
    std::vector<int> widths;
    for (int i = 0; group && i < (group[4] | (group[5] << 8)); ++i) {
        widths.push_back(group[6 + 14 * i]);
    }
    return widths;
}

SIZE ClientSize(HWND hwnd)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    return SIZE{rc.right, rc.bottom};
}

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        main_ = std::make_unique<MainWindow>(TestErrors(), TestLoop(), RefusingShell, HighContrastAnswer());
        ASSERT_TRUE(main_->Create());
        main_->SetStartUpTimings({1, 1});
        main_->SetCompanionFile(L"SorabuneNoSuchCompanion.exe");
        settings_ = std::make_unique<SettingsDialog>(TestErrors(), TestLoop(), MakeSettingsPages(chimePlayer_),
                                                     OpenRegistryKey, HighContrastAnswer());
        ASSERT_TRUE(settings_->Create(main_->Hwnd(), false));
        exitDialog_ = std::make_unique<ExitDialog>(TestErrors());
        ASSERT_TRUE(exitDialog_->Create(main_->Hwnd()));
        main_->SetDialogs(exitDialog_.get(), settings_.get());
    }

    void TearDown() override
    {
        exitDialog_.reset();
        settings_.reset();
        main_.reset();
        PumpMessages();
        TakeQuitMessage();
    }

    void Click(UINT mouseMessage) { SendMessageW(main_->Hwnd(), kTrayMessage, kTrayId, mouseMessage); }

    void RunStartUp()
    {
        main_->Show();
        const DWORD start = GetTickCount();
        while (!main_->StartUpFinished() && GetTickCount() - start < kStartUpTimeoutMs) {
            PumpMessages(10);
        }
        ASSERT_TRUE(main_->StartUpFinished());
    }

    // What the windows made here hear when they ask whether high contrast is on.
    HighContrastFn HighContrastAnswer()
    {
        return [this] { return highContrast_; };
    }

    // The shell of the tests' main windows: it refuses the icon while told to, as during logon before the taskbar
    // exists.
    bool shellRefuses = false;
    const TrayIcon::NotifyFn RefusingShell = [this](DWORD message, PNOTIFYICONDATAW data) {
        return shellRefuses ? FALSE : Shell_NotifyIconW(message, data);
    };
    bool highContrast_ = false;
    std::unique_ptr<MainWindow> main_;
    ChimePlayer chimePlayer_;
    std::unique_ptr<SettingsDialog> settings_;
    std::unique_ptr<ExitDialog> exitDialog_;
};
} // namespace

TEST_F(MainWindowTest, WindowsHaveTheirIdentitiesSizesAndOwners)
{
    HWND main = main_->Hwnd();
    EXPECT_EQ(FindWindowW(L"TSorabuneForm", L"SorabuneForm"), main);
    EXPECT_FALSE(IsWindowVisible(main));
    // The layout's sizes at the windows' DPI.
    const int dpi = main_->Dpi();
    EXPECT_EQ(dpi, WindowDpi(main));
    EXPECT_EQ(ClientSize(main).cx, Scale(357, dpi));
    EXPECT_EQ(ClientSize(main).cy, Scale(81, dpi));
    const LONG exStyle = GetWindowLongW(main, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindowLongW(main, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(main, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 35);
    EXPECT_TRUE(flags & LWA_ALPHA);

    HWND dialog = exitDialog_->Hwnd();
    EXPECT_EQ(FindWindowW(L"TMsgDlgForm", L"Sorabune"), dialog);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), main);
    EXPECT_EQ(ClientSize(dialog).cx, Scale(348, dpi));
    EXPECT_EQ(ClientSize(dialog).cy, Scale(137, dpi));
    EXPECT_EQ(Utf8(WindowText(GetDlgItem(dialog, IDC_EXIT_QUESTION))), "Sorabuneを終了します ？");
    EXPECT_EQ(Utf8(WindowText(GetDlgItem(dialog, IDOK))), "OK");
    EXPECT_EQ(Utf8(WindowText(GetDlgItem(dialog, IDCANCEL))), "キャンセル");
    EXPECT_EQ(GetWindowLongW(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
    EXPECT_FALSE(exitDialog_->IsVisible());

    // The settings dialog, though owned, has a taskbar button with the program's icon while it is shown.
    HWND settings = settings_->Hwnd();
    EXPECT_EQ(GetWindow(settings, GW_OWNER), main);
    EXPECT_TRUE(GetWindowLongW(settings, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    ShowWindow(settings, SW_SHOWNA);
    EXPECT_NE(SendMessageW(settings, WM_GETICON, ICON_BIG, 0), 0);
}

TEST_F(MainWindowTest, ReminderWindowFramesHaveTheirColoursAndNoTitleBarButtons)
{
    struct Expected {
        int number;
        const wchar_t* cls;
        const wchar_t* title;
        COLORREF colour;
    };
    for (Expected e : {Expected{1, L"TMessagesForm1", L"MessagesForm1", RGB(192, 220, 192)},
                       Expected{2, L"TMessagesForm2", L"MessagesForm2", RGB(166, 202, 240)}}) {
        DeactivationSlot slot;
        ReminderWindow window(TestErrors(), slot, e.number);
        ASSERT_TRUE(window.Create(main_->Hwnd()));
        EXPECT_EQ(FindWindowW(e.cls, e.title), window.Hwnd());
        EXPECT_FALSE(window.IsVisible());
        EXPECT_EQ(GetWindow(window.Hwnd(), GW_OWNER), main_->Hwnd());
        EXPECT_EQ(ClientSize(window.Hwnd()).cx, Scale(488, window.Dpi()));
        EXPECT_GE(ClientSize(window.Hwnd()).cy, ReminderWindow::kControlsBottom);
        EXPECT_EQ(GetWindowLongW(window.Hwnd(), GWL_STYLE) & WS_CAPTION, 0);
        EXPECT_EQ(GetWindowLongW(window.Hwnd(), GWL_STYLE) & WS_SYSMENU, 0);

        // What the window paints as its background.
        MemoryCanvas canvas(488, 54);
        SendMessageW(window.Hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Get()), 0);
        EXPECT_EQ(GetPixel(canvas.Get(), 10, 10), e.colour);
    }
}

// Whether every pixel is the background, the text colour or a blend of the two (the smoothed edges of letters),
// with the background the most common colour and the text colour there.
testing::AssertionResult DrawnInPair(const std::vector<DWORD>& pixels, COLORREF text, COLORREF background)
{
    std::map<COLORREF, int> counts;
    for (DWORD pixel : pixels) {
        const COLORREF colour = RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel));
        for (int shift : {0, 8, 16}) {
            const int value = (colour >> shift) & 0xFF;
            const int a = (text >> shift) & 0xFF;
            const int b = (background >> shift) & 0xFF;
            if (value < std::min(a, b) || value > std::max(a, b)) {
                return testing::AssertionFailure() << std::hex << "colour " << colour << " is of neither";
            }
        }
        ++counts[colour];
    }
    const auto most = std::max_element(counts.begin(), counts.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    if (most == counts.end() || most->first != background || !counts.count(text)) {
        return testing::AssertionFailure() << "the background is not the most common colour or no text is drawn";
    }
    return testing::AssertionSuccess();
}

// In high contrast each window's own drawing takes its text and background from one pair of system colours. The
// test's scheme has none of the colours the windows draw with of their own.
TEST_F(MainWindowTest, InHighContrastEachWindowDrawsInOnePairOfSystemColours)
{
    const SystemColours scheme({{COLOR_WINDOW, RGB(16, 16, 64)},
                                {COLOR_WINDOWTEXT, RGB(255, 255, 96)},
                                {COLOR_BTNFACE, RGB(48, 0, 0)},
                                {COLOR_BTNTEXT, RGB(240, 240, 240)},
                                {COLOR_HIGHLIGHT, RGB(0, 160, 160)},
                                {COLOR_HIGHLIGHTTEXT, RGB(64, 0, 64)},
                                {COLOR_HOTLIGHT, RGB(255, 128, 255)}});
    highContrast_ = true;
    RunStartUp();
    DeactivationSlot slot;
    ReminderWindow reminder1(TestErrors(), slot, 1, HighContrastAnswer());
    ReminderWindow reminder2(TestErrors(), slot, 2, HighContrastAnswer());
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    for (ReminderWindow* reminder : {&reminder1, &reminder2}) {
        ASSERT_TRUE(reminder->Create(main_->Hwnd()));
        reminder->ShowReminder(L"memo", now);
    }
    // The pages with the controls the program has. Reminder 1 weekly with Monday chosen; the pointer over the mail
    // link.
    SettingsDialog dialog(TestErrors(), TestLoop(), MakeSettingsPages(chimePlayer_), OpenRegistryKey,
                          HighContrastAnswer());
    {
        const CommonControls6 controls6;
        ASSERT_TRUE(controls6.Active());
        ASSERT_TRUE(dialog.Create(main_->Hwnd(), false));
    }
    HWND kind = Ui(dialog).Control(IDC_REMINDER1_SCHEDULE);
    SendMessageW(kind, CB_SETCURSEL, kReminderWeekly, 0);
    SendMessageW(GetParent(kind), WM_COMMAND, MAKEWPARAM(IDC_REMINDER1_SCHEDULE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(kind));
    HWND monday = Ui(dialog).Control(IDC_REMINDER1_WEEKDAY2);
    SendMessageW(monday, BM_CLICK, 0, 0);
    SendMessageW(Ui(dialog).Control(IDC_MAIL_LINK), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));

    struct Row {
        const char* what;
        HWND window;
        // Whether the picture is taken from the screen (a button draws its pressed look only there) or is the
        // window's own print of its client area.
        bool onScreen;
        // Left out at each edge: a button's sunken frame in the frame colours and its focus rectangle.
        int edge;
        int text;
        int background;
    };
    const Row rows[] = {
        {"splash", main_->Hwnd(), false, 0, COLOR_WINDOWTEXT, COLOR_WINDOW},
        {"reminder 1", GetDlgItem(reminder1.Hwnd(), IDC_MESSAGELABEL), false, 0, COLOR_WINDOWTEXT, COLOR_WINDOW},
        {"reminder 2", GetDlgItem(reminder2.Hwnd(), IDC_MESSAGELABEL), false, 0, COLOR_WINDOWTEXT, COLOR_WINDOW},
        {"pressed weekday", monday, true, 4, COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT},
        {"weekday indicator", Ui(dialog).Control(IDC_REMINDER1_WEEKDAY2_INDICATOR), false, 0, COLOR_HIGHLIGHT,
         COLOR_HIGHLIGHT},
        {"pointed link", Ui(dialog).Control(IDC_MAIL_LINK), false, 0, COLOR_HOTLIGHT, COLOR_BTNFACE},
        {"link", Ui(dialog).Control(IDC_HOMEPAGE_LINK), false, 0, COLOR_HOTLIGHT, COLOR_BTNFACE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.onScreen) {
            // Alone on the screen, above the reminder windows.
            reminder1.MessageBtnClick();
            reminder2.MessageBtnClick();
            dialog.SelectPage(kReminderPageIndex);
            dialog.ShowDialog();
            UpdateWindow(dialog.Hwnd());
        }
        const ClientPicture picture = row.onScreen ? ScreenClient(row.window) : PrintClient(row.window);
        std::vector<DWORD> inner;
        for (int y = row.edge; y < picture.height - row.edge; ++y) {
            for (int x = row.edge; x < picture.width - row.edge; ++x) {
                inner.push_back(picture.At(x, y));
            }
        }
        EXPECT_TRUE(DrawnInPair(inner, GetSysColor(row.text), GetSysColor(row.background)));
    }

    // High contrast switched on or off: a window and its controls paint themselves anew at once.
    reminder1.ShowReminder(L"memo", now);
    RedrawWindow(reminder1.Hwnd(), nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN);
    SendMessageW(reminder1.Hwnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_TRUE(GetUpdateRect(GetDlgItem(reminder1.Hwnd(), IDC_MESSAGELABEL), nullptr, FALSE));
}

// Moved to a screen of another DPI, each window sets its children and fonts out anew, and back on the first screen
// exactly as they were.
TEST_F(MainWindowTest, SplashExitDialogAndReminderWindowsFollowANewDpiAndComeBackAsTheyWere)
{
    DeactivationSlot slot;
    ReminderWindow messages(TestErrors(), slot, 1);
    ASSERT_TRUE(messages.Create(main_->Hwnd()));
    const std::pair<Window*, const char*> windows[] = {
        {main_.get(), "splash"}, {exitDialog_.get(), "exit dialog"}, {&messages, "reminder window"}};
    for (const auto& [window, name] : windows) {
        SCOPED_TRACE(name);
        HWND hwnd = window->Hwnd();
        const int dpi = window->Dpi();
        const int other = dpi == 96 ? 144 : 96;
        const ChildPlaces before = ChildPlacesOf(hwnd);
        ASSERT_TRUE(MoveToDpi(hwnd, other));
        EXPECT_EQ(window->Dpi(), other);
        const ChildPlaces moved = ChildPlacesOf(hwnd);
        ASSERT_EQ(moved.size(), before.size());
        for (std::size_t i = 0; i < moved.size(); ++i) {
            // Left, top and character height; the widths of the stretching label follow the window's frame.
            for (std::size_t field : {1u, 2u, 5u}) {
                EXPECT_NEAR(moved[i][field], before[i][field] * other / static_cast<double>(dpi), 1)
                    << "child " << moved[i][0] << " field " << field;
            }
        }
        ASSERT_TRUE(MoveToDpi(hwnd, dpi));
        EXPECT_EQ(ChildPlacesOf(hwnd), before);
    }
}

TEST_F(MainWindowTest, TrayIconAndWindowIconsAreTheImagesDrawnForTheirSizeAtTheDpi)
{
    // Small icons at 100, 125, 150 and 200 % are 16, 20, 24 and 32 px, large ones twice as large.
    EXPECT_EQ(IconResourceWidths(), (std::vector<int>{64, 48, 40, 32, 24, 20, 16}));
    EXPECT_EQ(IconWidth(main_->Tray().IconHandle()), GetSystemMetrics(SM_CXSMICON));
    // The icons come with the first showing, whether by ShowWindow or by SetWindowPos alone.
    ShowWindow(settings_->Hwnd(), SW_SHOWNA);
    SetWindowPos(exitDialog_->Hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    for (HWND hwnd : {settings_->Hwnd(), exitDialog_->Hwnd()}) {
        EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0))),
                  GetSystemMetrics(SM_CXSMICON));
        EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0))),
                  GetSystemMetrics(SM_CXICON));
    }
    const int other = main_->Dpi() == 96 ? 144 : 96;
    ASSERT_TRUE(MoveToDpi(main_->Hwnd(), other));
    EXPECT_EQ(IconWidth(main_->Tray().IconHandle()), 16 * other / 96) << "the tray's image for the new DPI";
}

TEST_F(MainWindowTest, LeftClickOpensTheExitDialogAndRightClickThenOnlyBringsItForward)
{
    Click(WM_LBUTTONDOWN);
    EXPECT_TRUE(exitDialog_->IsVisible());
    EXPECT_FALSE(settings_->IsVisible());

    Click(WM_RBUTTONDOWN);
    EXPECT_FALSE(settings_->IsVisible());
    EXPECT_TRUE(exitDialog_->IsVisible());
    EXPECT_TRUE(IsTopmost(exitDialog_->Hwnd()));

    // Cancel hides it; a new left click opens it again.
    SendMessageW(GetDlgItem(exitDialog_->Hwnd(), IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_FALSE(exitDialog_->IsVisible());
    EXPECT_TRUE(IsWindow(main_->Hwnd()));
    Click(WM_LBUTTONDOWN);
    EXPECT_TRUE(exitDialog_->IsVisible());

    // The close box hides it as well.
    SendMessageW(exitDialog_->Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(exitDialog_->IsVisible());
    EXPECT_TRUE(IsWindow(main_->Hwnd()));
}

TEST_F(MainWindowTest, RightClickOpensTheSettingsDialogAndLeftClickThenOnlyBringsItForward)
{
    Click(WM_RBUTTONDOWN);
    EXPECT_TRUE(settings_->IsVisible());
    Click(WM_LBUTTONDOWN);
    EXPECT_FALSE(exitDialog_->IsVisible());
    // The dialog comes to the front. Wine at times leaves a window that holds a date picker out of the
    // topmost band although SetWindowPos(HWND_TOPMOST) succeeds, so the flag itself is checked on the exit
    // dialog (test above), which the same code brings forward.
    EXPECT_EQ(FirstVisibleTopLevelWindow(), settings_->Hwnd());
}

TEST_F(MainWindowTest, OtherMouseMessagesDoNothing)
{
    for (UINT other : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK}) {
        Click(other);
    }
    EXPECT_FALSE(exitDialog_->IsVisible());
    EXPECT_FALSE(settings_->IsVisible());
}

TEST_F(MainWindowTest, DialogKeysEscapeHidesAndEnterEnds)
{
    Click(WM_LBUTTONDOWN);
    ASSERT_TRUE(exitDialog_->IsVisible());
    HWND ok = GetDlgItem(exitDialog_->Hwnd(), IDOK);
    PostMessageW(ok, WM_KEYDOWN, VK_ESCAPE, 0);
    ProcessPendingMessages();
    EXPECT_FALSE(exitDialog_->IsVisible());

    Click(WM_LBUTTONDOWN);
    PostMessageW(ok, WM_KEYDOWN, VK_RETURN, 0);
    ProcessPendingMessages();
    EXPECT_FALSE(IsWindow(ok));
    EXPECT_EQ(main_->Hwnd(), nullptr);
}

TEST_F(MainWindowTest, StartUpAddsTheIconFadesOutAndHidesForGood)
{
    RunStartUp();
    HWND main = main_->Hwnd();
    EXPECT_TRUE(main_->Tray().IsAdded());
    EXPECT_TRUE(IconRegistered(main));
    EXPECT_EQ(main_->Alpha(), 15);
    BYTE alpha = 0;
    GetLayeredWindowAttributes(main, nullptr, &alpha, nullptr);
    EXPECT_EQ(alpha, 15);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(main_->CompanionWindow(), nullptr);

    ShowWindow(main, SW_SHOW);
    SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    EXPECT_FALSE(IsWindowVisible(main));
}

// The entry shows the splash before it makes the dialogs; a message loop meanwhile (an error box of the load) must
// not start the sequence, whose tray clicks open them.
TEST_F(MainWindowTest, ShownBeforeItsDialogsTheSplashStartsOnlyOnceTheyAreSet)
{
    MainWindow early(TestErrors(), TestLoop(), RefusingShell, HighContrastAnswer());
    ASSERT_TRUE(early.Create());
    early.SetStartUpTimings({1, 1});
    early.SetCompanionFile(L"SorabuneNoSuchCompanion.exe");
    early.Show();
    PumpMessages(50);
    EXPECT_FALSE(early.Tray().IsAdded());
    EXPECT_EQ(early.Alpha(), MainWindow::kInitialAlpha);

    early.SetDialogs(exitDialog_.get(), settings_.get());
    const DWORD start = GetTickCount();
    while (!early.StartUpFinished() && GetTickCount() - start < kStartUpTimeoutMs) {
        PumpMessages(10);
    }
    EXPECT_TRUE(early.StartUpFinished());
}

// A stand-in for the companion's window, there when the start-up sequence looks for it or only later.
TEST_F(MainWindowTest, OkEndsTheProgramRemovesTheIconAndClosesTheCompanionFoundInTimeOrLater)
{
    WNDCLASSEXW wc = {sizeof(wc)};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kCompanionClass;
    RegisterClassExW(&wc);
    for (bool late : {false, true}) {
        auto makeCompanion = [&] {
            return CreateWindowExW(0, kCompanionClass, kCompanionTitle, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                   wc.hInstance, nullptr);
        };
        HWND companion = late ? nullptr : makeCompanion();
        RunStartUp();
        EXPECT_EQ(main_->CompanionWindow(), companion) << late;
        companion = late ? makeCompanion() : companion;
        ASSERT_NE(companion, nullptr);
        HWND main = main_->Hwnd();
        ASSERT_TRUE(IconRegistered(main));

        Click(WM_LBUTTONDOWN);
        SendMessageW(GetDlgItem(exitDialog_->Hwnd(), IDOK), BM_CLICK, 0, 0);
        EXPECT_FALSE(IsWindow(main));
        EXPECT_FALSE(IsWindow(companion)) << late;
        EXPECT_TRUE(TakeQuitMessage());
        NOTIFYICONDATAW nid = IconRecord(main);
        EXPECT_FALSE(Shell_NotifyIconW(NIM_DELETE, &nid));
        if (!late) {
            TearDown();
            SetUp();
        }
    }
    UnregisterClassW(kCompanionClass, wc.hInstance);
}

TEST_F(MainWindowTest, OkWithoutCompanionStillEndsAndRemovesTheIcon)
{
    RunStartUp();
    HWND main = main_->Hwnd();
    Click(WM_LBUTTONDOWN);
    SendMessageW(GetDlgItem(exitDialog_->Hwnd(), IDOK), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_TRUE(TakeQuitMessage());
    NOTIFYICONDATAW nid = IconRecord(main);
    EXPECT_FALSE(Shell_NotifyIconW(NIM_DELETE, &nid));
}

TEST_F(MainWindowTest, ClickDuringTheSplashOpensTheDialogAndTheSequenceGoesOn)
{
    main_->SetStartUpTimings({20, 200});
    main_->Show();
    PostMessageW(main_->Hwnd(), kTrayMessage, kTrayId, WM_LBUTTONDOWN);
    RunStartUp();
    EXPECT_TRUE(exitDialog_->IsVisible());
    EXPECT_EQ(main_->Alpha(), 15);
}

TEST_F(MainWindowTest, IconComesBackWhenTheShellRebuildsItsNotificationArea)
{
    RunStartUp();
    HWND main = main_->Hwnd();
    // The shell restarted and forgot the icon.
    NOTIFYICONDATAW nid = IconRecord(main);
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &nid));
    SendMessageW(main, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &nid));
}

TEST_F(MainWindowTest, RefusedIconIsTriedAgainUntilTheShellTakesIt)
{
    shellRefuses = true;
    RunStartUp();
    EXPECT_FALSE(main_->Tray().IsAdded());
    shellRefuses = false;

    // The next try comes on a timer, later still on a busy machine.
    const DWORD start = GetTickCount();
    while (!main_->Tray().IsAdded() && GetTickCount() - start < kStartUpTimeoutMs) {
        PumpMessages(10);
    }
    EXPECT_TRUE(main_->Tray().IsAdded());
    NOTIFYICONDATAW nid = IconRecord(main_->Hwnd());
    EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &nid));
}

TEST_F(MainWindowTest, ANoticeWhileTheIconIsStillThereKeepsIt)
{
    RunStartUp();
    SendMessageW(main_->Hwnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(main_->Tray().IsAdded());
    NOTIFYICONDATAW nid = IconRecord(main_->Hwnd());
    EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &nid));
}

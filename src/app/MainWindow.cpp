// Splash window, start-up sequence, tray icon callback and the teardown that ends the program.
#include "app/MainWindow.h"

#include <commctrl.h>
#include <shellapi.h>

#include <utility>

#include "base/ProductFiles.h"
#include "base/Dpi.h"
#include "base/DpiFonts.h"
#include "settings/SettingsDialog.h"
#include "base/MessageLoop.h"
#include "app/ExitDialog.h"
#include "app/AppRules.h"
#include "app/StartUpClock.h"

namespace {
constexpr DWORD kWindowStyle = WS_POPUP;
// A tool window never gets a taskbar button, so the program lives in the tray alone.
constexpr DWORD kWindowExStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW;
// Posted by the first showing, once the dialogs are set, so that the sequence runs from the message loop, not
// inside ShowWindow.
constexpr UINT kStartUpMessage = WM_APP + 1;
// Points are a length: the caption is as large on every screen, in the pixels of the window's DPI.
constexpr UiFontStyle kCaptionFont = {28, true, true, true};
constexpr wchar_t kApplicationTitle[] = L"Sorabune";
constexpr COLORREF kSplashWhite = RGB(255, 255, 255);
} // namespace

MainWindow::~MainWindow()
{
    if (hwnd_) {
        DestroyWindow(hwnd_);
    }
    if (taskbarOwner_) {
        DestroyWindow(taskbarOwner_);
    }
}

bool MainWindow::Create()
{
    // No class brush: the splash is white, or in high contrast the system's window colour.
    RegisterWindowClass(kClassName, nullptr);
    // An owned window gets no taskbar button on any shell; the tool-window style alone is not enough for all.
    taskbarOwner_ = CreateWindowExW(WS_EX_TOOLWINDOW, WC_STATICW, kApplicationTitle, WS_POPUP, 0, 0, 0, 0, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!CreateCentredWindow(kWindowExStyle, kClassName, kTitle, kWindowStyle, taskbarOwner_)) {
        return false;
    }
    SetAlpha(kInitialAlpha);
    tray_.Init(hwnd_, nullptr, kTrayTip);
    LoadTrayIcon(Dpi());
    return true;
}

void MainWindow::LoadTrayIcon(int dpi)
{
    // The shell shows the icon at the small icon size of the DPI, so the image drawn for that size is handed over.
    Icon icon = LoadProgramIcon(SM_CXSMICON, dpi);
    tray_.SetIcon(icon ? icon.Get() : LoadIconW(nullptr, IDI_APPLICATION));
    // The image handed over before stays until the shell has the new one.
    trayIcon_ = std::move(icon);
}

void MainWindow::SetDialogs(ExitDialog* exitDialog, SettingsDialog* settingsDialog)
{
    exitDialog_ = exitDialog;
    settingsDialog_ = settingsDialog;
    BeginStartUpWhenReady();
}

void MainWindow::BeginStartUpWhenReady()
{
    if (shown_ && exitDialog_ && settingsDialog_ && !startUpBegun_) {
        startUpBegun_ = true;
        PostMessageW(hwnd_, kStartUpMessage, 0, 0);
    }
}

void MainWindow::Show()
{
    // Without activation: the splash must not take the focus from what the user is doing.
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
}

void MainWindow::SetAlpha(std::uint8_t alpha)
{
    alpha_ = alpha;
    SetLayeredWindowAttributes(hwnd_, 0, alpha_, LWA_ALPHA);
}

void MainWindow::RunStartUpSequence()
{
    UpdateWindow(hwnd_);

    if (tray_.Add() && startUpClock_) {
        startUpClock_->ReportTrayIconAdded();
    }

    caption_ = kTitleAndVersion;
    CreateCaptionFont();
    UpdateWindow(hwnd_);

    // Every wait processes messages: the window may be destroyed (exit dialog's OK) while we wait.
    const auto fadeIn = FadeInSteps(alpha_);
    for (std::size_t i = 0; i < fadeIn.size(); ++i) {
        if (i + 1 < fadeIn.size() && (!loop_.WaitProcessingMessages(timings_.fadeStepMs) || !hwnd_)) {
            return;
        }
        SetAlpha(fadeIn[i]);
    }

    ShellExecuteW(nullptr, nullptr, companionFile_.c_str(), kStartToken, nullptr, SW_SHOWNORMAL);
    companionStarted_ = true;
    if (!loop_.WaitProcessingMessages(timings_.companionWaitMs) || !hwnd_) {
        return;
    }
    companionWindow_ = FindWindowW(kCompanionClass, kCompanionTitle);

    for (std::uint8_t alpha : FadeOutSteps(alpha_)) {
        if (!loop_.WaitProcessingMessages(timings_.fadeStepMs) || !hwnd_) {
            return;
        }
        SetAlpha(alpha);
    }
    ShowWindow(hwnd_, SW_HIDE);
    startUpFinished_ = true;
}

std::optional<SIZE> MainWindow::OuterSizeForDpi(int dpi) const
{
    return OuterSizeForClient(kWindowStyle, kWindowExStyle, Scale(kClientWidth, dpi), Scale(kClientHeight, dpi), dpi);
}

void MainWindow::CreateCaptionFont()
{
    if (!captionFont_) {
        captionFont_ = Fonts().Add(kCaptionFont);
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void MainWindow::OnDpiChanged()
{
    LoadTrayIcon(Dpi());
    if (captionFont_) {
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

void MainWindow::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    PaintCaption(dc);
    EndPaint(hwnd_, &ps);
}

void MainWindow::PaintCaption(HDC dc)
{
    if (!captionFont_) {
        return;
    }
    SelectInDC font(dc, Fonts().Get(*captionFont_));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, SchemeColour(highContrast_(), kSplashWhite, COLOR_WINDOW));
    SetBkMode(dc, OPAQUE);
    SIZE text = {};
    GetTextExtentPoint32W(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text);
    RECT client;
    GetClientRect(hwnd_, &client);
    const int x = client.right / 2 - text.cx / 2;
    const int y = client.bottom / 2 - text.cy / 2;
    TextOutW(dc, x, y, caption_.c_str(), static_cast<int>(caption_.size()));
}

void MainWindow::EraseBackground(HDC dc)
{
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, SchemeBrush(highContrast_(), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), COLOR_WINDOW));
}

void MainWindow::BringDialogsToFront()
{
    Window* dialogs[] = {exitDialog_, settingsDialog_};
    for (Window* dialog : dialogs) {
        if (dialog && dialog->IsVisible()) {
            RECT rc;
            GetWindowRect(dialog->Hwnd(), &rc);
            SetWindowPos(dialog->Hwnd(), HWND_TOPMOST, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        }
    }
}

void MainWindow::TrayCallback(UINT mouseMessage)
{
    const bool exitVisible = exitDialog_ && exitDialog_->IsVisible();
    const bool settingsVisible = settingsDialog_ && settingsDialog_->IsVisible();
    switch (DecideTrayAction(mouseMessage, exitVisible, settingsVisible)) {
    case TrayAction::ShowExitDialog:
        if (exitDialog_) {
            exitDialog_->ShowDialog();
        }
        break;
    case TrayAction::ShowSettingsDialog:
        if (settingsDialog_) {
            settingsDialog_->ShowDialog();
        }
        break;
    case TrayAction::BringDialogsToFront:
        BringDialogsToFront();
        break;
    case TrayAction::None:
        break;
    }
}

void MainWindow::OnDestroy()
{
    // A companion that came up after its second (a slow or busy machine), or after the sequence was cut short, is
    // looked up now: it would otherwise outlive the program.
    HWND companion = companionWindow_;
    if (!companion && companionStarted_) {
        companion = FindWindowW(kCompanionClass, kCompanionTitle);
    }
    if (companion) {
        SendMessageW(companion, WM_CLOSE, 0, 0);
    }
    PostQuitMessage(0);
    tray_.Remove();
}

void MainWindow::OnFinalDestroy()
{
    if (taskbarOwner_) {
        DestroyWindow(std::exchange(taskbarOwner_, nullptr));
    }
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == TrayIcon::TaskbarCreatedMessage() && msg != 0) {
        // The shell rebuilds its notification area also when the display scale changes: the icon it gets again
        // is the one for the DPI of now.
        LoadTrayIcon(WindowDpi(hwnd_));
    }
    if (tray_.HandleMessage(msg, wParam, lParam)) {
        return 0;
    }
    switch (msg) {
    case TrayIcon::kCallbackMessage:
        TrayCallback(static_cast<UINT>(lParam));
        return 0;
    case WM_SHOWWINDOW:
        if (wParam) {
            shown_ = true;
            BeginStartUpWhenReady();
        }
        return Default(msg, wParam, lParam);
    case kStartUpMessage:
        RunStartUpSequence();
        return 0;
    case WM_WINDOWPOSCHANGING:
        // The splash is seen once; nothing shows it again afterwards.
        if (startUpFinished_) {
            reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
        }
        return Default(msg, wParam, lParam);
    case WM_ERASEBKGND:
        EraseBackground(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_PRINTCLIENT:
        if (lParam & PRF_ERASEBKGND) {
            EraseBackground(reinterpret_cast<HDC>(wParam));
        }
        PaintCaption(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        return Default(msg, wParam, lParam);
    }
}

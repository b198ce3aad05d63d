// The main window MainWindow: the translucent splash of the start-up sequence, then, hidden, the owner
// of the tray icon whose clicks open the exit and settings dialogs; its destruction ends the program.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "base/Handles.h"
#include "base/HighContrast.h"
#include "base/MessageLoop.h"
#include "base/ProgramWindows.h"
#include "app/TrayIcon.h"
#include "base/Window.h"

class ExitDialog;
class SettingsDialog;
class StartUpClock;

// Waits of the start-up sequence; tests shorten them.
struct StartUpTimings {
    DWORD fadeStepMs = 30;
    DWORD companionWaitMs = 1000;
};

class MainWindow : public Window {
public:
    static constexpr const wchar_t* kClassName = kResidentClass;
    static constexpr const wchar_t* kTitle = kResidentTitle;
    static constexpr const wchar_t* kTrayTip = L"Sorabune ver 4a\r\n左クリック　終了\r\n右クリック　設定";
    static constexpr int kClientWidth = 357;
    static constexpr int kClientHeight = 81;
    static constexpr std::uint8_t kInitialAlpha = 35;

    // The start-up sequence waits in loop; the tray icon reaches the shell through notify; the splash asks
    // highContrast which colours to draw in.
    MainWindow(ErrorReporter& errors, MessageLoop& loop, TrayIcon::NotifyFn notify = Shell_NotifyIconW,
               HighContrastFn highContrast = SystemHighContrast)
        : Window(errors), loop_(loop), tray_(std::move(notify)), highContrast_(std::move(highContrast))
    {
    }
    // Destroys the window while this object can still run its teardown.
    ~MainWindow() override;

    bool Create();
    // The dialogs that the tray icon opens; both are created after this window. The start-up sequence waits for
    // them.
    void SetDialogs(ExitDialog* exitDialog, SettingsDialog* settingsDialog);
    void SetStartUpTimings(StartUpTimings timings) { timings_ = timings; }
    void SetCompanionFile(std::wstring file) { companionFile_ = std::move(file); }
    // The program's clock from its entry, told when the tray icon is there; none in tests.
    void SetStartUpClock(const StartUpClock* clock) { startUpClock_ = clock; }

    // Shows the window; the first showing runs the start-up sequence from the message loop once the dialogs are
    // set, so that a message loop of an error box while they are made does not run it early.
    void Show();
    bool StartUpFinished() const { return startUpFinished_; }
    std::uint8_t Alpha() const { return alpha_; }
    HWND CompanionWindow() const { return companionWindow_; }
    const TrayIcon& Tray() const { return tray_; }

    void BringDialogsToFront();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalDestroy() override;
    std::optional<SIZE> OuterSizeForDpi(int dpi) const override;
    void OnDpiChanged() override;

private:
    void CreateCaptionFont();
    void LoadTrayIcon(int dpi);
    void BeginStartUpWhenReady();
    void RunStartUpSequence();
    void SetAlpha(std::uint8_t alpha);
    void Paint();
    void PaintCaption(HDC dc);
    void EraseBackground(HDC dc);
    void TrayCallback(UINT mouseMessage);
    void OnDestroy();

    MessageLoop& loop_;
    ExitDialog* exitDialog_ = nullptr;
    SettingsDialog* settingsDialog_ = nullptr;
    StartUpTimings timings_;
    std::wstring companionFile_ = L"Sorabune.exe";
    const StartUpClock* startUpClock_ = nullptr;
    std::wstring caption_;
    // The caption's font, made once the caption is known.
    std::optional<DpiFontSet::Id> captionFont_;
    // Before the tray icon, so that it goes after it.
    Icon trayIcon_;
    TrayIcon tray_;
    HighContrastFn highContrast_;
    HWND companionWindow_ = nullptr;
    bool companionStarted_ = false;
    HWND taskbarOwner_ = nullptr;
    std::uint8_t alpha_ = kInitialAlpha;
    bool shown_ = false;
    bool startUpBegun_ = false;
    bool startUpFinished_ = false;
};

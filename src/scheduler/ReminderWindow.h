// The reminder message windows TMessagesForm1 and TMessagesForm2, one per reminder timer: topmost windows without a
// title bar, hidden until their reminder fires, that say the scheduled moment has come and show the reminder's text. A
// shown one has a flashing taskbar button and is announced to screen readers, without taking the keyboard.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "base/Handles.h"
#include "base/HighContrast.h"
#include "base/Window.h"
#include "settings/SettingsLayout.h"

// FlashWindowEx, or what a test puts in its place.
using FlashWindowFn = std::function<BOOL(PFLASHWINFO info)>;

class ReminderWindow;

// The application's deactivation slot: the message window whose KeepMessageOnTop runs when the application loses
// activation, or null. One slot serves every reminder window (ReminderWindows holds it).
struct DeactivationSlot {
    ReminderWindow* window = nullptr;
};

class ReminderWindow : public Window {
public:
    static constexpr int kClientWidth = 488;
    static constexpr int kClientHeight = 54;
    // The OK button's lower edge, and the margin kept under it once the title bar is gone.
    static constexpr int kControlsBottom = 117;
    static constexpr int kBottomMargin = 8;

    // number is the reminder timer (1-based) the window belongs to; slot is shared with the other windows.
    // highContrast tells which colours to draw in; flash flashes the taskbar button.
    ReminderWindow(ErrorReporter& errors, DeactivationSlot& slot, int number,
                   HighContrastFn highContrast = SystemHighContrast, FlashWindowFn flash = FlashWindowEx);
    ~ReminderWindow() override;

    // Creates the window hidden and topmost, owned by the main window, without a title bar.
    bool Create(HWND mainWindow);
    // The window's own colour, or in high contrast the system's window colour.
    COLORREF BackgroundColour() const;

    // Shows the window (or brings it to the front) with the reminder's text and the sentence for the moment that
    // came, and takes the deactivation slot. Unless it is the foreground window, its taskbar button
    // flashes until it is.
    void ShowReminder(const std::wstring& memo, const SYSTEMTIME& moment);
    // "O K": empties the deactivation slot and hides the window.
    void MessageBtnClick();
    // Puts the window above every other program's windows again, without showing or moving it.
    void KeepMessageOnTop();

    std::wstring MessageLabelText() const;
    std::wstring MessageMemoText() const;
    // Character height of the sentence: 20 px at 96 DPI, less where the face would not fit the sentence in.
    int MessageLabelFontPx() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    std::optional<SIZE> OuterSizeForDpi(int dpi) const override;
    void OnDpiChanged() override;

private:
    void LayOut();
    void FitLabelFont(const std::wstring& sentence);
    void Flash(DWORD flags);

    DeactivationSlot& slot_;
    int number_;
    HighContrastFn highContrast_;
    FlashWindowFn flash_;
    Brush background_;
    DpiFontSet::Id labelFont_ = 0;
    // A smaller font that the sentence was fitted in, kept while the label uses it.
    Font fittedLabelFont_;
};

// One message window per reminder timer, sharing one deactivation slot; the program entry owns them.
class ReminderWindows {
public:
    explicit ReminderWindows(ErrorReporter& errors, HighContrastFn highContrast = SystemHighContrast);
    // Creates every window hidden, owned by the main window.
    bool Create(HWND mainWindow);
    // The window of a reminder timer (1-based).
    ReminderWindow& ForTimer(int timer) { return *windows_[timer - 1]; }

private:
    DeactivationSlot slot_;
    std::array<std::unique_ptr<ReminderWindow>, kReminderTimerCount> windows_;
};

// The date and time part of the sentence in the user's locale: its weekday name and separators.
std::wstring LocalReminderSentence(const SYSTEMTIME& when, int spacesBeforeTime);

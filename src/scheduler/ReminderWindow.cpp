// The reminder message windows: frame (no title bar, as tall as with one, topmost), the sentence and the
// memo at the window's DPI, the O K button and the deactivation slot that keeps a shown window above other
// programs.
#include "scheduler/ReminderWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

#include "scheduler/SchedulerIds.h"
#include "base/Dpi.h"
#include "base/DpiFonts.h"
#include "scheduler/SchedulerRules.h"
#include "base/MessageLoop.h"

namespace {
// The window of the design has a title bar; the window shown has none, only the sizing border, and is made so at
// once: restyling it after creation cost as much as making it.
constexpr DWORD kDesignStyle = WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kWindowStyle = kDesignStyle & ~WS_CAPTION;
// Owned by the hidden main window, it has a taskbar button and a place in Alt+Tab only by asking for them: the
// keyboard's way to a reminder that came without taking the keyboard.
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
constexpr UINT kTopmostFlags = SWP_NOMOVE | SWP_NOSIZE;
// Each timer's window has a colour of its own, so that the two are told apart at a glance.
constexpr COLORREF kOwnColours[] = {RGB(192, 220, 192), RGB(166, 202, 240)};
static_assert(std::size(kOwnColours) == kReminderTimerCount, "each reminder window has a colour of its own");
constexpr UiFontStyle kFont = {15};
constexpr int kLabelFontPx = 20;
// Where a face is wider than the design's, the sentence steps down in size rather than lose its ends.
constexpr int kSmallestLabelFontPx = 12;
// The sentence keeps the memo's margins from the window's edges, at every DPI.
constexpr int kLabelSidePadding = 8;
constexpr int kLocaleTextChars = 80;

constexpr RECT kLabelRect = {0, 12, 0 + 489, 12 + 49};

// The button first: it is first in the tab order and has the focus when the window opens.
const ControlDef kControls[] = {
    {IDC_MESSAGEBTN, WC_BUTTONW, L"O K", 404, 92, 75, 25, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDC_MESSAGEMEMO, WC_EDITW, L"", 8, 60, 471, 23, ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
};
const ControlDef kLabel[] = {
    {IDC_MESSAGELABEL, WC_STATICW, L"", kLabelRect.left, kLabelRect.top, kLabelRect.right - kLabelRect.left,
     kLabelRect.bottom - kLabelRect.top, SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX},
};

std::wstring LocaleText(LCTYPE type, const wchar_t* fallback)
{
    wchar_t text[kLocaleTextChars] = {};
    return GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, kLocaleTextChars) ? text : fallback;
}

// The client height once the title bar has gone: the outer height the window had with it, and at least enough to
// show the button.
int ClientHeightWithoutTitleBar(int dpi)
{
    const SIZE withTitleBar = OuterSizeForClient(kDesignStyle, kWindowExStyle, Scale(ReminderWindow::kClientWidth, dpi),
                                                 Scale(ReminderWindow::kClientHeight, dpi), dpi);
    return std::max(static_cast<int>(withTitleBar.cy),
                    Scale(ReminderWindow::kControlsBottom + ReminderWindow::kBottomMargin, dpi));
}
} // namespace

std::wstring LocalReminderSentence(const SYSTEMTIME& when, int spacesBeforeTime)
{
    wchar_t weekday[kLocaleTextChars] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, 0, &when, L"dddd", weekday, kLocaleTextChars);
    return ReminderSentence(when, weekday, LocaleText(LOCALE_SDATE, L"/"), LocaleText(LOCALE_STIME, L":"),
                            spacesBeforeTime);
}

ReminderWindow::ReminderWindow(ErrorReporter& errors, DeactivationSlot& slot, int number, HighContrastFn highContrast,
                               FlashWindowFn flash)
    : Window(errors), slot_(slot), number_(std::clamp(number, 1, kReminderTimerCount)),
      highContrast_(std::move(highContrast)), flash_(std::move(flash))
{
}

ReminderWindows::ReminderWindows(ErrorReporter& errors, HighContrastFn highContrast)
{
    for (int timer = 1; timer <= kReminderTimerCount; ++timer) {
        windows_[timer - 1] = std::make_unique<ReminderWindow>(errors, slot_, timer, highContrast);
    }
}

bool ReminderWindows::Create(HWND mainWindow)
{
    bool created = true;
    for (auto& window : windows_) {
        created = window->Create(mainWindow) && created;
    }
    return created;
}

ReminderWindow::~ReminderWindow()
{
    if (slot_.window == this) {
        slot_.window = nullptr;
    }
}

COLORREF ReminderWindow::BackgroundColour() const
{
    return SchemeColour(highContrast_(), kOwnColours[number_ - 1], COLOR_WINDOW);
}

bool ReminderWindow::Create(HWND mainWindow)
{
    const std::wstring title = L"MessagesForm" + std::to_wstring(number_);
    const std::wstring className = L"T" + title;
    background_ = Brush(CreateSolidBrush(kOwnColours[number_ - 1]));
    // No class brush: the window paints its own colour.
    RegisterWindowClass(className.c_str(), nullptr);
    // Topmost from the start; the client area is as tall as the outer height the design's window had with its
    // title bar, which brings the memo and the button into view.
    if (!CreateCentredWindow(kWindowExStyle | WS_EX_TOPMOST, className.c_str(), title.c_str(), kWindowStyle,
                             mainWindow)) {
        return false;
    }
    CreateControls(hwnd_, kControls, Fonts().Add(kFont));
    labelFont_ = Fonts().Add({kLabelFontPx});
    CreateControls(hwnd_, kLabel, labelFont_);
    LayOut();
    // Enter and Space press O K, as in any dialog.
    AddDialogWindow(hwnd_);
    return true;
}

std::optional<SIZE> ReminderWindow::OuterSizeForDpi(int dpi) const
{
    return OuterSizeForClient(kWindowStyle, kWindowExStyle, Scale(kClientWidth, dpi), ClientHeightWithoutTitleBar(dpi),
                              dpi);
}

void ReminderWindow::LayOut()
{
    RECT client;
    GetClientRect(hwnd_, &client);
    // The label stretches with the window's width; everything else keeps its place.
    const RECT label = ScaleRect(kLabelRect, Dpi());
    SetWindowPos(GetDlgItem(hwnd_, IDC_MESSAGELABEL), nullptr, 0, 0,
                 client.right + (label.right - label.left - Scale(kClientWidth, Dpi())), label.bottom - label.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ReminderWindow::OnDpiChanged()
{
    // The label has its font of the new DPI again, so the one fitted at the old DPI is no longer used.
    fittedLabelFont_ = Font();
    LayOut();
    // A sentence on show is fitted again into the label's new width.
    if (const std::wstring sentence = MessageLabelText(); !sentence.empty()) {
        FitLabelFont(sentence);
    }
}

void ReminderWindow::ShowReminder(const std::wstring& memo, const SYSTEMTIME& moment)
{
    if (!hwnd_) {
        return;
    }
    // The texts first: the window never shows, not even for a moment, the texts of an earlier reminder.
    SetWindowTextW(GetDlgItem(hwnd_, IDC_MESSAGEMEMO), memo.c_str());
    const std::wstring sentence = LocalReminderSentence(moment, number_ == 1 ? 1 : 2);
    FitLabelFont(sentence);
    SetWindowTextW(GetDlgItem(hwnd_, IDC_MESSAGELABEL), sentence.c_str());
    // Above every window but not active: the user's typing stays where it was, so that a keystroke meant for
    // another program cannot dismiss the reminder unread. A click or Alt+Tab activates it; Enter then presses O K.
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    if (GetActiveWindow() == hwnd_) {
        SetFocus(GetDlgItem(hwnd_, IDC_MESSAGEBTN));
    }
    if (GetForegroundWindow() != hwnd_) {
        // The way Windows asks for attention without taking the focus.
        Flash(FLASHW_TRAY | FLASHW_TIMERNOFG);
    }
    // A window that does not take the focus is otherwise silent to a screen reader.
    NotifyWinEvent(EVENT_SYSTEM_ALERT, hwnd_, OBJID_CLIENT, CHILDID_SELF);
    slot_.window = this;
}

void ReminderWindow::FitLabelFont(const std::wstring& sentence)
{
    HWND label = GetDlgItem(hwnd_, IDC_MESSAGELABEL);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const int available = rc.right - 2 * Scale(kLabelSidePadding, Dpi());
    WindowDC dc(label);
    Font fitted;
    const HFONT designFont = Fonts().Get(labelFont_);
    HFONT chosen = designFont;
    // A pixel at a time at the window's DPI: steps of the design's pixels would skip sizes that fit.
    const int designPx = Scale(kLabelFontPx, Dpi());
    for (int px = designPx; px >= Scale(kSmallestLabelFontPx, Dpi()); --px) {
        Font candidate = px == designPx ? Font() : CreateUiFont(px, kDesignDpi);
        HFONT font = px == designPx ? designFont : candidate.Get();
        SIZE extent = {};
        {
            SelectInDC select(dc.Get(), font);
            GetTextExtentPoint32W(dc.Get(), sentence.c_str(), static_cast<int>(sentence.size()), &extent);
        }
        chosen = font;
        fitted = std::move(candidate);
        if (extent.cx <= available) {
            break;
        }
    }
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(chosen), TRUE);
    // The label keeps using the font until the next sentence replaces it.
    fittedLabelFont_ = std::move(fitted);
}

int ReminderWindow::MessageLabelFontPx() const
{
    auto font = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(hwnd_, IDC_MESSAGELABEL), WM_GETFONT, 0, 0));
    LOGFONTW lf = {};
    GetObjectW(font, sizeof(lf), &lf);
    return lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
}

void ReminderWindow::Flash(DWORD flags)
{
    FLASHWINFO info = {};
    info.cbSize = sizeof(info);
    info.hwnd = hwnd_;
    info.dwFlags = flags;
    flash_(&info);
}

void ReminderWindow::MessageBtnClick()
{
    slot_.window = nullptr;
    Flash(FLASHW_STOP);
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void ReminderWindow::KeepMessageOnTop()
{
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags | SWP_NOACTIVATE);
}

std::wstring ReminderWindow::MessageLabelText() const
{
    return WindowText(GetDlgItem(hwnd_, IDC_MESSAGELABEL));
}

std::wstring ReminderWindow::MessageMemoText() const
{
    return WindowText(GetDlgItem(hwnd_, IDC_MESSAGEMEMO));
}

LRESULT ReminderWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT rc;
        GetClientRect(hwnd_, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, SchemeBrush(highContrast_(), background_.Get(), COLOR_WINDOW));
        return 1;
    }
    case WM_CTLCOLORSTATIC: {
        auto control = reinterpret_cast<HWND>(lParam);
        auto dc = reinterpret_cast<HDC>(wParam);
        if (GetDlgCtrlID(control) == IDC_MESSAGEMEMO) {
            // A read-only field keeps the white of a text field.
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        SetBkColor(dc, BackgroundColour());
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(SchemeBrush(highContrast_(), background_.Get(), COLOR_WINDOW));
    }
    case WM_COMMAND:
        // Enter comes as IDOK; Esc does nothing, O K being the window's only way to close.
        if ((LOWORD(wParam) == IDC_MESSAGEBTN || LOWORD(wParam) == IDOK) && HIWORD(wParam) == BN_CLICKED) {
            MessageBtnClick();
        }
        return 0;
    case WM_SIZE:
        LayOut();
        return Default(msg, wParam, lParam);
    case WM_ACTIVATE:
        // Activated on purpose (a click, Alt+Tab): O K takes the keyboard, so Enter dismisses the reminder.
        if (LOWORD(wParam) != WA_INACTIVE) {
            SetFocus(GetDlgItem(hwnd_, IDC_MESSAGEBTN));
            return 0;
        }
        return Default(msg, wParam, lParam);
    case WM_ACTIVATEAPP:
        // Every top-level window of the program hears this; only the window in the slot acts on it.
        if (!wParam && slot_.window == this) {
            KeepMessageOnTop();
        }
        return Default(msg, wParam, lParam);
    case WM_CLOSE:
        ShowWindow(hwnd_, SW_HIDE);
        return 0;
    default:
        return Default(msg, wParam, lParam);
    }
}

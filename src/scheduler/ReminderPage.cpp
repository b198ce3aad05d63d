// The reminder page お知らせタイマー: controls of both timers and the rules of their states.
#include "scheduler/ReminderPage.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "scheduler/SchedulerIds.h"
#include "scheduler/SchedulerRules.h"
#include "settings/SettingsRules.h"
#include "settings/Cp932TextRules.h"
#include "settings/SettingsDialog.h"
#include "settings/SettingsLayout.h"
#include "base/Handles.h"
#include "base/Subclass.h"
#include "base/Window.h"

namespace {
// Offsets of a timer's controls inside its block of ids; Week and WeekL are followed by days 1..7.
enum Offset {
    kGroup = 0,
    kScheduleKind = IDC_REMINDER1_SCHEDULE - IDC_REMINDER1_GROUP,
    kDate = IDC_REMINDER1_DATE - IDC_REMINDER1_GROUP,
    kTime = IDC_REMINDER1_TIME - IDC_REMINDER1_GROUP,
    kTimerOnOff = IDC_REMINDER1_ON_OFF - IDC_REMINDER1_GROUP,
    kAction = IDC_REMINDER1_ACTION - IDC_REMINDER1_GROUP,
    kChimeChoice = IDC_REMINDER1_CHIME - IDC_REMINDER1_GROUP,
    kLabel = IDC_REMINDER1_MEMO_LABEL - IDC_REMINDER1_GROUP,
    kMemo = IDC_REMINDER1_MEMO - IDC_REMINDER1_GROUP,
    kWeek = IDC_REMINDER1_WEEKDAY1 - 1 - IDC_REMINDER1_GROUP,
    kWeekdayIndicator = IDC_REMINDER1_WEEKDAY1_INDICATOR - 1 - IDC_REMINDER1_GROUP
};

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kCream = RGB(255, 251, 240);

constexpr wchar_t kOnCaption[] = L"タイマーON";
constexpr wchar_t kOffCaption[] = L"タイマーOFF";
constexpr wchar_t kKindPrompt[] = L"予約方法";

constexpr int kGroupLeft = 30;
constexpr int kGroupTop[ReminderPage::kTimerCount] = {4, 172};
constexpr int kLeftColumn = 10;
constexpr int kRightColumn = 180;
constexpr int kFieldWidth = 150;
constexpr int kFieldHeight = 23;
constexpr int kKindRow = 20;
constexpr int kPickerRow = 54;
constexpr int kActionRow = 88;
constexpr int kDropDownListHeight = 200;
constexpr int kWeekLeft = kRightColumn;
constexpr int kWeekTop = kKindRow;
constexpr int kWeekPitch = 35;
constexpr int kIndicatorWidth = 15;
constexpr int kIndicatorHeight = 3;
// No list here comes near the 30 items an open list shows before it scrolls, so none has a scroll bar: a hidden
// list would show one as its first items arrive and hide it again when it opens.
constexpr DWORD kDropDown = CBS_DROPDOWN | WS_TABSTOP;
// Toggles take the keyboard like any button: Tab reaches them, Space presses them.
constexpr DWORD kToggle = BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_TABSTOP;
constexpr const wchar_t* kWeekTexts[ReminderPage::kDayCount] = {L"日", L"月", L"火", L"水", L"木", L"金", L"土"};
constexpr const wchar_t* kGroupTexts[ReminderPage::kTimerCount] = {L"お知らせタイマー　１", L"お知らせタイマー　２"};
constexpr const wchar_t* kScheduleKindItems[] = {L"日時を指定", L"毎日", L"毎週"};
constexpr const wchar_t* kActionItems[] = {L"時報を鳴らす", L"メッセージを出す", L"時報とメッセージ"};

// Control characters, and DEL that Ctrl+Backspace sends, edit rather than insert.
constexpr wchar_t kDeleteChar = 0x7F;

// Only the selected index of these drop-downs counts, so their edit part is read-only; it keeps the
// white of an editable field while enabled. The kind drop-down shows its prompt whenever nothing is
// selected, also when the load or the reset clears the selection.
LRESULT ComboMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const SubclassLink& link, bool kind)
{
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_KILLFOCUS) {
            // The edit part shows its selection even without the focus (Wine's keeps the text that Tab selected
            // highlighted), which would look like a second focus: the text stays, its highlight goes.
            LRESULT result = link.Pass(hwnd, msg, wParam, lParam);
            SendMessageW(reinterpret_cast<HWND>(lParam), EM_SETSEL, 0, 0);
            return result;
        }
        break;
    case WM_CTLCOLORSTATIC:
        if (IsWindowEnabled(hwnd)) {
            auto dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        break;
    case CB_SETCURSEL:
        if (kind) {
            LRESULT result = link.Pass(hwnd, msg, wParam, lParam);
            if (SendMessageW(hwnd, CB_GETCURSEL, 0, 0) == CB_ERR) {
                SetWindowTextW(hwnd, kKindPrompt);
            }
            return result;
        }
        break;
    default:
        break;
    }
    return link.Pass(hwnd, msg, wParam, lParam);
}

LRESULT KindComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const SubclassLink& link)
{
    return ComboMessage(hwnd, msg, wParam, lParam, link, true);
}

LRESULT PlainComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const SubclassLink& link)
{
    return ComboMessage(hwnd, msg, wParam, lParam, link, false);
}

// What an insertion at the current selection of the message field may keep within the byte limit.
std::wstring FitAtSelection(HWND edit, std::wstring_view insertion)
{
    DWORD selStart = 0;
    DWORD selEnd = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    return Cp932FitInsertion(WindowText(edit), selStart, selEnd, insertion, ReminderPage::kMemoMaxBytes);
}

std::wstring ClipboardFirstLine(HWND owner)
{
    std::wstring text;
    if (!OpenClipboard(owner)) {
        return text;
    }
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    // A one-line field takes the clipboard's first line only.
    text.resize(std::min(text.size(), text.find_first_of(L"\r\n")));
    return text;
}

// The message field refuses whatever would take it beyond its byte limit: typed characters that do not
// fit are dropped, and pasted or replaced text as well as text set from code is cut at a whole character.
LRESULT MemoProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const SubclassLink& link)
{
    switch (msg) {
    case WM_CHAR: {
        auto ch = static_cast<wchar_t>(wParam);
        if (ch >= L' ' && ch != kDeleteChar && FitAtSelection(hwnd, std::wstring_view(&ch, 1)).empty()) {
            return 0;
        }
        break;
    }
    case WM_PASTE: {
        std::wstring fitted = FitAtSelection(hwnd, ClipboardFirstLine(hwnd));
        if (!fitted.empty()) {
            SendMessageW(hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(fitted.c_str()));
        }
        return 0;
    }
    case EM_REPLACESEL: {
        auto* insertion = reinterpret_cast<const wchar_t*>(lParam);
        std::wstring fitted = FitAtSelection(hwnd, insertion ? insertion : L"");
        return link.Pass(hwnd, msg, wParam, reinterpret_cast<LPARAM>(fitted.c_str()));
    }
    case WM_SETTEXT: {
        auto* text = reinterpret_cast<const wchar_t*>(lParam);
        std::wstring fitted = Cp932FitPrefix(text ? text : L"", ReminderPage::kMemoMaxBytes);
        return link.Pass(hwnd, msg, wParam, reinterpret_cast<LPARAM>(fitted.c_str()));
    }
    default:
        break;
    }
    return link.Pass(hwnd, msg, wParam, lParam);
}

template <SubclassProc Proc> void MakeComboReadOnly(HWND combo, ErrorReporter& errors)
{
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(combo, &info) && info.hwndItem) {
        SendMessageW(info.hwndItem, EM_SETREADONLY, TRUE, 0);
    }
    AddSubclass<Proc>(combo, errors);
}
// A pressed toggle in the highlight pair, sunken, with its caption and the focus it may have.
void DrawPressedToggle(HWND button, HDC dc, RECT rc, UINT state)
{
    // A locked toggle stays visibly pressed: the grey-text colour becomes its face.
    const bool enabled = IsWindowEnabled(button);
    FillRect(dc, &rc, GetSysColorBrush(enabled ? COLOR_HIGHLIGHT : COLOR_GRAYTEXT));
    DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    SelectInDC font(dc, reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
    SetTextColor(dc, GetSysColor(enabled ? COLOR_HIGHLIGHTTEXT : COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    std::wstring text = WindowText(button);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (state & CDIS_FOCUS) {
        InflateRect(&rc, -1, -1);
        DrawFocusRect(dc, &rc);
    }
}

} // namespace

void ReminderPage::Build(SettingsDialog& dialog, HWND sheet)
{
    dialog_ = &dialog;
    redBrush_ = Brush(CreateSolidBrush(kRed));
    creamBrush_ = Brush(CreateSolidBrush(kCream));
    for (int timer = 1; timer <= kTimerCount; ++timer) {
        int gx = kGroupLeft;
        int gy = kGroupTop[timer - 1];
        auto at = [&](int offset, const wchar_t* cls, const wchar_t* text, int x, int y, int w, int h, DWORD style) {
            return ControlDef{Id(timer, offset), cls, text, gx + x, gy + y, w, h, style};
        };
        std::vector<ControlDef> defs;
        defs.push_back(at(kGroup, WC_BUTTONW, kGroupTexts[timer - 1], 0, 0, 490, 160, BS_GROUPBOX));
        // The indicators come before their buttons so that they lie above them; the buttons clip them out.
        for (int day = 1; day <= kDayCount; ++day) {
            int indicatorLeft = kWeekLeft + kWeekPitch * (day - 1) + (kWeekPitch - kIndicatorWidth) / 2;
            defs.push_back(at(kWeekdayIndicator + day, WC_STATICW, L"", indicatorLeft, kWeekTop + 1, kIndicatorWidth,
                              kIndicatorHeight, SS_OWNERDRAW));
        }
        // Creation order is the keyboard order, row by row as the group lays them out: kind and weekdays, date,
        // time and ON/OFF, action and chime, message. Timer 2's time picker sits two pixels lower in the design
        // than timer 1's.
        defs.push_back(
            at(kScheduleKind, WC_COMBOBOXW, L"", kLeftColumn, kKindRow, kFieldWidth, kDropDownListHeight, kDropDown));
        for (int day = 1; day <= kDayCount; ++day) {
            defs.push_back(at(kWeek + day, WC_BUTTONW, kWeekTexts[day - 1], kWeekLeft + kWeekPitch * (day - 1),
                              kWeekTop, kWeekPitch, kFieldHeight, kToggle | WS_CLIPSIBLINGS | WS_DISABLED));
        }
        defs.push_back(at(kDate, DATETIMEPICK_CLASSW, L"", kLeftColumn, kPickerRow, kFieldWidth, kFieldHeight,
                          DTS_SHORTDATEFORMAT | WS_TABSTOP | WS_DISABLED));
        defs.push_back(at(kTime, DATETIMEPICK_CLASSW, L"", kRightColumn, timer == 1 ? kPickerRow : kPickerRow + 2,
                          kFieldWidth, kFieldHeight, DTS_TIMEFORMAT | WS_TABSTOP | WS_DISABLED));
        defs.push_back(at(kTimerOnOff, WC_BUTTONW, kOnCaption, 350, kPickerRow, 130, 57, kToggle));
        defs.push_back(
            at(kAction, WC_COMBOBOXW, L"", kLeftColumn, kActionRow, kFieldWidth, kDropDownListHeight, kDropDown));
        // The chime list is taller: it may hold two user sound files after the eight built-in chimes.
        defs.push_back(at(kChimeChoice, WC_COMBOBOXW, L"", kRightColumn, kActionRow, kFieldWidth, 240, kDropDown));
        defs.push_back(at(kLabel, WC_STATICW, L"メッセージ", kLeftColumn, 112, 120, 15, SS_LEFT));
        defs.push_back(at(kMemo, WC_EDITW, L"", kLeftColumn, 128, 471, kFieldHeight,
                          ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_DISABLED));
        const MadeControls made = CreateControls(dialog, sheet, defs.data(), defs.size());
        TimerControls& c = Timer(timer);
        c.scheduleKind = DropDown(made[Id(timer, kScheduleKind)]);
        c.date = DatePicker(made[Id(timer, kDate)]);
        c.time = TimePicker(made[Id(timer, kTime)]);
        c.onOff = Toggle(made[Id(timer, kTimerOnOff)]);
        c.action = DropDown(made[Id(timer, kAction)]);
        c.chime = DropDown(made[Id(timer, kChimeChoice)]);
        c.memo = TextField(made[Id(timer, kMemo)]);
        for (int day = 1; day <= kDayCount; ++day) {
            c.weekdays[day - 1] = Toggle(made[Id(timer, kWeek + day)]);
            c.indicators[day - 1] = Control(made[Id(timer, kWeekdayIndicator + day)]);
        }

        MakeComboReadOnly<KindComboProc>(c.scheduleKind.Hwnd(), dialog.Errors());
        MakeComboReadOnly<PlainComboProc>(c.action.Hwnd(), dialog.Errors());
        MakeComboReadOnly<PlainComboProc>(c.chime.Hwnd(), dialog.Errors());
        AddSubclass<MemoProc>(c.memo.Hwnd(), dialog.Errors());

        c.scheduleKind.AddItems({std::begin(kScheduleKindItems), std::end(kScheduleKindItems)});
        c.scheduleKind.SetIndex(kNoReminderKind);
        c.action.AddItems({std::begin(kActionItems), std::end(kActionItems)});
        c.action.SetIndex(kActionChime);
        c.chime.AddItems(BuiltInChimeTexts());
        c.chime.SetIndex(0);
    }
}

ValueBindings ReminderPage::Bindings() const
{
    ValueBindings bindings;
    for (int timer = 1; timer <= kTimerCount; ++timer) {
        const TimerControls& c = Timer(timer);
        auto name = [timer](std::wstring_view stem) { return TimerValueName(timer, stem); };
        // The chime list mirrors the basic page's user files, which that page stores.
        bindings.push_back(BindUserItems(L"TimerWave%d", c.chime, L"TimerWaveCount", kBuiltInChimeCount, false));
        bindings.push_back(BindIndex(name(L"YoyakuHouhou"), c.scheduleKind));
        bindings.push_back(BindIndex(name(L"OsiraseHouhou"), c.action));
        bindings.push_back(BindIndex(name(L"Jihou"), c.chime));
        bindings.push_back(BindEnabled(name(L"YoyakuHouhouE"), c.scheduleKind));
        bindings.push_back(BindEnabled(name(L"OsiraseHouhouE"), c.action));
        bindings.push_back(BindEnabled(name(L"JihouE"), c.chime));
        // The date before the time: a load reports a date that does not convert before a time.
        for (ValueBinding& part : BindDateParts(c.date, name(L"Year"), name(L"Month"), name(L"Day"))) {
            bindings.push_back(std::move(part));
        }
        for (ValueBinding& part : BindTimeParts(c.time, name(L"Hour"), name(L"Min"), name(L"Sec"))) {
            bindings.push_back(std::move(part));
        }
        bindings.push_back(BindEnabled(name(L"Date"), c.date));
        bindings.push_back(BindEnabled(name(L"Time"), c.time));
        bindings.push_back(BindChecked(name(L"TimerOnOff"), c.onOff));
        bindings.push_back(BindEnabled(name(L"TimerOnOffE"), c.onOff));
        for (int day = 1; day <= kDayCount; ++day) {
            const std::wstring week = L"Week" + std::to_wstring(day);
            bindings.push_back(BindChecked(name(week), c.weekdays[day - 1]));
            bindings.push_back(BindEnabled(name(week + L"E"), c.weekdays[day - 1]));
        }
        bindings.push_back(BindText(name(L"Memo"), c.memo));
        bindings.push_back(BindEnabled(name(L"MemoE"), c.memo));
    }
    return bindings;
}

bool ReminderPage::IsOn(int timer) const
{
    return Timer(timer).onOff.Checked();
}

SYSTEMTIME ReminderPage::TimeOfDay(int timer) const
{
    return Timer(timer).time.Value();
}

ReminderSettings ReminderPage::Reminder(int timer) const
{
    const TimerControls& c = Timer(timer);
    ReminderSettings reminder;
    const SYSTEMTIME time = TimeOfDay(timer);
    reminder.when.hour = time.wHour;
    reminder.when.minute = time.wMinute;
    reminder.when.second = time.wSecond;
    reminder.when.kind = c.scheduleKind.Index();
    const SYSTEMTIME date = c.date.Value();
    reminder.when.year = date.wYear;
    reminder.when.month = date.wMonth;
    reminder.when.day = date.wDay;
    for (int day = 1; day <= kDayCount; ++day) {
        reminder.when.weekdays[day - 1] = c.weekdays[day - 1].Checked();
    }
    reminder.action = c.action.Index();
    reminder.chime = c.chime.Index();
    reminder.memo = c.memo.Text();
    return reminder;
}

namespace {
// The day (1-based) whose control among a timer's seven sent a notice, or 0.
template <typename DayControl> int DayOf(const std::array<DayControl, ReminderPage::kDayCount>& days, HWND control)
{
    for (int day = 1; day <= ReminderPage::kDayCount; ++day) {
        if (days[day - 1].Is(control)) {
            return day;
        }
    }
    return 0;
}
} // namespace

int ReminderPage::TimerOf(HWND control) const
{
    for (int timer = 1; timer <= kTimerCount; ++timer) {
        const TimerControls& c = Timer(timer);
        for (const Control* own : {static_cast<const Control*>(&c.scheduleKind), static_cast<const Control*>(&c.date),
                                   static_cast<const Control*>(&c.time), static_cast<const Control*>(&c.onOff),
                                   static_cast<const Control*>(&c.action), static_cast<const Control*>(&c.chime),
                                   static_cast<const Control*>(&c.memo)}) {
            if (own->Is(control)) {
                return timer;
            }
        }
        if (DayOf(c.weekdays, control) != 0 || DayOf(c.indicators, control) != 0) {
            return timer;
        }
    }
    return 0;
}

bool ReminderPage::OnCommand(HWND control, int code)
{
    const int timer = TimerOf(control);
    if (timer == 0) {
        return false;
    }
    const TimerControls& c = Timer(timer);
    if (c.scheduleKind.Is(control) && code == CBN_SELCHANGE) {
        ScheduleKindChange(timer);
    } else if (c.action.Is(control) && code == CBN_SELCHANGE) {
        ActionChange(timer);
    } else if (c.onOff.Is(control) && code == BN_CLICKED) {
        TimerOnOffClick(timer);
    } else if (const int day = DayOf(c.weekdays, control); day != 0 && code == BN_CLICKED) {
        WeekClick(timer, day);
    } else if (c.memo.Is(control) && code == EN_CHANGE) {
        KeepMemoWithinLimit(timer);
    } else {
        return false;
    }
    return true;
}

bool ReminderPage::OnDrawItem(DRAWITEMSTRUCT* item)
{
    const int timer = TimerOf(item->hwndItem);
    const int day = timer != 0 ? DayOf(Timer(timer).indicators, item->hwndItem) : 0;
    if (day == 0) {
        return false;
    }
    // In high contrast a chosen day is marked in the highlight colour and an unchosen one is not marked.
    const bool red = IndicatorRed(timer, day);
    FillRect(item->hDC, &item->rcItem,
             SchemeBrush(dialog_->HighContrast(), red ? redBrush_.Get() : creamBrush_.Get(),
                         red ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    return true;
}

bool ReminderPage::OnNotify(NMHDR* header, LRESULT* result)
{
    const int timer = TimerOf(header->hwndFrom);
    const bool toggle =
        timer != 0 && (Timer(timer).onOff.Is(header->hwndFrom) || DayOf(Timer(timer).weekdays, header->hwndFrom) != 0);
    if (header->code != NM_CUSTOMDRAW || !toggle || !dialog_->HighContrast()) {
        return false;
    }
    // A pressed toggle of the classic look is a dither of the button colours that the button's text does not
    // stand out from in high contrast: it is drawn in the highlight pair instead.
    auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(header);
    if (draw->dwDrawStage != CDDS_PREPAINT || SendMessageW(header->hwndFrom, BM_GETCHECK, 0, 0) != BST_CHECKED) {
        return false;
    }
    DrawPressedToggle(header->hwndFrom, draw->hdc, draw->rc, draw->uItemState);
    *result = CDRF_SKIPDEFAULT;
    return true;
}

void ReminderPage::ScheduleKindChange(int timer)
{
    TimerControls& c = Timer(timer);
    int kind = c.scheduleKind.Index();
    if (kind != kReminderOnce && kind != kReminderDaily && kind != kReminderWeekly) {
        return;
    }
    c.time.SetEnabled(true);
    c.date.SetEnabled(kind == kReminderOnce);
    if (kind == kReminderOnce) {
        OfferADayToCome(timer);
    }
    for (Toggle& weekday : c.weekdays) {
        weekday.SetEnabled(kind == kReminderWeekly);
    }
    for (int day = 1; day <= kDayCount; ++day) {
        SetIndicator(timer, day, kind == kReminderWeekly && c.weekdays[day - 1].Checked());
    }
}

// A once-only reminder on a day that has passed could never fire (the installer's starting date is 2002/4/14):
// the date picker moves to today, and the user sets a time still to come. The stored values change only at O K.
void ReminderPage::OfferADayToCome(int timer)
{
    SYSTEMTIME today = {};
    GetLocalTime(&today);
    DatePicker& picker = Timer(timer).date;
    SYSTEMTIME date = picker.Value();
    if (DayBefore(date, today)) {
        date.wYear = today.wYear;
        date.wMonth = today.wMonth;
        date.wDay = today.wDay;
        date.wDayOfWeek = today.wDayOfWeek;
        picker.SetValue(date);
    }
}

void ReminderPage::ActionChange(int timer)
{
    TimerControls& c = Timer(timer);
    int action = c.action.Index();
    if (action != kActionChime && action != kActionMessage && action != kActionChimeAndMessage) {
        return;
    }
    c.chime.SetEnabled(action != kActionMessage);
    c.memo.SetEnabled(action != kActionChime);
}

void ReminderPage::WeekClick(int timer, int day)
{
    SetIndicator(timer, day, Timer(timer).weekdays[day - 1].Checked());
}

void ReminderPage::TimerOnOffClick(int timer)
{
    TimerControls& c = Timer(timer);
    if (!c.onOff.Checked()) {
        c.onOff.SetText(kOffCaption);
        ResetReminder(timer);
        return;
    }
    c.onOff.SetText(kOnCaption);
    c.scheduleKind.SetEnabled(false);
    c.action.SetEnabled(false);
    c.time.SetEnabled(false);
    c.date.SetEnabled(false);
    for (Toggle& weekday : c.weekdays) {
        weekday.SetEnabled(false);
    }
    c.chime.SetEnabled(false);
    c.memo.SetEnabled(false);
}

void ReminderPage::ResetReminder(int timer)
{
    TimerControls& c = Timer(timer);
    c.scheduleKind.SetIndex(kNoReminderKind);
    SetWindowTextW(c.scheduleKind.Hwnd(), kKindPrompt);
    c.scheduleKind.SetEnabled(true);
    c.action.SetIndex(kActionChime);
    c.action.SetEnabled(true);
    c.time.SetEnabled(false);
    c.date.SetEnabled(false);
    for (Toggle& weekday : c.weekdays) {
        weekday.SetEnabled(false);
    }
    c.chime.SetIndex(0);
    c.chime.SetEnabled(true);
    c.memo.SetEnabled(false);
    for (int day = 1; day <= kDayCount; ++day) {
        SetIndicator(timer, day, false);
    }
}

void ReminderPage::SwitchOffAfterFiring(int timer)
{
    Toggle& onOff = Timer(timer).onOff;
    onOff.SetText(kOffCaption);
    onOff.SetChecked(false);
    ResetReminder(timer);
}

void ReminderPage::RefreshOnPageChange()
{
    for (int timer = 1; timer <= kTimerCount; ++timer) {
        RefreshCaption(timer);
    }
    for (int timer = 1; timer <= kTimerCount; ++timer) {
        RefreshIndicators(timer);
    }
}

void ReminderPage::AddUserChime(const std::wstring& path)
{
    for (TimerControls& c : timers_) {
        c.chime.AddItem(path);
    }
}

void ReminderPage::DeleteUserChime(int item)
{
    for (TimerControls& c : timers_) {
        if (c.chime.Index() == item) {
            c.chime.SetIndex(0);
        }
    }
    for (TimerControls& c : timers_) {
        // A later item moves up one place; a list that had it selected keeps it selected.
        const int selected = c.chime.Index();
        c.chime.DeleteItem(item);
        c.chime.SetIndex(selected > item ? selected - 1 : selected);
    }
}

void ReminderPage::DropUserChime(int item)
{
    for (TimerControls& c : timers_) {
        c.chime.DeleteItem(item);
    }
    for (TimerControls& c : timers_) {
        c.chime.SetIndex(0);
    }
}

bool ReminderPage::IndicatorRed(int timer, int day) const
{
    return red_[timer - 1][day - 1];
}

void ReminderPage::SetIndicator(int timer, int day, bool red)
{
    red_[timer - 1][day - 1] = red;
    InvalidateRect(Timer(timer).indicators[day - 1].Hwnd(), nullptr, FALSE);
}

void ReminderPage::RefreshIndicators(int timer)
{
    const TimerControls& c = Timer(timer);
    bool weekly = c.scheduleKind.Index() == kReminderWeekly;
    for (int day = 1; day <= kDayCount; ++day) {
        SetIndicator(timer, day, weekly && c.weekdays[day - 1].Checked());
    }
}

void ReminderPage::RefreshCaption(int timer)
{
    Toggle& onOff = Timer(timer).onOff;
    onOff.SetText(onOff.Checked() ? kOnCaption : kOffCaption);
}

// Typing and pasting are already held to the limit; this catches what reaches the field another way
// (an input method's result string, for one) and cuts it back at a whole character.
void ReminderPage::KeepMemoWithinLimit(int timer)
{
    HWND memo = Timer(timer).memo.Hwnd();
    std::wstring text = WindowText(memo);
    if (Cp932ByteCount(text) <= kMemoMaxBytes) {
        return;
    }
    SetWindowTextW(memo, text.c_str());
    int end = GetWindowTextLengthW(memo);
    SendMessageW(memo, EM_SETSEL, end, end);
}

std::unique_ptr<ReminderPage> MakeReminderPage()
{
    return std::make_unique<ReminderPage>();
}

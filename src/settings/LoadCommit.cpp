// The settings dialog's load from the registry (FormCreate) and its commit on O K (OkBtnClick); names,
// kinds and defaults come from the settings layout, the step orders are those of the dialog.
#include "settings/LoadCommit.h"

#include <initializer_list>
#include <iterator>
#include <utility>

#include "settings/IniStore.h"
#include "settings/SettingsDialog.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsRules.h"
#include "base/AppError.h"
#include "base/FileExistence.h"
#include "base/FileSystem.h"

namespace {
constexpr int kNoSelection = -1;
constexpr wchar_t kWallpaperEntryPrefix[] = L"KabeBmp";

// Per step, the reminder timer values in the order the load or the commit visits them.
constexpr const wchar_t* kLoadTimerDateTime[] = {L"Year", L"Month", L"Day", L"Hour", L"Min", L"Sec", L"Date", L"Time"};
constexpr const wchar_t* kLoadTimerChoices[] = {L"YoyakuHouhou",  L"OsiraseHouhou",  L"Jihou",
                                                L"YoyakuHouhouE", L"OsiraseHouhouE", L"JihouE"};
constexpr const wchar_t* kLoadTimerToggles[] = {
    L"TimerOnOff", L"TimerOnOffE", L"Week1",  L"Week2",  L"Week3",  L"Week4",  L"Week5",  L"Week6", L"Week7",
    L"Week1E",     L"Week2E",      L"Week3E", L"Week4E", L"Week5E", L"Week6E", L"Week7E", L"Memo",  L"MemoE"};
static_assert(std::size(kLoadTimerDateTime) + std::size(kLoadTimerChoices) + std::size(kLoadTimerToggles) ==
              kValuesPerTimer);

std::int32_t ReadSetting(IniStore& store, const SettingDef& def)
{
    if (def.kind == ValueKind::Flag) {
        return store.ReadBool(def.section, def.name, def.loadDefault != 0) ? 1 : 0;
    }
    return store.ReadInteger(def.section, def.name, def.loadDefault);
}

WORD& WorkField(SYSTEMTIME& work, Mirror part)
{
    switch (part) {
    case Mirror::Year:
        return work.wYear;
    case Mirror::Month:
        return work.wMonth;
    case Mirror::Day:
        return work.wDay;
    case Mirror::Hour:
        return work.wHour;
    case Mirror::Minute:
        return work.wMinute;
    default:
        return work.wSecond;
    }
}

bool IsWorkField(Mirror mirror)
{
    return mirror == Mirror::Year || mirror == Mirror::Month || mirror == Mirror::Day || mirror == Mirror::Hour ||
           mirror == Mirror::Minute || mirror == Mirror::Second;
}

// Reads one value and puts it where its page binds it: into a control or into a timer's work fields.
void LoadValue(SettingsDialog& form, IniStore& store, const SettingDef& def, SYSTEMTIME* work = nullptr)
{
    const ValueBinding& to = form.Binding(def.name);
    if (def.kind == ValueKind::String) {
        if (to.mirror == Mirror::Text) {
            form.SetText(to.controlId, store.ReadString(def.section, def.name, L""));
        }
        return;
    }
    std::int32_t value = ReadSetting(store, def);
    if (IsWorkField(to.mirror) && work) {
        WorkField(*work, to.mirror) = ToWorkField(value);
        return;
    }
    switch (to.mirror) {
    case Mirror::Index: {
        const int offered = form.ItemCount(to.controlId);
        if (to.offeredItem) {
            value = to.offeredItem(value, offered);
        }
        // An index beyond the items means no selection; not every combo box clears it by itself.
        form.SetIndex(to.controlId, value >= 0 && value < offered ? value : kNoSelection);
        break;
    }
    case Mirror::Down:
        form.SetDown(to.controlId, value != 0);
        break;
    case Mirror::Enabled:
        form.SetEnabled(to.controlId, value != 0);
        break;
    default:
        break;
    }
}

void LoadValue(SettingsDialog& form, IniStore& store, std::wstring_view name)
{
    LoadValue(form, store, Setting(name));
}

template <std::size_t N>
void LoadTimerValues(SettingsDialog& form, IniStore& store, int timer, const wchar_t* const (&stems)[N],
                     SYSTEMTIME* work = nullptr)
{
    for (const wchar_t* stem : stems) {
        LoadValue(form, store, Setting(TimerValueName(timer, stem)), work);
    }
}

// The user's chime files, into all three chime lists. The count is bounded: a stored count can only name
// TimerWave9 and TimerWave10.
void LoadUserChimes(SettingsDialog& form, IniStore& store)
{
    const SettingDef& entries = Setting(L"TimerWave%d");
    int last = LastUserChimeNumber(ReadSetting(store, Setting(L"TimerWaveCount")));
    const int lists[] = {form.Binding(entries.name).controlId, form.Binding(TimerValueName(1, L"Jihou")).controlId,
                         form.Binding(TimerValueName(2, L"Jihou")).controlId};
    for (int number = kBuiltInChimeCount + 1; number <= last; ++number) {
        std::wstring path = store.ReadString(entries.section, ListEntryName(entries, number), L"");
        if (FileExists(path)) {
            for (int list : lists) {
                form.AddItem(list, path);
            }
        }
    }
}

// The wallpaper list, read in one walk of its section so that a list of thousands starts quickly. A missing
// entry is passed over like a missing file; a corrupted count is bounded by the highest entry actually stored,
// so it can neither run away nor cut a list short. An entry whose drive or share is not there yet (a stick, a
// share connected after logon) is kept: only a file missing from a volume that is there leaves the list. An
// entry that is no text ends the load there, after the entries before it.
void LoadWallpaperList(SettingsDialog& form, IniStore& store)
{
    const SettingDef& entries = Setting(L"KabeBmp%d");
    const std::int32_t count = ReadSetting(store, Setting(L"KabeListCount"));
    ListEntries list = ListEntriesInOrder(store.Values(entries.section), kWallpaperEntryPrefix, count);
    const std::vector<FileState> states = FileExistence::Program().Check(list.texts);
    std::vector<std::wstring> kept;
    kept.reserve(list.texts.size());
    for (std::size_t i = 0; i < list.texts.size(); ++i) {
        if (states[i] != FileState::Missing) {
            kept.push_back(std::move(list.texts[i]));
        }
    }
    form.AddItems(form.Binding(entries.name).controlId, kept);
    if (list.wrongTypeNumber != 0) {
        throw WrongTypeError(ListEntryName(entries, list.wrongTypeNumber));
    }
}

// Everything the load reads from the registry, in the dialog's order.
void LoadStoredSettings(SettingsDialog& form, SYSTEMTIME (&work)[kReminderTimerCount], RegistryKeyOpener openKey)
{
    IniStore store(HKEY_CURRENT_USER, kSettingsStartPath, openKey);
    LoadUserChimes(form, store);
    for (const wchar_t* name : {L"TimerWave", L"TimerWaveOnOff", L"StartupOnOff"}) {
        LoadValue(form, store, name);
    }
    for (int timer = 1; timer <= kReminderTimerCount; ++timer) {
        LoadTimerValues(form, store, timer, kLoadTimerDateTime, &work[timer - 1]);
    }
    for (int timer = 1; timer <= kReminderTimerCount; ++timer) {
        LoadTimerValues(form, store, timer, kLoadTimerChoices);
    }
    for (int timer = 1; timer <= kReminderTimerCount; ++timer) {
        LoadTimerValues(form, store, timer, kLoadTimerToggles);
    }
    for (const wchar_t* name : {L"KabeChangeTime", L"KabeJyunn", L"KabeStyle"}) {
        LoadValue(form, store, name);
    }
    LoadWallpaperList(form, store);
}

SYSTEMTIME Today()
{
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    now.wHour = 0;
    now.wMinute = 0;
    now.wSecond = 0;
    now.wMilliseconds = 0;
    return now;
}

// Fills in the weekday of a date; dates the system cannot convert are left as they are.
SYSTEMTIME WithWeekday(SYSTEMTIME value)
{
    FILETIME asFileTime = {};
    SYSTEMTIME normalised = {};
    if (SystemTimeToFileTime(&value, &asFileTime) && FileTimeToSystemTime(&asFileTime, &normalised)) {
        return normalised;
    }
    return value;
}

// The date and time pickers of one timer, set from the work fields last. A stored date or time that does not convert is
// reported once per load and replaced (date by today, time by 00:00:00) so that the load can go on.
void SetTimerPickers(SettingsDialog& form, int timer, const SYSTEMTIME& work, bool& dateReported, bool& timeReported)
{
    const SYSTEMTIME today = Today();
    const int dateId = form.Binding(TimerValueName(timer, L"Date")).controlId;
    bool dateShown = false;
    if (IsValidDate(work.wYear, work.wMonth, work.wDay)) {
        SYSTEMTIME date = today;
        date.wYear = work.wYear;
        date.wMonth = work.wMonth;
        date.wDay = work.wDay;
        form.SetDateTime(dateId, WithWeekday(date));
        // The picker refuses dates outside its range (early years); that counts as a date that does not convert.
        SYSTEMTIME shown = form.DateTime(dateId);
        dateShown = shown.wYear == date.wYear && shown.wMonth == date.wMonth && shown.wDay == date.wDay;
    }
    if (!dateShown) {
        if (!std::exchange(dateReported, true)) {
            form.Errors().Report(kDateEncodeError);
        }
        form.SetDateTime(dateId, today);
    }

    SYSTEMTIME time = today;
    if (IsValidTime(work.wHour, work.wMinute, work.wSecond, 0)) {
        time.wHour = work.wHour;
        time.wMinute = work.wMinute;
        time.wSecond = work.wSecond;
    } else if (!std::exchange(timeReported, true)) {
        form.Errors().Report(kTimeEncodeError);
    }
    form.SetDateTime(form.Binding(TimerValueName(timer, L"Time")).controlId, time);
}

std::int32_t ControlValue(const SettingsDialog& form, const ValueBinding& from, SYSTEMTIME& work)
{
    if (IsWorkField(from.mirror)) {
        return WorkField(work, from.mirror);
    }
    switch (from.mirror) {
    case Mirror::Index:
        return form.Index(from.controlId);
    case Mirror::Down:
        return form.Down(from.controlId) ? 1 : 0;
    case Mirror::Enabled:
        return form.Enabled(from.controlId) ? 1 : 0;
    case Mirror::ItemCount:
        return form.ItemCount(from.controlId);
    default:
        return 0;
    }
}

void CommitValue(const SettingsDialog& form, IniStore& store, const SettingDef& def, SYSTEMTIME& work)
{
    const ValueBinding& from = form.Binding(def.name);
    if (from.mirror == Mirror::Text) {
        WriteSetting(store, def, form.Text(from.controlId));
    } else {
        WriteSetting(store, def, ControlValue(form, from, work));
    }
}

void CommitValue(const SettingsDialog& form, IniStore& store, std::wstring_view name)
{
    SYSTEMTIME unused = {};
    CommitValue(form, store, Setting(name), unused);
}

// The commit begins by taking the pickers apart into the work fields.
SYSTEMTIME PickerWorkFields(const SettingsDialog& form, int timer)
{
    SYSTEMTIME date = form.DateTime(form.Binding(TimerValueName(timer, L"Date")).controlId);
    SYSTEMTIME time = form.DateTime(form.Binding(TimerValueName(timer, L"Time")).controlId);
    SYSTEMTIME work = {};
    work.wYear = date.wYear;
    work.wMonth = date.wMonth;
    work.wDay = date.wDay;
    work.wHour = time.wHour;
    work.wMinute = time.wMinute;
    work.wSecond = time.wSecond;
    work.wMilliseconds = time.wMilliseconds;
    return work;
}

void CommitListEntries(const SettingsDialog& form, IniStore& store, const SettingDef& entries, int firstIndex)
{
    const int list = form.Binding(entries.name).controlId;
    int count = form.ItemCount(list);
    for (int index = firstIndex; index < count; ++index) {
        store.WriteString(entries.section, ListEntryName(entries, index + 1), form.ItemText(list, index));
    }
}

void CommitAutostart(bool startWithWindows, RegistryKeyOpener openKey)
{
    IniStore machine(HKEY_LOCAL_MACHINE, L"", openKey);
    if (startWithWindows) {
        machine.WriteString(kAutostartSection, kAutostartValue, AutostartCommand());
    } else {
        machine.DeleteValue(kAutostartSection, kAutostartValue);
    }
}
} // namespace

std::wstring AutostartCommand()
{
    std::wstring path = OwnFilePath();
    path.erase(path.find_last_of(L'\\') + 1);
    return L"\"" + path + kCompanionFileName + L"\"";
}

void SettingsDialog::FormCreate()
{
    SYSTEMTIME work[kReminderTimerCount] = {};
    try {
        LoadStoredSettings(*this, work, openKey_);
    } catch (const AppError& error) {
        // A value of the wrong type ends the load there; what was read before it stays.
        Errors().Report(error.Message());
        return;
    }
    bool dateReported = false;
    bool timeReported = false;
    for (int timer = 1; timer <= kReminderTimerCount; ++timer) {
        SetTimerPickers(*this, timer, work[timer - 1], dateReported, timeReported);
    }
    for (auto& page : pages_) {
        page->OnLoaded();
    }
}

void SettingsDialog::OkBtnClick()
{
    SYSTEMTIME work[kReminderTimerCount] = {};
    for (int timer = kReminderTimerCount; timer >= 1; --timer) {
        work[timer - 1] = PickerWorkFields(*this, timer);
    }
    {
        IniStore store(HKEY_CURRENT_USER, kSettingsStartPath, openKey_);
        for (const wchar_t* name : {L"TimerWave", L"TimerWaveOnOff", L"StartupOnOff"}) {
            CommitValue(*this, store, name);
        }
        // A timer's values are committed in the table's own order.
        for (int timer = 1; timer <= kReminderTimerCount; ++timer) {
            const std::wstring prefix = TimerValueName(timer, L"");
            for (const SettingDef& def : SettingsLayout()) {
                if (def.section == kReminderSection && def.name.compare(0, prefix.size(), prefix) == 0) {
                    CommitValue(*this, store, def, work[timer - 1]);
                }
            }
        }
        for (const wchar_t* name : {L"KabeChangeTime", L"KabeJyunn", L"KabeStyle", L"KabeListCount"}) {
            CommitValue(*this, store, name);
        }
        CommitListEntries(*this, store, Setting(L"KabeBmp%d"), 0);
        CommitListEntries(*this, store, Setting(L"TimerWave%d"), kBuiltInChimeCount);
        CommitValue(*this, store, L"TimerWaveCount");
    }
    CommitAutostart(Down(Binding(L"StartupOnOff").controlId), openKey_);
    ShowWindow(hwnd_, SW_HIDE);
}

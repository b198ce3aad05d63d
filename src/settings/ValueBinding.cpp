// How each kind of control loads and commits its stored values, and the load rules of the two stored lists.
#include "settings/ValueBinding.h"

#include <array>
#include <utility>

#include "settings/SettingsRules.h"
#include "base/FileExistence.h"
#include "base/FileSystem.h"

namespace {
constexpr int kNoSelection = -1;

std::int32_t ReadSetting(IniStore& store, const SettingDef& def)
{
    if (def.kind == ValueKind::Flag) {
        return store.ReadBool(def.section, def.name, def.loadDefault != 0) ? 1 : 0;
    }
    return store.ReadInteger(def.section, def.name, def.loadDefault);
}

// A number of ValueKind Integer or Flag, read from and written to a control.
template <typename Get, typename Set> class NumberBinding : public BoundControl {
public:
    NumberBinding(ValueKind kind, Get get, Set set) : kind_(kind), get_(std::move(get)), set_(std::move(set)) {}
    void Load(IniStore& store, const SettingDef& def) override { set_(ReadSetting(store, def)); }
    void Commit(IniWriter& store, const SettingDef& def) const override { WriteSetting(store, def, get_()); }
    ValueKind Kind() const override { return kind_; }

private:
    ValueKind kind_;
    Get get_;
    Set set_;
};

template <typename Get, typename Set> ValueBinding BindNumber(std::wstring name, ValueKind kind, Get get, Set set)
{
    return {std::move(name), std::make_shared<NumberBinding<Get, Set>>(kind, std::move(get), std::move(set))};
}

class TextBinding : public BoundControl {
public:
    explicit TextBinding(TextField control) : control_(control) {}
    void Load(IniStore& store, const SettingDef& def) override
    {
        control_.SetText(store.ReadString(def.section, def.name, L""));
    }
    void Commit(IniWriter& store, const SettingDef& def) const override { WriteSetting(store, def, control_.Text()); }
    ValueKind Kind() const override { return ValueKind::String; }

private:
    TextField control_;
};

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

// Three parts of a picker's value, each a stored value of its own; they are held while the load reads them and
// go into the picker together.
class PickerParts : public BoundControl {
public:
    PickerParts(DateTimePicker control, bool date, std::array<std::wstring, 3> names)
        : control_(control), date_(date), names_(std::move(names))
    {
    }
    void Load(IniStore& store, const SettingDef& def) override
    {
        Part(held_, def) = ToWorkField(ReadSetting(store, def));
    }
    void Commit(IniWriter& store, const SettingDef& def) const override
    {
        SYSTEMTIME value = control_.Value();
        WriteSetting(store, def, Part(value, def));
    }
    void Finish(LoadNotes& notes) override { date_ ? FinishDate(notes) : FinishTime(notes); }
    ValueKind Kind() const override { return ValueKind::Integer; }

private:
    WORD& Part(SYSTEMTIME& value, const SettingDef& def) const
    {
        std::array<WORD*, 3> parts = {&value.wYear, &value.wMonth, &value.wDay};
        if (!date_) {
            parts = {&value.wHour, &value.wMinute, &value.wSecond};
        }
        for (std::size_t i = 0; i < names_.size(); ++i) {
            if (names_[i] == def.name) {
                return *parts[i];
            }
        }
        return *parts[2];
    }

    void FinishDate(LoadNotes& notes)
    {
        const SYSTEMTIME today = Today();
        bool shown = false;
        if (IsValidDate(held_.wYear, held_.wMonth, held_.wDay)) {
            SYSTEMTIME date = today;
            date.wYear = held_.wYear;
            date.wMonth = held_.wMonth;
            date.wDay = held_.wDay;
            control_.SetValue(WithWeekday(date));
            // The picker refuses dates outside its range (early years); that counts as a date that does not
            // convert.
            const SYSTEMTIME now = control_.Value();
            shown = now.wYear == date.wYear && now.wMonth == date.wMonth && now.wDay == date.wDay;
        }
        if (!shown) {
            if (!std::exchange(notes.dateReported, true)) {
                notes.errors.Report(kDateEncodeError);
            }
            control_.SetValue(today);
        }
    }

    void FinishTime(LoadNotes& notes)
    {
        SYSTEMTIME time = Today();
        if (IsValidTime(held_.wHour, held_.wMinute, held_.wSecond, 0)) {
            time.wHour = held_.wHour;
            time.wMinute = held_.wMinute;
            time.wSecond = held_.wSecond;
        } else if (!std::exchange(notes.timeReported, true)) {
            notes.errors.Report(kTimeEncodeError);
        }
        control_.SetValue(time);
    }

    DateTimePicker control_;
    bool date_;
    std::array<std::wstring, 3> names_;
    SYSTEMTIME held_ = {};
};

ValueBindings BindParts(DateTimePicker control, bool date, std::array<std::wstring, 3> names)
{
    auto parts = std::make_shared<PickerParts>(control, date, names);
    ValueBindings bindings;
    for (std::wstring& name : names) {
        bindings.push_back({std::move(name), parts});
    }
    return bindings;
}

// The count of a list is read by the list's own load; it is only written.
template <typename List> class ItemCountBinding : public BoundControl {
public:
    explicit ItemCountBinding(List control) : control_(control) {}
    void Load(IniStore&, const SettingDef&) override {}
    void Commit(IniWriter& store, const SettingDef& def) const override
    {
        WriteSetting(store, def, control_.ItemCount());
    }
    ValueKind Kind() const override { return ValueKind::Integer; }

private:
    List control_;
};

template <typename List> void CommitEntries(IniWriter& store, const SettingDef& entries, const List& list, int first)
{
    const int count = list.ItemCount();
    for (int index = first; index < count; ++index) {
        store.WriteString(entries.section, ListEntryName(entries, index + 1), list.ItemText(index));
    }
}

// The count is bounded: a stored count can only name the entries after the fixed items up to the most a list
// holds.
class UserItemsBinding : public BoundControl {
public:
    UserItemsBinding(DropDown control, std::wstring countName, int fixedItems, bool commits)
        : control_(control), countName_(std::move(countName)), fixedItems_(fixedItems), commits_(commits)
    {
    }
    void Load(IniStore& store, const SettingDef& def) override
    {
        const int last = LastUserChimeNumber(ReadSetting(store, Setting(countName_)));
        for (int number = fixedItems_ + 1; number <= last; ++number) {
            std::wstring path = store.ReadString(def.section, ListEntryName(def, number), L"");
            if (FileExists(path)) {
                control_.AddItem(path);
            }
        }
    }
    void Commit(IniWriter& store, const SettingDef& def) const override
    {
        if (commits_) {
            CommitEntries(store, def, control_, fixedItems_);
        }
    }
    ValueKind Kind() const override { return ValueKind::String; }

private:
    DropDown control_;
    std::wstring countName_;
    int fixedItems_;
    bool commits_;
};

// The list read in one walk of its section, so that a list of thousands starts quickly. A missing entry is passed
// over like a missing file; a corrupted count is bounded by the highest entry actually stored, so it can neither
// run away nor cut a list short. An entry whose drive or share is not there yet (a stick, a share connected after
// logon) is kept: only a file missing from a volume that is there leaves the list. An entry that is no text ends
// the load there, after the entries before it.
class PathListBinding : public BoundControl {
public:
    PathListBinding(ListBox control, std::wstring countName, FileExistence& existence)
        : control_(control), countName_(std::move(countName)), existence_(existence)
    {
    }
    void Load(IniStore& store, const SettingDef& def) override
    {
        const std::int32_t count = ReadSetting(store, Setting(countName_));
        const std::wstring prefix = def.name.substr(0, def.name.find(L'%'));
        ListEntries list = ListEntriesInOrder(store.Values(def.section), prefix, count);
        const std::vector<FileState> states = existence_.Check(list.texts);
        std::vector<std::wstring> kept;
        kept.reserve(list.texts.size());
        for (std::size_t i = 0; i < list.texts.size(); ++i) {
            if (states[i] != FileState::Missing) {
                kept.push_back(std::move(list.texts[i]));
            }
        }
        control_.AddItems(kept);
        if (list.wrongTypeNumber != 0) {
            throw WrongTypeError(ListEntryName(def, list.wrongTypeNumber));
        }
    }
    void Commit(IniWriter& store, const SettingDef& def) const override { CommitEntries(store, def, control_, 0); }
    ValueKind Kind() const override { return ValueKind::String; }

private:
    ListBox control_;
    std::wstring countName_;
    FileExistence& existence_;
};
} // namespace

ValueBinding BindIndex(std::wstring name, DropDown control, int (*offeredItem)(int stored, int offeredItems))
{
    return BindNumber(
        std::move(name), ValueKind::Integer, [control] { return control.Index(); },
        [control, offeredItem](std::int32_t value) mutable {
            const int offered = control.ItemCount();
            if (offeredItem) {
                value = offeredItem(value, offered);
            }
            // An index beyond the items means no selection; not every combo box clears it by itself.
            control.SetIndex(value >= 0 && value < offered ? value : kNoSelection);
        });
}

ValueBinding BindChecked(std::wstring name, Toggle control)
{
    return BindNumber(
        std::move(name), ValueKind::Flag, [control] { return control.Checked() ? 1 : 0; },
        [control](std::int32_t value) mutable { control.SetChecked(value != 0); });
}

ValueBinding BindEnabled(std::wstring name, Control control)
{
    return BindNumber(
        std::move(name), ValueKind::Flag, [control] { return control.Enabled() ? 1 : 0; },
        [control](std::int32_t value) mutable { control.SetEnabled(value != 0); });
}

ValueBinding BindText(std::wstring name, TextField control)
{
    return {std::move(name), std::make_shared<TextBinding>(control)};
}

ValueBindings BindDateParts(DatePicker control, std::wstring year, std::wstring month, std::wstring day)
{
    return BindParts(control, true, {std::move(year), std::move(month), std::move(day)});
}

ValueBindings BindTimeParts(TimePicker control, std::wstring hour, std::wstring minute, std::wstring second)
{
    return BindParts(control, false, {std::move(hour), std::move(minute), std::move(second)});
}

ValueBinding BindItemCount(std::wstring name, ListBox control)
{
    return {std::move(name), std::make_shared<ItemCountBinding<ListBox>>(control)};
}

ValueBinding BindItemCount(std::wstring name, DropDown control)
{
    return {std::move(name), std::make_shared<ItemCountBinding<DropDown>>(control)};
}

ValueBinding BindUserItems(std::wstring name, DropDown control, std::wstring countName, int fixedItems, bool commits)
{
    return {std::move(name), std::make_shared<UserItemsBinding>(control, std::move(countName), fixedItems, commits)};
}

ValueBinding BindPathList(std::wstring name, ListBox control, std::wstring countName, FileExistence& existence)
{
    return {std::move(name), std::make_shared<PathListBinding>(control, std::move(countName), existence)};
}

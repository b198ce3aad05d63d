// Bindings that load themselves: each joins a stored value (by its name in the settings layout) to the typed
// control of a page that holds it while the program runs, and knows how that control's kind reads and writes it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "settings/IniStore.h"
#include "settings/SettingsLayout.h"
#include "base/AppError.h"
#include "base/Controls.h"
#include "base/FileExistence.h"

// What the load reports once however many values need it: a stored date or time that does not convert.
struct LoadNotes {
    ErrorReporter& errors;
    bool dateReported = false;
    bool timeReported = false;
};

// A control's share of the stored values. The load hands it each of its values in the table's order, then
// Finish once all were read; the commit asks it for each of its values in the table's order.
class BoundControl {
public:
    virtual ~BoundControl() = default;
    virtual void Load(IniStore& store, const SettingDef& def) = 0;
    virtual void Finish(LoadNotes&) {}
    virtual void Commit(IniWriter& store, const SettingDef& def) const = 0;
    // The kind of stored value the control holds, which its row of the layout must have.
    virtual ValueKind Kind() const = 0;
};

struct ValueBinding {
    std::wstring name;
    std::shared_ptr<BoundControl> control;
};
using ValueBindings = std::vector<ValueBinding>;

// The selected item; a stored position beyond the items selects none. offeredItem (if any) gives the item a
// stored position shows when the drop-down offers fewer items on this system than there are positions.
ValueBinding BindIndex(std::wstring name, DropDown control, int (*offeredItem)(int stored, int offeredItems) = nullptr);
ValueBinding BindChecked(std::wstring name, Toggle control);
// Whether the control can be operated.
ValueBinding BindEnabled(std::wstring name, Control control);
ValueBinding BindText(std::wstring name, TextField control);
// A date picker's year, month and day, or a time picker's hour, minute and second: the parts load into the
// picker together once all are read; a date or time that does not convert is reported once per load and
// replaced by today or 00:00:00.
ValueBindings BindDateParts(DatePicker control, std::wstring year, std::wstring month, std::wstring day);
ValueBindings BindTimeParts(TimePicker control, std::wstring hour, std::wstring minute, std::wstring second);
// The number of a list's items.
ValueBinding BindItemCount(std::wstring name, ListBox control);
ValueBinding BindItemCount(std::wstring name, DropDown control);
// The user's files after a drop-down's fixed items (stored from number fixedItems + 1): the count bounds them,
// a file that is not there is passed over. With commits false the drop-down only mirrors another's items.
ValueBinding BindUserItems(std::wstring name, DropDown control, std::wstring countName, int fixedItems, bool commits);
// A list of paths read in one walk of its section: an entry missing, or on a volume that is there but without its
// file, is passed over (asked of existence, whose listings outlive one check); one that is no text ends the load
// after the entries before it.
ValueBinding BindPathList(std::wstring name, ListBox control, std::wstring countName, FileExistence& existence);

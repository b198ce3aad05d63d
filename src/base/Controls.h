// Typed controls: thin owners-by-reference of the windows a control table made, one kind each, so that a page
// holds its drop-downs, lists, toggles, pickers, fields and buttons as what they are rather than as ids.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "base/ControlTable.h"

// The controls one table made, found by the id each has in the table.
class MadeControls {
public:
    MadeControls() = default;
    MadeControls(std::span<const ControlDef> defs, std::vector<HWND> created);
    // The control made for this id, or null when the table has none.
    HWND operator[](int id) const;

private:
    std::vector<std::pair<int, HWND>> controls_;
};

// Any control: its window, whether it is the sender of a notification, its enabled state.
class Control {
public:
    Control() = default;
    explicit Control(HWND hwnd) : hwnd_(hwnd) {}
    HWND Hwnd() const { return hwnd_; }
    // Whether a notification's sender is this control.
    bool Is(HWND sender) const { return sender && sender == hwnd_; }
    bool Enabled() const;
    void SetEnabled(bool enabled);

protected:
    HWND hwnd_ = nullptr;
};

// A control with a caption or text: a field, a label, a button.
class TextControl : public Control {
public:
    using Control::Control;
    std::wstring Text() const;
    void SetText(const std::wstring& text);
};

class TextField : public TextControl {
public:
    using TextControl::TextControl;
};

class Button : public TextControl {
public:
    using TextControl::TextControl;
};

// A check box or a toggle button (a check box that looks pushed in).
class Toggle : public TextControl {
public:
    using TextControl::TextControl;
    bool Checked() const;
    void SetChecked(bool checked);
};

// The messages by which a drop-down and a list box keep their items: alike but for their names.
struct DropDownMessages {
    static constexpr UINT kGetSelection = CB_GETCURSEL, kSetSelection = CB_SETCURSEL, kGetCount = CB_GETCOUNT,
                          kGetTextLength = CB_GETLBTEXTLEN, kGetText = CB_GETLBTEXT, kAdd = CB_ADDSTRING,
                          kDelete = CB_DELETESTRING;
};
struct ListBoxMessages {
    static constexpr UINT kGetSelection = LB_GETCURSEL, kSetSelection = LB_SETCURSEL, kGetCount = LB_GETCOUNT,
                          kGetTextLength = LB_GETTEXTLEN, kGetText = LB_GETTEXT, kAdd = LB_ADDSTRING,
                          kDelete = LB_DELETESTRING;
};

// An item's text through the control's length and text messages; empty when there is no such item.
std::wstring ItemTextOf(HWND control, int index, UINT lengthMessage, UINT textMessage);

// A control of items: the selected item's position (-1 none) and the items.
template <class Messages> class ItemControl : public Control {
public:
    using Control::Control;
    int Index() const { return static_cast<int>(SendMessageW(hwnd_, Messages::kGetSelection, 0, 0)); }
    void SetIndex(int index) { SendMessageW(hwnd_, Messages::kSetSelection, static_cast<WPARAM>(index), 0); }
    int ItemCount() const { return static_cast<int>(SendMessageW(hwnd_, Messages::kGetCount, 0, 0)); }
    std::wstring ItemText(int index) const
    {
        return ItemTextOf(hwnd_, index, Messages::kGetTextLength, Messages::kGetText);
    }
    void AddItem(const std::wstring& text)
    {
        SendMessageW(hwnd_, Messages::kAdd, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void DeleteItem(int index) { SendMessageW(hwnd_, Messages::kDelete, static_cast<WPARAM>(index), 0); }
};

// A drop-down list.
class DropDown : public ItemControl<DropDownMessages> {
public:
    using ItemControl::ItemControl;
    void AddItems(const std::vector<std::wstring>& texts);
};

class ListBox : public ItemControl<ListBoxMessages> {
public:
    using ItemControl::ItemControl;
    // Many items at once: the storage reserved, the drawing and scroll range held until the last.
    void AddItems(const std::vector<std::wstring>& texts);
};

// A date or time picker's value; a date picker shows the date parts, a time picker the time parts.
class DateTimePicker : public Control {
public:
    using Control::Control;
    SYSTEMTIME Value() const;
    void SetValue(const SYSTEMTIME& value);
};

class DatePicker : public DateTimePicker {
public:
    using DateTimePicker::DateTimePicker;
};

class TimePicker : public DateTimePicker {
public:
    using DateTimePicker::DateTimePicker;
};

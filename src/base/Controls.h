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

// A drop-down list: the selected item's position (-1 none) and the items.
class DropDown : public Control {
public:
    using Control::Control;
    int Index() const;
    void SetIndex(int index);
    int ItemCount() const;
    std::wstring ItemText(int index) const;
    void AddItem(const std::wstring& text);
    void AddItems(const std::vector<std::wstring>& texts);
    void DeleteItem(int index);
};

// A list box: the selected item's position (-1 none) and the items.
class ListBox : public Control {
public:
    using Control::Control;
    int Index() const;
    void SetIndex(int index);
    int ItemCount() const;
    std::wstring ItemText(int index) const;
    void AddItem(const std::wstring& text);
    // Many items at once: the storage reserved, the drawing and scroll range held until the last.
    void AddItems(const std::vector<std::wstring>& texts);
    void DeleteItem(int index);
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

// The settings dialog's controls as automation reaches them: found by their ids on the frame and the sheets,
// each read and set as the kind its window class says.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "settings/SettingsDialog.h"
#include "base/Controls.h"

class Ui {
public:
    explicit Ui(const SettingsDialog& dialog) : dialog_(dialog.Hwnd()) {}

    // The control with this id on the frame or any sheet, or null.
    HWND Control(int id) const
    {
        if (HWND onFrame = GetDlgItem(dialog_, id)) {
            return onFrame;
        }
        for (HWND sheet = GetWindow(dialog_, GW_CHILD); sheet; sheet = GetWindow(sheet, GW_HWNDNEXT)) {
            if (HWND found = GetDlgItem(sheet, id)) {
                return found;
            }
        }
        return nullptr;
    }

    int Index(int id) const { return IsDropDown(id) ? DropDown(Control(id)).Index() : ListBox(Control(id)).Index(); }
    void SetIndex(int id, int index) const
    {
        IsDropDown(id) ? DropDown(Control(id)).SetIndex(index) : ListBox(Control(id)).SetIndex(index);
    }
    int ItemCount(int id) const
    {
        return IsDropDown(id) ? DropDown(Control(id)).ItemCount() : ListBox(Control(id)).ItemCount();
    }
    std::wstring ItemText(int id, int index) const
    {
        return IsDropDown(id) ? DropDown(Control(id)).ItemText(index) : ListBox(Control(id)).ItemText(index);
    }
    void AddItem(int id, const std::wstring& text) const
    {
        IsDropDown(id) ? DropDown(Control(id)).AddItem(text) : ListBox(Control(id)).AddItem(text);
    }
    void DeleteItem(int id, int index) const
    {
        IsDropDown(id) ? DropDown(Control(id)).DeleteItem(index) : ListBox(Control(id)).DeleteItem(index);
    }
    bool Checked(int id) const { return Toggle(Control(id)).Checked(); }
    void SetChecked(int id, bool checked) const { Toggle(Control(id)).SetChecked(checked); }
    bool Enabled(int id) const { return ::Control(Control(id)).Enabled(); }
    void SetEnabled(int id, bool enabled) const { ::Control(Control(id)).SetEnabled(enabled); }
    std::wstring Text(int id) const { return TextControl(Control(id)).Text(); }
    void SetText(int id, const std::wstring& text) const { TextControl(Control(id)).SetText(text); }
    SYSTEMTIME DateTime(int id) const { return DateTimePicker(Control(id)).Value(); }
    void SetDateTime(int id, const SYSTEMTIME& value) const { DateTimePicker(Control(id)).SetValue(value); }

private:
    bool IsDropDown(int id) const
    {
        wchar_t name[32] = {};
        GetClassNameW(Control(id), name, 32);
        return lstrcmpiW(name, WC_COMBOBOXW) == 0;
    }

    HWND dialog_;
};

// Typed controls: each kind's messages for its value, items and state.
#include "base/Controls.h"

#include <commctrl.h>

#include <utility>

#include "base/Window.h"

MadeControls::MadeControls(std::span<const ControlDef> defs, std::vector<HWND> created)
{
    controls_.reserve(created.size());
    for (std::size_t i = 0; i < created.size() && i < defs.size(); ++i) {
        controls_.emplace_back(defs[i].id, created[i]);
    }
}

HWND MadeControls::operator[](int id) const
{
    for (const auto& [madeId, control] : controls_) {
        if (madeId == id) {
            return control;
        }
    }
    return nullptr;
}

bool Control::Enabled() const
{
    return IsWindowEnabled(hwnd_) != FALSE;
}

void Control::SetEnabled(bool enabled)
{
    EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

std::wstring TextControl::Text() const
{
    return WindowText(hwnd_);
}

void TextControl::SetText(const std::wstring& text)
{
    SetWindowTextW(hwnd_, text.c_str());
}

bool Toggle::Checked() const
{
    return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Toggle::SetChecked(bool checked)
{
    SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::wstring ItemTextOf(HWND control, int index, UINT lengthMessage, UINT textMessage)
{
    const LRESULT length = SendMessageW(control, lengthMessage, index, 0);
    if (length < 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(control, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void DropDown::AddItems(const std::vector<std::wstring>& texts)
{
    for (const std::wstring& text : texts) {
        AddItem(text);
    }
}

void ListBox::AddItems(const std::vector<std::wstring>& texts)
{
    std::size_t chars = 0;
    for (const std::wstring& text : texts) {
        chars += text.size() + 1;
    }
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd_, LB_INITSTORAGE, texts.size(), static_cast<LPARAM>(chars * sizeof(wchar_t)));
    for (const std::wstring& text : texts) {
        AddItem(text);
    }
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

SYSTEMTIME DateTimePicker::Value() const
{
    SYSTEMTIME value = {};
    SendMessageW(hwnd_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value));
    return value;
}

void DateTimePicker::SetValue(const SYSTEMTIME& value)
{
    SendMessageW(hwnd_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value));
}

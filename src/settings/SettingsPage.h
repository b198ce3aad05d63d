// What a page of the settings dialog provides: its controls, created from a table, and its handlers.
// The dialog frame owns the pages and routes their controls' notifications to them.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "base/ControlTable.h"
#include "settings/ValueBinding.h"
#include "base/Controls.h"

class SettingsDialog;

// Creates the controls of a table on a page (visible children of the sheet) in the dialog's default font, each at
// its rectangle scaled to the dialog's DPI; the dialog puts them at their places again when its DPI changes.
// Returns them by their ids, for the page's typed members.
MadeControls CreateControls(SettingsDialog& dialog, HWND sheet, const ControlDef* defs, std::size_t count);
template <std::size_t N> MadeControls CreateControls(SettingsDialog& dialog, HWND sheet, const ControlDef (&defs)[N])
{
    return CreateControls(dialog, sheet, defs, N);
}

class SettingsPage {
public:
    virtual ~SettingsPage() = default;
    // Creates the page's controls on its sheet; runs once while the dialog is created, before the load.
    virtual void Build(SettingsDialog& dialog, HWND sheet) = 0;
    // The stored values that controls of this page hold; asked once, after Build.
    virtual ValueBindings Bindings() const { return {}; }
    // A control of this page sent WM_COMMAND with this notification code; true when handled.
    virtual bool OnCommand(HWND control, int code) { return false; }
    // WM_CTLCOLOR* for a control of this page; a brush to use, or null for the default.
    virtual HBRUSH OnCtlColor(HDC dc, HWND control) { return nullptr; }
    // WM_NOTIFY from a control of this page; true when handled, with the answer in result.
    virtual bool OnNotify(NMHDR* header, LRESULT* result) { return false; }
    // WM_DRAWITEM for an owner-drawn control of this page; true when drawn.
    virtual bool OnDrawItem(DRAWITEMSTRUCT* item) { return false; }
    // Any page has just been selected; runs for every page, in page order, before OnSelected.
    virtual void OnAnyPageChange() {}
    // The page has just become the selected page.
    virtual void OnSelected() {}
    // The stored settings have been loaded into every page's controls (at the end of the dialog's creation).
    virtual void OnLoaded() {}
    // The dialog's DPI changed: every control of the page's tables stands at its new place in the new default
    // font; the page redoes what it sized, measured or gave a font of its own.
    virtual void OnDpiChanged(int dpi) {}
    // A message to the dialog window that no control sent (a device's notice, for one); true when handled.
    virtual bool OnDialogMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) { return false; }
};

// The six pages in tab order; the program entry makes them (each in the subsystem that owns its behaviour)
// and hands them to the dialog frame.
inline constexpr int kSettingsPageCount = 6;
// The pages' places in tab order; the frame names its tabs in this order.
enum PageIndex {
    kChimePageIndex,
    kReminderPageIndex,
    kWallpaperPageIndex,
    kInfoPageIndex,
    kHelpPageIndex,
    kVersionPageIndex,
};
using SettingsPages = std::array<std::unique_ptr<SettingsPage>, kSettingsPageCount>;

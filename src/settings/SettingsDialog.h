// The settings dialog SettingsDialog: its frame (O K button, page control, six pages), whose pages' controls are
// the live settings of the whole program, and the load and commit of them.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "settings/IniStore.h"
#include "settings/SettingsPage.h"
#include "base/FileExistence.h"
#include "base/HighContrast.h"
#include "base/MessageLoop.h"
#include "base/Window.h"

class SettingsDialog : public Window {
public:
    static constexpr const wchar_t* kClassName = L"TOptionEtcForm";
    static constexpr const wchar_t* kTitle = L"Sorabune";
    static constexpr int kClientWidth = 588;
    static constexpr int kClientHeight = 434;
    static constexpr int kPageCount = kSettingsPageCount;

    // The frame with the pages it shows, in tab order (the program entry makes them), on the entry's message loop;
    // the load and the commit open the registry's keys through openKey; pages that draw colours of their own ask
    // highContrast.
    SettingsDialog(ErrorReporter& errors, MessageLoop& loop, SettingsPages pages,
                   RegistryKeyOpener openKey = OpenRegistryKey, HighContrastFn highContrast = SystemHighContrast);
    ~SettingsDialog() override;

    // Creates the dialog hidden, owned by owner, with every control; then runs Load (the load from the
    // registry) when load is true. Tests pass false to get the design state.
    bool Create(HWND owner, bool load = true);
    // Shows the dialog on the page last selected and brings it to the front.
    void ShowDialog();

    // The loop the dialog runs in, where the pages watch what they wait for.
    MessageLoop& Loop() const { return loop_; }
    // The font of the pages' controls, among the window's Fonts().
    DpiFontSet::Id DefaultFont() const { return font_; }
    // A page's controls on its sheet in the dialog's font; their ids are checked against every other control's.
    MadeControls CreatePageControls(HWND sheet, std::span<const ControlDef> defs);
    // Ids that more than one control of the dialog was given (each further one once); none in a sound dialog.
    const std::vector<int>& SharedIds() const { return sharedIds_; }
    // Whether the pages draw in the system's colour pairs rather than their own colours.
    bool HighContrast() const { return highContrast_(); }
    // The file checker that the load and the purges share, so that its listings outlive one purge.
    FileExistence& Existence() { return existence_; }

    // Every page's bindings of stored values to its controls, in page order.
    const ValueBindings& Bindings() const;
    // Bindings whose names are not in the layout or whose controls hold another kind of value than their rows say;
    // none in a sound dialog.
    std::vector<std::wstring> UnfitBindings() const;

    int CurrentPage() const;
    // Selects a page as the user would, running PageControlChange.
    void SelectPage(int index);

    // The load (runs once from Create) and the commit (O K).
    void Load();
    void OnOk();
    // Runs on every page change: the reminder page refresh, then the information page build.
    void PageControlChange();

    SettingsPage& Page(int index) { return *pages_[index]; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    std::optional<SIZE> OuterSizeForDpi(int dpi) const override;
    void OnDpiChanged() override;

private:
    void BuildFrame();
    // The page control's display area, where the sheets lie.
    RECT SheetArea() const;
    void LayOutFrame();
    SettingsPage* PageOfControl(HWND control) const;
    bool PageKey(const MSG& key);
    void NoteId(int id);

    DpiFontSet::Id font_ = 0;
    HWND okBtn_ = nullptr;
    HWND pageControl_ = nullptr;
    std::array<HWND, kPageCount> sheets_ = {};
    MessageLoop& loop_;
    SettingsPages pages_;
    RegistryKeyOpener openKey_;
    HighContrastFn highContrast_;
    FileExistence existence_;
    std::unordered_set<int> ids_;
    std::vector<int> sharedIds_;
    mutable ValueBindings bindings_;
};

// The settings dialog TOptionEtcForm: its frame (O K button, page control, six pages) and typed access to
// its controls, which are the live settings of the whole program.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "settings/SettingsPage.h"
#include "shell/Window.h"

class OsirasePage;

class TOptionEtcForm : public Window {
public:
    static constexpr const wchar_t* kClassName = L"TOptionEtcForm";
    static constexpr const wchar_t* kTitle = L"Sorabune";
    static constexpr int kClientWidth = 588;
    static constexpr int kClientHeight = 434;
    static constexpr int kPageCount = 6;
    static constexpr int kJyouhouPage = 3;

    TOptionEtcForm();
    ~TOptionEtcForm() override;

    // Creates the dialog hidden, owned by owner, with every control; then runs FormCreate (the load from the
    // registry) when load is true. Tests pass false to get the design state.
    bool Create(HWND owner, bool load = true);
    // Shows the dialog on the page last selected and brings it to the front.
    void ShowDialog();

    // The control with this id (on the frame or any page), or null.
    HWND Control(int id) const;
    HFONT DefaultFont() const { return font_.Get(); }

    // Drop-down and list boxes: selected item position (-1 none), items.
    int Index(int id) const;
    void SetIndex(int id, int index);
    int ItemCount(int id) const;
    std::wstring ItemText(int id, int index) const;
    void AddItem(int id, const std::wstring& text);
    void DeleteItem(int id, int index);
    // Toggle buttons and check boxes: held down / ticked.
    bool Down(int id) const;
    void SetDown(int id, bool down);
    bool Enabled(int id) const;
    void SetEnabled(int id, bool enabled);
    std::wstring Text(int id) const;
    void SetText(int id, const std::wstring& text);
    // Date and time pickers.
    SYSTEMTIME DateTime(int id) const;
    void SetDateTime(int id, const SYSTEMTIME& value);

    int CurrentPage() const;
    // Selects a page as the user would, running PageControlChange.
    void SelectPage(int index);

    // The load (runs once from Create) and the commit (O K).
    void FormCreate();
    void OkBtnClick();
    // Runs on every page change: the reminder page refresh, then the information page build.
    void PageControlChange();

    OsirasePage& Osirase();
    SettingsPage& Page(int index) { return *pages_[index]; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void BuildFrame();
    SettingsPage* PageOfControl(HWND control) const;

    Font font_;
    Font okFont_;
    HWND pageControl_ = nullptr;
    std::array<HWND, kPageCount> sheets_ = {};
    std::array<std::unique_ptr<SettingsPage>, kPageCount> pages_;
};

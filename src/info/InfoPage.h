// The information page 各種情報: the machine's facts, built when the page is selected, and the memory figures
// that the tick refreshes once a second while the page is shown.
#pragma once

#include <memory>
#include <utility>

#include "info/InfoRules.h"
#include "settings/SettingsPage.h"

class InfoPage : public SettingsPage {
public:
    explicit InfoPage(DriveQueries drives) : drives_(std::move(drives)) {}

    void Build(SettingsDialog& dialog, HWND sheet) override;
    void OnAnyPageChange() override { shown_ = false; }
    void OnSelected() override;
    void OnDpiChanged(int dpi) override;

    // Whether the page is the one the dialog shows, from its own selection.
    bool IsShown() const { return shown_; }
    void UpdateMemoryFigures();

private:
    DriveQueries drives_;
    SettingsDialog* dialog_ = nullptr;
    MadeControls made_;
    bool shown_ = false;
};
std::unique_ptr<InfoPage> MakeInfoPage(DriveQueries drives);

// The system's queries behind the drives block (GetDriveTypeW, GetDiskFreeSpaceExW).
DriveQueries SystemDriveQueries();

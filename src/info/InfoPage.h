// The information page 各種情報: the machine's facts, built when the page is selected, and the memory figures
// that the tick refreshes once a second while the page is shown.
#pragma once

#include <memory>

#include "info/InfoRules.h"
#include "settings/SettingsPage.h"

class InfoPage : public SettingsPage {
public:
    void Build(SettingsDialog& form, HWND sheet) override;
    void OnAnyPageChange() override { shown_ = false; }
    void OnSelected() override;
    void OnDpiChanged(int dpi) override;

    // Whether the page is the one the dialog shows, from its own selection.
    bool IsShown() const { return shown_; }
    void UpdateMemoryFigures();

private:
    SettingsDialog* form_ = nullptr;
    bool shown_ = false;
};
std::unique_ptr<InfoPage> MakeInfoPage();

// Reads the memory status and writes the three memory labels of the information page.
void UpdateMemLabels(SettingsDialog& form);

// Seam for the tests: the queries behind the drives block, from the next selection of the page on. Queries
// without both functions restore the system's; the previous ones are returned.
DriveQueries SetDriveQueries(DriveQueries queries);

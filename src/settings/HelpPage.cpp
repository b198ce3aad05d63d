// The help page ヘルプ: the manual, read-only, with a vertical scroll bar.
#include <windows.h>
#include <commctrl.h>

#include "settings/HelpPage.h"
#include "settings/SettingsIds.h"
#include "settings/HelpText.h"
#include "settings/SettingsDialog.h"

namespace {
const ControlDef kControls[] = {
    {IDC_HELP_TEXT, WC_EDITW, L"", 8, 8, 548, 332,
     ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP},
};

class HelpPage : public SettingsPage {
public:
    void Build(SettingsDialog& dialog, HWND sheet) override
    {
        text_ = TextField(CreateControls(dialog, sheet, kControls)[IDC_HELP_TEXT]);
        text_.SetText(HelpText());
    }

    // A read-only edit asks for the colours of a label; the manual reads better on the window colour.
    HBRUSH OnCtlColor(HDC dc, HWND control) override
    {
        if (!text_.Is(control)) {
            return nullptr;
        }
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return GetSysColorBrush(COLOR_WINDOW);
    }

private:
    TextField text_;
};
} // namespace

std::unique_ptr<SettingsPage> MakeHelpPage()
{
    return std::make_unique<HelpPage>();
}

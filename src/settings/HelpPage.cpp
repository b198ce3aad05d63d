// The help page ヘルプ: the manual, read-only, with a vertical scroll bar.
#include <windows.h>
#include <commctrl.h>

#include "resource.h"
#include "settings/HelpText.h"
#include "settings/OptionEtcForm.h"

namespace {
const ControlDef kControls[] = {
    {IDC_MEMO1, WC_EDITW, L"", 8, 8, 548, 332,
     ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP},
};

class HelpPage : public SettingsPage {
public:
    void Build(TOptionEtcForm& form, HWND sheet) override
    {
        CreateControls(form, sheet, kControls);
        form.SetText(IDC_MEMO1, HelpText());
    }
};
} // namespace

std::unique_ptr<SettingsPage> MakeHelpPage()
{
    return std::make_unique<HelpPage>();
}

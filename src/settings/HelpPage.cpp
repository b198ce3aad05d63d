// The help page ヘルプ: the manual in a read-only memo.
#include "settings/OptionEtcForm.h"

#include "resource.h"

namespace {
class HelpPage : public SettingsPage {
public:
    void Build(TOptionEtcForm& form, HWND sheet) override {}
};
} // namespace

std::unique_ptr<SettingsPage> MakeHelpPage()
{
    return std::make_unique<HelpPage>();
}

// The information page 各種情報: memory, drives, screen and names.
#include "settings/OptionEtcForm.h"

#include "resource.h"

namespace {
class JyouhouPage : public SettingsPage {
public:
    void Build(TOptionEtcForm& form, HWND sheet) override {}
};
} // namespace

std::unique_ptr<SettingsPage> MakeJyouhouPage()
{
    return std::make_unique<JyouhouPage>();
}

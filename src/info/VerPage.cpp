// The version page バージョン: title, date, author and the two links.
#include "settings/OptionEtcForm.h"

#include "resource.h"

namespace {
class VerPage : public SettingsPage {
public:
    void Build(TOptionEtcForm& form, HWND sheet) override {}
};
} // namespace

std::unique_ptr<SettingsPage> MakeVerPage()
{
    return std::make_unique<VerPage>();
}

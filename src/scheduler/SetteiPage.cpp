// The basic page 基本設定: the hourly chime, its sounds and the autostart check box.
#include "settings/OptionEtcForm.h"

#include "resource.h"

namespace {
class SetteiPage : public SettingsPage {
public:
    void Build(TOptionEtcForm& form, HWND sheet) override {}
};
} // namespace

std::unique_ptr<SettingsPage> MakeSetteiPage()
{
    return std::make_unique<SetteiPage>();
}

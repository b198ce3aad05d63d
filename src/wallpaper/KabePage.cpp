// The wallpaper page 壁紙チェンジャー: the wallpaper list, its buttons, style, order and timing.
#include "settings/OptionEtcForm.h"

#include "resource.h"

namespace {
class KabePage : public SettingsPage {
public:
    void Build(TOptionEtcForm& form, HWND sheet) override {}
};
} // namespace

std::unique_ptr<SettingsPage> MakeKabePage()
{
    return std::make_unique<KabePage>();
}

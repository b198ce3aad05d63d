// The version page バージョン: the program's title and version, release date, author and the two links.
#include <windows.h>
#include <commctrl.h>

#include "resource.h"
#include "settings/OptionEtcForm.h"

namespace {
constexpr wchar_t kAuthorName[] = L"空舟工房";
constexpr wchar_t kMailAddress[] = L"sorabune@example.jp";
constexpr wchar_t kHomepageUrl[] = L"http://www.example.jp/sorabune/";

// The captions of the links stand 20 px above them, so they are only as tall as their characters; the
// links keep the full line height for the descenders of their letters.
const ControlDef kControls[] = {
    {IDC_APPTITLEVERLBL, WC_STATICW, L"Sorabune ver 4a", 137, 116, 300, 40, SS_LEFT | SS_NOPREFIX},
    {IDC_DATELBL, WC_STATICW, L"2003.10.15", 423, 48, 120, 22, SS_LEFT},
    {IDC_MYNAMELBL, WC_STATICW, kAuthorName, 424, 72, 130, 22, SS_LEFT | SS_NOPREFIX},
    {IDC_MAILTITLELBL, WC_STATICW, L"メール", 48, 216, 120, 20, SS_LEFT},
    {IDC_MAILADDLBL, WC_STATICW, kMailAddress, 48, 236, 300, 22, SS_LEFT | SS_NOPREFIX | SS_NOTIFY},
    {IDC_HOMEPAGETITLELBL, WC_STATICW, L"ホームページ", 48, 268, 160, 20, SS_LEFT},
    {IDC_HOMEPAGEADDLBL, WC_STATICW, kHomepageUrl, 48, 288, 360, 22, SS_LEFT | SS_NOPREFIX | SS_NOTIFY},
};

class VerPage : public SettingsPage {
public:
    void Build(TOptionEtcForm& form, HWND sheet) override
    {
        CreateControls(form, sheet, kControls);
        titleFont_ = CreateUiFont(L"ＭＳ Ｐゴシック", 33, true);
        textFont_ = CreateUiFont(L"ＭＳ Ｐゴシック", 20);
        SendMessageW(form.Control(IDC_APPTITLEVERLBL), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.Get()), FALSE);
        for (int id :
             {IDC_DATELBL, IDC_MYNAMELBL, IDC_MAILTITLELBL, IDC_MAILADDLBL, IDC_HOMEPAGETITLELBL, IDC_HOMEPAGEADDLBL}) {
            SendMessageW(form.Control(id), WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.Get()), FALSE);
        }
    }

private:
    Font titleFont_;
    Font textFont_;
};
} // namespace

std::unique_ptr<SettingsPage> MakeVerPage()
{
    return std::make_unique<VerPage>();
}

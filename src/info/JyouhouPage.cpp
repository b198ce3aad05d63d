// The information page 各種情報: labels for memory, drives, screen and names. The figures are filled when
// the page is selected and by the scheduler's memory refresh.
#include <windows.h>
#include <commctrl.h>

#include "info/JyouhouPage.h"
#include "resource.h"
#include "settings/OptionEtcForm.h"

namespace {
// The three captions keep the right edge of their design place and are wide enough for seven
// full-width characters.
const ControlDef kControls[] = {
    {IDC_NAMELABEL, WC_STATICW, L"", 34, 36, 500, 36, SS_LEFT | SS_NOPREFIX},
    {IDC_LABEL7, WC_STATICW, L"物理メモリ容量", 19, 80, 110, 15, SS_RIGHT},
    {IDC_MEMALLLABEL, WC_STATICW, L"0", 132, 80, 61, 15, SS_RIGHT},
    {IDC_LABEL10, WC_STATICW, L"KB", 196, 80, 30, 15, SS_LEFT},
    {IDC_LABEL8, WC_STATICW, L"空きメモリ容量", 19, 100, 110, 15, SS_RIGHT},
    {IDC_MEMAKILABEL, WC_STATICW, L"0", 132, 100, 61, 15, SS_RIGHT},
    {IDC_LABEL11, WC_STATICW, L"KB", 196, 100, 30, 15, SS_LEFT},
    {IDC_LABEL9, WC_STATICW, L"メモリ使用率", 19, 120, 110, 15, SS_RIGHT},
    {IDC_MEMRITULABEL, WC_STATICW, L"0", 132, 120, 61, 15, SS_RIGHT},
    {IDC_LABEL12, WC_STATICW, L"%", 196, 120, 30, 15, SS_LEFT},
    {IDC_SCREENLABEL, WC_STATICW, L"", 310, 80, 240, 52, SS_LEFT | SS_NOPREFIX},
    {IDC_DRIVEHDDLABEL, WC_STATICW, L"", 37, 148, 510, 196, SS_LEFT | SS_NOPREFIX},
};

class JyouhouPage : public SettingsPage {
public:
    void Build(TOptionEtcForm& form, HWND sheet) override { CreateControls(form, sheet, kControls); }
};
} // namespace

std::unique_ptr<SettingsPage> MakeJyouhouPage()
{
    return std::make_unique<JyouhouPage>();
}

// Placeholder until the information page fills its memory labels.
void UpdateMemLabels(TOptionEtcForm& form) {}

// The wallpaper page 壁紙チェンジャー: the wallpaper list with its buttons, the style, order and timing
// choices, the manual change button and the preview.
#include <windows.h>
#include <commctrl.h>

#include "resource.h"
#include "settings/OptionEtcForm.h"

namespace {
constexpr DWORD kDropDown = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;

// The preview lies exactly inside the panel's one-pixel sunken edge; it comes first so that it lies above
// the panel, which clips it out of its own painting.
constexpr int kPanelEdge = 1;
constexpr int kImgLeft = 305;
constexpr int kImgTop = 175;
constexpr int kImgWidth = 220;
constexpr int kImgHeight = 165;

const ControlDef kControls[] = {
    {IDC_KABELISTLBL, WC_STATICW, L"壁紙リスト", 30, 10, 200, 16, SS_LEFT},
    {IDC_KABELIST, WC_LISTBOXW, L"", 30, 28, 496, 97,
     LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_BORDER | WS_TABSTOP},
    {IDC_KABEADD, WC_BUTTONW, L"追  加", 30, 133, 80, 28, kButton},
    {IDC_KABEDEL, WC_BUTTONW, L"削  除", 116, 133, 80, 28, kButton},
    {IDC_KABEUP, WC_BUTTONW, L"U  P", 202, 133, 80, 28, kButton},
    {IDC_KABEDOWN, WC_BUTTONW, L"DOWN", 288, 133, 80, 28, kButton},
    {IDC_KABECHANGEBTN, WC_BUTTONW, L"壁 紙 手 動 変 更", 380, 133, 146, 28, kButton},
    {IDC_KABESTYLELBL, WC_STATICW, L"表示方法", 30, 176, 220, 16, SS_LEFT},
    {IDC_KABESTYLE, WC_COMBOBOXW, L"", 30, 194, 220, 200, kDropDown},
    {IDC_KABEJYUNNLBL, WC_STATICW, L"表示順", 30, 236, 220, 16, SS_LEFT},
    {IDC_KABEJYUNN, WC_COMBOBOXW, L"", 30, 254, 220, 200, kDropDown},
    {IDC_KABECHANGETIMELBL, WC_STATICW, L"自動変更", 30, 296, 220, 16, SS_LEFT},
    {IDC_KABECHANGETIME, WC_COMBOBOXW, L"", 30, 314, 220, 300, kDropDown},
    {IDC_KABEIMG, WC_STATICW, L"", kImgLeft, kImgTop, kImgWidth, kImgHeight, SS_OWNERDRAW},
    {IDC_KABEPANEL, WC_STATICW, L"", kImgLeft - kPanelEdge, kImgTop - kPanelEdge, kImgWidth + 2 * kPanelEdge,
     kImgHeight + 2 * kPanelEdge, SS_SUNKEN | WS_CLIPSIBLINGS},
};

constexpr const wchar_t* kStyleItems[] = {L"中央に表示", L"並べて表示", L"拡大して表示"};
constexpr const wchar_t* kJyunnItems[] = {L"順番に表示", L"ランダムに表示"};
constexpr const wchar_t* kChangeTimeItems[] = {
    L"自動変更しない", L"Sorabune 起動時", L"毎時 ０分", L"毎時 ０分 + ３０分", L"15分おき", L"10分おき",
    L"5分おき",        L"3分おき",         L"1分おき",   L"30秒おき",           L"10秒おき"};

template <std::size_t N> void FillDropDown(TOptionEtcForm& form, int id, const wchar_t* const (&items)[N])
{
    for (const wchar_t* item : items) {
        form.AddItem(id, item);
    }
    form.SetIndex(id, 0);
}

class KabePage : public SettingsPage {
public:
    void Build(TOptionEtcForm& form, HWND sheet) override
    {
        CreateControls(form, sheet, kControls);
        FillDropDown(form, IDC_KABESTYLE, kStyleItems);
        FillDropDown(form, IDC_KABEJYUNN, kJyunnItems);
        FillDropDown(form, IDC_KABECHANGETIME, kChangeTimeItems);
    }
};
} // namespace

std::unique_ptr<SettingsPage> MakeKabePage()
{
    return std::make_unique<KabePage>();
}

// The information page 各種情報: labels for memory, drives, screen and names. The three text blocks are built
// each time the page is selected; the scheduler's tick refreshes the memory figures.
#include <windows.h>
#include <commctrl.h>
#include <lmcons.h>

#include <string>
#include <utility>

#include "info/JyouhouPage.h"
#include "info/JyouhouRules.h"
#include "resource.h"
#include "settings/OptionEtcForm.h"
#include "shell/Handles.h"

namespace {
// The three captions keep the right edge of their design place and are wide enough for seven
// full-width characters. The three blocks start empty and take the size of their text when built.
const ControlDef kControls[] = {
    {IDC_NAMELABEL, WC_STATICW, L"", 34, 36, 0, 0, SS_LEFT | SS_NOPREFIX},
    {IDC_LABEL7, WC_STATICW, L"物理メモリ容量", 19, 80, 110, 15, SS_RIGHT},
    {IDC_MEMALLLABEL, WC_STATICW, L"0", 132, 80, 61, 15, SS_RIGHT},
    {IDC_LABEL10, WC_STATICW, L"KB", 196, 80, 30, 15, SS_LEFT},
    {IDC_LABEL8, WC_STATICW, L"空きメモリ容量", 19, 100, 110, 15, SS_RIGHT},
    {IDC_MEMAKILABEL, WC_STATICW, L"0", 132, 100, 61, 15, SS_RIGHT},
    {IDC_LABEL11, WC_STATICW, L"KB", 196, 100, 30, 15, SS_LEFT},
    {IDC_LABEL9, WC_STATICW, L"メモリ使用率", 19, 120, 110, 15, SS_RIGHT},
    {IDC_MEMRITULABEL, WC_STATICW, L"0", 132, 120, 61, 15, SS_RIGHT},
    {IDC_LABEL12, WC_STATICW, L"%", 196, 120, 30, 15, SS_LEFT},
    {IDC_SCREENLABEL, WC_STATICW, L"", 310, 80, 0, 0, SS_LEFT | SS_NOPREFIX},
    {IDC_DRIVEHDDLABEL, WC_STATICW, L"", 37, 148, 0, 0, SS_LEFT | SS_NOPREFIX},
};

// Sets a label's text and makes it exactly as large as the text in its font.
void SetSizedText(HWND label, const std::wstring& text)
{
    SetWindowTextW(label, text.c_str());
    RECT rc = {};
    {
        WindowDC dc(label);
        auto font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
        SelectInDC select(dc.Get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
        DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rc, DT_CALCRECT | DT_NOPREFIX);
    }
    SetWindowPos(label, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring DrivesBlock()
{
    DriveQueries queries;
    queries.driveType = [](const std::wstring& root) { return GetDriveTypeW(root.c_str()); };
    queries.diskSpace = [](const std::wstring& root, std::uint64_t* freeToCaller, std::uint64_t* total) {
        ULARGE_INTEGER available = {};
        ULARGE_INTEGER bytes = {};
        if (!GetDiskFreeSpaceExW(root.c_str(), &available, &bytes, nullptr)) {
            return false;
        }
        *freeToCaller = available.QuadPart;
        *total = bytes.QuadPart;
        return true;
    };
    return DrivesBlockText(queries);
}

std::wstring ScreenBlock()
{
    int dpi = 0;
    {
        WindowDC screen;
        dpi = GetDeviceCaps(screen.Get(), LOGPIXELSX);
    }
    return ScreenBlockText(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), dpi);
}

// Each name has its own buffer of the largest size the system allows; a failed query shows an empty name.
std::wstring NamesBlock()
{
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD computerSize = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(computer, &computerSize)) {
        computer[0] = L'\0';
    }
    wchar_t user[UNLEN + 1] = {};
    DWORD userSize = UNLEN + 1;
    if (!GetUserNameW(user, &userSize)) {
        user[0] = L'\0';
    }
    return NamesBlockText(computer, user);
}

class JyouhouPage : public SettingsPage {
public:
    void Build(TOptionEtcForm& form, HWND sheet) override
    {
        form_ = &form;
        CreateControls(form, sheet, kControls);
    }

    void OnSelected() override
    {
        SetSizedText(form_->Control(IDC_DRIVEHDDLABEL), DrivesBlock());
        SetSizedText(form_->Control(IDC_SCREENLABEL), ScreenBlock());
        SetSizedText(form_->Control(IDC_NAMELABEL), NamesBlock());
    }

private:
    TOptionEtcForm* form_ = nullptr;
};
} // namespace

std::unique_ptr<SettingsPage> MakeJyouhouPage()
{
    return std::make_unique<JyouhouPage>();
}

void UpdateMemLabels(TOptionEtcForm& form)
{
    // The extended status, so that machines with more than 4 GB show their true figures.
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status)) {
        return;
    }
    MemoryTexts texts = MemoryLabelTexts(status.ullTotalPhys, status.ullAvailPhys, status.dwMemoryLoad);
    // A label is set only when its figure changed: setting a text costs a round trip to the window system
    // and a repaint, and from one second to the next most figures stay the same.
    const std::pair<int, const std::wstring*> labels[] = {
        {IDC_MEMALLLABEL, &texts.all}, {IDC_MEMAKILABEL, &texts.aki}, {IDC_MEMRITULABEL, &texts.ritu}};
    for (const auto& [id, text] : labels) {
        if (form.Text(id) != *text) {
            form.SetText(id, *text);
        }
    }
}

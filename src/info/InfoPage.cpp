// The information page 各種情報: labels for memory, drives, screen and names. The three text blocks are built
// each time the page is selected (drives beyond the page's bottom scroll); the tick refreshes the memory figures.
#include <windows.h>
#include <commctrl.h>
#include <lmcons.h>

#include <algorithm>
#include <string>
#include <utility>

#include "info/InfoPage.h"
#include "info/InfoRules.h"
#include "info/InfoIds.h"
#include "settings/SettingsDialog.h"
#include "base/Dpi.h"
#include "base/Handles.h"
#include "base/Subclass.h"

namespace {
// The three captions keep the right edge of their design place and are wide enough for seven
// full-width characters. The three blocks start empty and take the size of their text when built.
const ControlDef kControls[] = {
    {IDC_NAMES, WC_STATICW, L"", 34, 36, 0, 0, SS_LEFT | SS_NOPREFIX},
    {IDC_MEMORY_TOTAL_CAPTION, WC_STATICW, L"物理メモリ容量", 19, 80, 110, 15, SS_RIGHT},
    {IDC_MEMORY_TOTAL, WC_STATICW, L"0", 132, 80, 61, 15, SS_RIGHT},
    {IDC_MEMORY_TOTAL_UNIT, WC_STATICW, L"KB", 196, 80, 30, 15, SS_LEFT},
    {IDC_MEMORY_FREE_CAPTION, WC_STATICW, L"空きメモリ容量", 19, 100, 110, 15, SS_RIGHT},
    {IDC_MEMORY_FREE, WC_STATICW, L"0", 132, 100, 61, 15, SS_RIGHT},
    {IDC_MEMORY_FREE_UNIT, WC_STATICW, L"KB", 196, 100, 30, 15, SS_LEFT},
    {IDC_MEMORY_LOAD_CAPTION, WC_STATICW, L"メモリ使用率", 19, 120, 110, 15, SS_RIGHT},
    {IDC_MEMORY_LOAD, WC_STATICW, L"0", 132, 120, 61, 15, SS_RIGHT},
    {IDC_MEMORY_LOAD_UNIT, WC_STATICW, L"%", 196, 120, 30, 15, SS_LEFT},
    {IDC_SCREEN, WC_STATICW, L"", 310, 80, 0, 0, SS_LEFT | SS_NOPREFIX},
    {IDC_DRIVES, WC_STATICW, L"", 37, 148, 0, 0, SS_LEFT | SS_NOPREFIX},
};

// Each memory figure and its unit. A figure in kilobytes reaches ten digits from about 9.5 GB of memory on; all
// three figures are as wide as ten of the font's widest digits, so that their units stay in one column.
constexpr std::pair<int, int> kFiguresAndUnits[] = {{IDC_MEMORY_TOTAL, IDC_MEMORY_TOTAL_UNIT},
                                                    {IDC_MEMORY_FREE, IDC_MEMORY_FREE_UNIT},
                                                    {IDC_MEMORY_LOAD, IDC_MEMORY_LOAD_UNIT}};
constexpr std::size_t kWidestFigureDigits = 10;
// Between a figure's label and its unit, at 96 DPI, as in the table.
constexpr int kFigureUnitGap = 3;

// How a plain left-aligned label without prefixes lays out its text; the drives block paints the same way.
constexpr UINT kLabelTextFormat = DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX;
// Space kept free between the drives block and the page's bottom edge.
constexpr int kDrivesBottomMargin = 4;

HGDIOBJ LabelFont(HWND label)
{
    auto font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    return font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT);
}

SIZE TextSize(HWND label, const std::wstring& text)
{
    WindowDC dc(label);
    SelectInDC select(dc.Get(), LabelFont(label));
    RECT rc = {};
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rc, DT_CALCRECT | DT_NOPREFIX);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

int LineHeight(HWND label)
{
    WindowDC dc(label);
    SelectInDC select(dc.Get(), LabelFont(label));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc.Get(), &metrics);
    return std::max(static_cast<int>(metrics.tmHeight), 1);
}

// Sets a label's text and makes it exactly as large as the text in its font.
void SetSizedText(HWND label, const std::wstring& text)
{
    SetWindowTextW(label, text.c_str());
    SIZE size = TextSize(label, text);
    SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT PlaceInParent(HWND control)
{
    RECT place = {};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// The figures' labels take the width of the widest figure in their font at the window's DPI (never less than
// the table gives them), and each unit follows its figure.
void FitMemoryFigures(const MadeControls& made, int dpi)
{
    // The three labels share the page's font: one measuring context serves them all.
    HWND first = made[kFiguresAndUnits[0].first];
    const RECT design = PlaceInParent(first);
    int width = design.right - design.left;
    {
        WindowDC dc(first);
        SelectInDC select(dc.Get(), LabelFont(first));
        for (wchar_t digit = L'0'; digit <= L'9'; ++digit) {
            const std::wstring figure(kWidestFigureDigits, digit);
            RECT rc = {};
            DrawTextW(dc.Get(), figure.c_str(), static_cast<int>(figure.size()), &rc, DT_CALCRECT | DT_NOPREFIX);
            width = std::max(width, static_cast<int>(rc.right - rc.left));
        }
    }
    for (const auto& [figureId, unitId] : kFiguresAndUnits) {
        HWND figure = made[figureId];
        const RECT place = PlaceInParent(figure);
        SetWindowPos(figure, nullptr, 0, 0, width, place.bottom - place.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(made[unitId], nullptr, place.left + width + Scale(kFigureUnitGap, dpi),
                     PlaceInParent(made[unitId]).top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The drives block is sized to its text as far down as the page reaches, in whole lines; the drives below
// that scroll into view, a line at a time, under a scroll bar of the label's own. It paints its text as the
// plain label would, moved up by the scroll position, so that unscrolled it looks the same.
void SetDrivesText(HWND label, const std::wstring& text, int dpi)
{
    SetWindowTextW(label, text.c_str());
    const SIZE size = TextSize(label, text);
    const int line = LineHeight(label);
    RECT page = {};
    GetClientRect(GetParent(label), &page);
    const RECT place = PlaceInParent(label);
    const int room =
        std::max(0, static_cast<int>(page.bottom - Scale(kDrivesBottomMargin, dpi) - place.top)) / line * line;
    const bool scrolls = size.cy > room;
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = std::max(static_cast<int>(size.cy), 1) - 1;
    // A page as large as the range hides the scroll bar.
    info.nPage = scrolls ? static_cast<UINT>(room) : static_cast<UINT>(info.nMax + 1);
    SetScrollInfo(label, SB_VERT, &info, FALSE);
    SetWindowPos(label, nullptr, 0, 0, size.cx + (scrolls ? MetricForDpi(SM_CXVSCROLL, dpi) : 0),
                 scrolls ? room : size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(label, nullptr, TRUE);
}

void ScrollDrives(HWND label, int request)
{
    const int line = LineHeight(label);
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(label, SB_VERT, &info);
    int pos = info.nPos;
    switch (request) {
    case SB_LINEUP:
        pos -= line;
        break;
    case SB_LINEDOWN:
        pos += line;
        break;
    case SB_PAGEUP:
        pos -= static_cast<int>(info.nPage);
        break;
    case SB_PAGEDOWN:
        pos += static_cast<int>(info.nPage);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        pos = info.nTrackPos + line / 2;
        break;
    case SB_TOP:
        pos = 0;
        break;
    case SB_BOTTOM:
        pos = info.nMax;
        break;
    default:
        return;
    }
    // Whole lines only: the top line is never cut.
    pos = std::clamp(pos, 0, std::max(0, info.nMax + 1 - static_cast<int>(info.nPage))) / line * line;
    if (pos != info.nPos) {
        SetScrollPos(label, SB_VERT, pos, TRUE);
        InvalidateRect(label, nullptr, TRUE);
    }
}

void PaintDrives(HWND label, HDC given)
{
    PAINTSTRUCT ps = {};
    HDC dc = given ? given : BeginPaint(label, &ps);
    RECT rc = {};
    GetClientRect(label, &rc);
    // The page's colours for a label, as the plain label asks for them.
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(label), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label)));
    FillRect(dc, &rc, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    {
        SelectInDC select(dc, LabelFont(label));
        const std::wstring text = WindowText(label);
        rc.top -= (GetWindowLongPtrW(label, GWL_STYLE) & WS_VSCROLL) ? GetScrollPos(label, SB_VERT) : 0;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, kLabelTextFormat);
    }
    if (!given) {
        EndPaint(label, &ps);
    }
}

// The drives label scrolls and paints its text itself; everything else is the static control's own.
LRESULT DrivesLabelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const SubclassLink& link)
{
    switch (msg) {
    case WM_NCHITTEST:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        // A label lets the mouse through to the page and ignores clicks; its scroll bar has to take them.
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_VSCROLL:
        ScrollDrives(hwnd, LOWORD(wParam));
        return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        PaintDrives(hwnd, msg == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : nullptr);
        return 0;
    default:
        return link.Pass(hwnd, msg, wParam, lParam);
    }
}

} // namespace

DriveQueries SystemDriveQueries()
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
    return queries;
}

namespace {
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

} // namespace

void InfoPage::Build(SettingsDialog& dialog, HWND sheet)
{
    dialog_ = &dialog;
    made_ = CreateControls(dialog, sheet, kControls);
    AddSubclass<DrivesLabelProc>(made_[IDC_DRIVES], dialog.Errors());
    FitMemoryFigures(made_, dialog.Dpi());
}

void InfoPage::OnSelected()
{
    shown_ = true;
    SetDrivesText(made_[IDC_DRIVES], DrivesBlockText(drives_), dialog_->Dpi());
    SetSizedText(made_[IDC_SCREEN], ScreenBlock());
    SetSizedText(made_[IDC_NAMES], NamesBlock());
}

// The blocks built so far take the size of their texts in the new font; the texts stay those of the moment the
// page was selected.
void InfoPage::OnDpiChanged(int dpi)
{
    FitMemoryFigures(made_, dpi);
    HWND drives = made_[IDC_DRIVES];
    if (const std::wstring text = WindowText(drives); !text.empty()) {
        SetScrollPos(drives, SB_VERT, 0, FALSE);
        SetDrivesText(drives, text, dpi);
    }
    for (int id : {IDC_SCREEN, IDC_NAMES}) {
        HWND label = made_[id];
        if (const std::wstring text = WindowText(label); !text.empty()) {
            SetSizedText(label, text);
        }
    }
}

void InfoPage::UpdateMemoryFigures()
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
        {IDC_MEMORY_TOTAL, &texts.total}, {IDC_MEMORY_FREE, &texts.free}, {IDC_MEMORY_LOAD, &texts.load}};
    for (const auto& [id, text] : labels) {
        if (WindowText(made_[id]) != *text) {
            SetWindowTextW(made_[id], text->c_str());
        }
    }
}

std::unique_ptr<InfoPage> MakeInfoPage(DriveQueries drives)
{
    return std::make_unique<InfoPage>(std::move(drives));
}

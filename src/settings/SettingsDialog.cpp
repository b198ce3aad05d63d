// The settings dialog frame: window, O K button, page control with its six sheets, routing of control
// notifications to the pages.
#include "settings/SettingsDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

#include "settings/SettingsIds.h"
#include "settings/SettingsLayout.h"
#include "base/Dpi.h"
#include "base/DpiFonts.h"
#include "base/Handles.h"
#include "base/MessageLoop.h"
#include "base/Subclass.h"

namespace {
constexpr wchar_t kSheetClass[] = L"TTabSheet";
constexpr DWORD kWindowStyle = WS_POPUP | WS_CAPTION | WS_BORDER;
// An owned window gets no taskbar button of its own; WS_EX_APPWINDOW gives it one, so that the dialog, once behind
// other windows, is found again without the tray icon.
constexpr DWORD kWindowExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;

constexpr const wchar_t* kTabTexts[SettingsDialog::kPageCount] = {L"基本設定", L"お知らせタイマー", L"壁紙チェンジャー",
                                                                  L"各種情報", L"ヘルプ",           L"バージョン"};
constexpr int kSheetIds[SettingsDialog::kPageCount] = {IDC_CHIME_SHEET, IDC_REMINDER_SHEET, IDC_WALLPAPER_SHEET,
                                                       IDC_INFO_SHEET,  IDC_HELP_SHEET,     IDC_VERSION_SHEET};

// The margin on each side of an item's text in an open list, inside the list's frame.
constexpr int kDroppedTextMargin = 4;

constexpr UiFontStyle kFont = {15};
constexpr UiFontStyle kOkFont = {20, true};
// The default button: Enter anywhere in the dialog presses it.
const ControlDef kOkBtn[] = {{IDC_OKBTN, WC_BUTTONW, L"O K", 468, 396, 110, 32, WS_TABSTOP | BS_DEFPUSHBUTTON}};
const ControlDef kPageControl[] = {
    {IDC_PAGECONTROL, WC_TABCONTROLW, L"", 8, 8, 572, 380, WS_TABSTOP | WS_CLIPSIBLINGS}};

// A sheet hands everything its controls report to the dialog, so one window procedure serves all pages.
LRESULT CALLBACK SheetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_DRAWITEM:
    case WM_DROPFILES:
        return SendMessageW(GetAncestor(hwnd, GA_ROOT), msg, wParam, lParam);
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

// An open list that would reach beyond the right edge of its screen opens further left instead, as far as the
// screen's left edge (Wine leaves it where the drop-down is).
LRESULT KeepListOnScreenProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const SubclassLink& link)
{
    if (msg == WM_WINDOWPOSCHANGING) {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(pos->flags & SWP_NOMOVE)) {
            RECT rc = {};
            GetWindowRect(hwnd, &rc);
            const int width = (pos->flags & SWP_NOSIZE) ? static_cast<int>(rc.right - rc.left) : pos->cx;
            MONITORINFO monitor = {};
            monitor.cbSize = sizeof(monitor);
            GetMonitorInfoW(MonitorFromPoint({pos->x, pos->y}, MONITOR_DEFAULTTONEAREST), &monitor);
            if (pos->x + width > monitor.rcWork.right) {
                pos->x =
                    std::max(static_cast<int>(monitor.rcWork.right) - width, static_cast<int>(monitor.rcWork.left));
            }
        }
    }
    return link.Pass(hwnd, msg, wParam, lParam);
}

// The open list of a drop-down is as wide as its widest item, so that a long file name reads whole, but no
// wider than the screen it opens on, and never narrower than the drop-down itself. Fitted as the list opens, at
// the DPI of then: fitting each list at start-up cost the screen and the list a dozen questions per drop-down.
void FitDroppedWidth(HWND combo, int dpi, ErrorReporter& errors)
{
    int widest = 0;
    {
        WindowDC dc(combo);
        SelectInDC select(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(combo, WM_GETFONT, 0, 0)));
        auto measure = [&](const std::wstring& text) {
            SIZE extent = {};
            GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
            widest = std::max(widest, static_cast<int>(extent.cx));
        };
        const DropDown list(combo);
        for (int i = 0; i < list.ItemCount(); ++i) {
            measure(list.ItemText(i));
        }
    }
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(combo, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT rc = {};
    GetWindowRect(combo, &rc);
    const int wanted = widest + 2 * (MetricForDpi(SM_CXEDGE, dpi) + Scale(kDroppedTextMargin, dpi));
    int width = std::max(std::min(wanted, static_cast<int>(monitor.rcWork.right - monitor.rcWork.left)),
                         static_cast<int>(rc.right - rc.left));
    SendMessageW(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width), 0);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(combo, &info) && info.hwndList) {
        AddSubclass<KeepListOnScreenProc>(info.hwndList, errors);
    }
}

void RegisterSheetClass()
{
    RegisterClassOnce(kSheetClass, SheetProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}
} // namespace

MadeControls CreateControls(SettingsDialog& dialog, HWND sheet, const ControlDef* defs, std::size_t count)
{
    return dialog.CreatePageControls(sheet, std::span(defs, count));
}

SettingsDialog::SettingsDialog(ErrorReporter& errors, MessageLoop& loop, SettingsPages pages, RegistryKeyOpener openKey,
                               HighContrastFn highContrast)
    : Window(errors), loop_(loop), pages_(std::move(pages)), openKey_(std::move(openKey)),
      highContrast_(std::move(highContrast))
{
}

// The pages' controls go with the window, and the subclasses of some call their page as they go.
SettingsDialog::~SettingsDialog()
{
    DestroyWindowNow();
}

bool SettingsDialog::Create(HWND owner, bool load)
{
    RegisterWindowClass(kClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    RegisterSheetClass();
    if (!CreateCentredWindow(kWindowExStyle, kClassName, kTitle, kWindowStyle, owner)) {
        return false;
    }
    BuildFrame();
    // Tab, arrow keys and mnemonics move through the pages' controls as in any dialog.
    AddDialogWindow(hwnd_);
    if (load) {
        Load();
    }
    return true;
}

std::optional<SIZE> SettingsDialog::OuterSizeForDpi(int dpi) const
{
    return OuterSizeForClient(kWindowStyle, kWindowExStyle, Scale(kClientWidth, dpi), Scale(kClientHeight, dpi), dpi);
}

void SettingsDialog::BuildFrame()
{
    font_ = Fonts().Add(kFont);
    okBtn_ = CreateControls(hwnd_, kOkBtn, Fonts().Add(kOkFont)).front();
    pageControl_ = CreateControls(hwnd_, kPageControl, font_).front();
    for (int i = 0; i < kPageCount; ++i) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kTabTexts[i]);
        SendMessageW(pageControl_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    // The sheets lie over the page control's display area as siblings, so their controls report to us.
    const RECT area = SheetArea();
    for (int i = 0; i < kPageCount; ++i) {
        const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (i == 0 ? WS_VISIBLE : 0);
        sheets_[i] = CreateWindowExW(WS_EX_CONTROLPARENT, kSheetClass, kTabTexts[i], style, area.left, area.top,
                                     area.right - area.left, area.bottom - area.top, hwnd_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSheetIds[i])),
                                     GetModuleHandleW(nullptr), nullptr);
        SetWindowPos(sheets_[i], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    for (int i = 0; i < kPageCount; ++i) {
        pages_[i]->Build(*this, sheets_[i]);
    }
    SendMessageW(pageControl_, TCM_SETCURSEL, 0, 0);
}

RECT SettingsDialog::SheetArea() const
{
    // The display area follows from the tabs' height in the present font.
    const RECT tab = ScaleRect(*DesignRect(pageControl_), Dpi());
    RECT area = {0, 0, tab.right - tab.left, tab.bottom - tab.top};
    SendMessageW(pageControl_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    OffsetRect(&area, tab.left, tab.top);
    return area;
}

void SettingsDialog::LayOutFrame()
{
    const RECT area = SheetArea();
    for (HWND sheet : sheets_) {
        SetWindowPos(sheet, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void SettingsDialog::OnDpiChanged()
{
    LayOutFrame();
    for (auto& page : pages_) {
        page->OnDpiChanged(Dpi());
    }
}

void SettingsDialog::ShowDialog()
{
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    BringWindowToTop(hwnd_);
}

MadeControls SettingsDialog::CreatePageControls(HWND sheet, std::span<const ControlDef> defs)
{
    std::vector<HWND> created = CreateControls(sheet, defs, font_);
    for (std::size_t i = 0; i < created.size(); ++i) {
        // Ids of zero and below name no control to look up.
        if (created[i] && defs[i].id > 0) {
            NoteId(defs[i].id);
        }
    }
    return MadeControls(defs, std::move(created));
}

// Automation finds the controls by their ids, which only work as long as no two controls share one.
void SettingsDialog::NoteId(int id)
{
    if (!ids_.insert(id).second || id == IDC_OKBTN || id == IDC_PAGECONTROL ||
        std::find(std::begin(kSheetIds), std::end(kSheetIds), id) != std::end(kSheetIds)) {
        sharedIds_.push_back(id);
#ifndef NDEBUG
        OutputDebugStringW(
            (L"Sorabune: two controls of the settings dialog share the id " + std::to_wstring(id)).c_str());
#endif
    }
}

int SettingsDialog::CurrentPage() const
{
    return static_cast<int>(SendMessageW(pageControl_, TCM_GETCURSEL, 0, 0));
}

void SettingsDialog::SelectPage(int index)
{
    SendMessageW(pageControl_, TCM_SETCURSEL, index, 0);
    PageControlChange();
}

// Ctrl+Tab and Ctrl+PgDn go to the next page, Ctrl+Shift+Tab and Ctrl+PgUp to the one before, wherever the
// keyboard is in the dialog; a drop-down with the focus never sees them. The page control takes the focus, so the
// user sees which page came and goes on into it with Tab.
bool SettingsDialog::PageKey(const MSG& key)
{
    if (key.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) {
        return false;
    }
    int step = 0;
    if (key.wParam == VK_TAB) {
        step = GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
    } else if (key.wParam == VK_NEXT) {
        step = 1;
    } else if (key.wParam == VK_PRIOR) {
        step = -1;
    } else {
        return false;
    }
    SelectPage((CurrentPage() + step + kPageCount) % kPageCount);
    SetFocus(pageControl_);
    return true;
}

void SettingsDialog::PageControlChange()
{
    int current = CurrentPage();
    for (int i = 0; i < kPageCount; ++i) {
        ShowWindow(sheets_[i], i == current ? SW_SHOW : SW_HIDE);
    }
    for (auto& page : pages_) {
        page->OnAnyPageChange();
    }
    if (current >= 0 && current < kPageCount) {
        pages_[current]->OnSelected();
    }
}

const ValueBindings& SettingsDialog::Bindings() const
{
    if (bindings_.empty()) {
        for (const auto& page : pages_) {
            for (ValueBinding& binding : page->Bindings()) {
                bindings_.push_back(std::move(binding));
            }
        }
    }
    return bindings_;
}

std::vector<std::wstring> SettingsDialog::UnfitBindings() const
{
    std::vector<std::wstring> unfit;
    for (const ValueBinding& binding : Bindings()) {
        const auto& layout = SettingsLayout();
        auto def =
            std::find_if(layout.begin(), layout.end(), [&](const SettingDef& d) { return d.name == binding.name; });
        if (def == layout.end() || def->kind != binding.control->Kind()) {
            unfit.push_back(binding.name);
        }
    }
    return unfit;
}

SettingsPage* SettingsDialog::PageOfControl(HWND control) const
{
    HWND sheet = GetParent(control);
    for (int i = 0; i < kPageCount; ++i) {
        if (sheets_[i] == sheet) {
            return pages_[i].get();
        }
    }
    return nullptr;
}

LRESULT SettingsDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND: {
        auto control = reinterpret_cast<HWND>(lParam);
        int id = LOWORD(wParam);
        if (id == IDC_OKBTN && HIWORD(wParam) == BN_CLICKED) {
            OnOk();
            return 0;
        }
        if (HIWORD(wParam) == CBN_DROPDOWN && control) {
            FitDroppedWidth(control, Dpi(), Errors());
        }
        if (SettingsPage* page = control ? PageOfControl(control) : nullptr) {
            page->OnCommand(control, HIWORD(wParam));
        }
        return 0;
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->hwndFrom == pageControl_) {
            if (header->code == TCN_SELCHANGE) {
                PageControlChange();
            }
            return 0;
        }
        LRESULT result = 0;
        if (SettingsPage* page = PageOfControl(header->hwndFrom)) {
            page->OnNotify(header, &result);
        }
        return result;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        auto control = reinterpret_cast<HWND>(lParam);
        if (SettingsPage* page = PageOfControl(control)) {
            if (HBRUSH brush = page->OnCtlColor(reinterpret_cast<HDC>(wParam), control)) {
                return reinterpret_cast<LRESULT>(brush);
            }
        }
        return Default(msg, wParam, lParam);
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (SettingsPage* page = PageOfControl(item->hwndItem)) {
            return page->OnDrawItem(item) ? TRUE : FALSE;
        }
        return FALSE;
    }
    case DM_GETDEFID:
        return MAKELRESULT(IDC_OKBTN, DC_HASDEFID);
    case kDialogKeyMessage:
        return PageKey(*reinterpret_cast<const MSG*>(lParam)) ? TRUE : FALSE;
    case WM_CLOSE:
        // The dialog has no close box; O K is the only way to close it.
        return 0;
    default: {
        LRESULT result = 0;
        for (auto& page : pages_) {
            if (page->OnDialogMessage(msg, wParam, lParam, &result)) {
                return result;
            }
        }
        return Default(msg, wParam, lParam);
    }
    }
}

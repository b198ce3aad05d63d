// The wallpaper page 壁紙チェンジャー: list editing and drawing, the add dialog with its folder picker, preview, manual
// change, style choice and file drops.
#include "wallpaper/WallpaperPage.h"

#include <windows.h>
#include <commctrl.h>
#include <shobjidl.h>

#include <algorithm>

#include "wallpaper/WallpaperIds.h"
#include "settings/SettingsDialog.h"
#include "base/Dpi.h"
#include "base/FileExistence.h"
#include "base/Handles.h"
#include "wallpaper/AddWallpapers.h"
#include "wallpaper/WallpaperRules.h"
#include "base/ComLibrary.h"
#include "wallpaper/Wallpaper.h"

namespace {
// No list here comes near the 30 items an open list shows before it scrolls, so none has a scroll bar: a hidden
// list would show one as its first items arrive and hide it again when it opens.
constexpr DWORD kDropDown = CBS_DROPDOWNLIST | WS_TABSTOP;
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;

// The preview lies exactly inside the panel's sunken edge; it comes first so that it lies above the panel, which
// clips it out of its own painting.
constexpr int kPanelEdge = 1;
constexpr int kImgLeft = 305;
constexpr int kImgTop = 175;
constexpr int kImgWidth = WallpaperPage::kPreviewWidth;
constexpr int kImgHeight = WallpaperPage::kPreviewHeight;

const ControlDef kControls[] = {
    {IDC_WALLPAPER_LIST_LABEL, WC_STATICW, L"壁紙リスト", 30, 10, 200, 16, SS_LEFT},
    {IDC_WALLPAPER_LIST, WC_LISTBOXW, L"", 30, 28, 496, 97,
     LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_VSCROLL |
         WS_HSCROLL | WS_BORDER | WS_TABSTOP},
    {IDC_WALLPAPER_ADD, WC_BUTTONW, L"追  加", 30, 133, 80, 28, kButton},
    {IDC_WALLPAPER_DELETE, WC_BUTTONW, L"削  除", 116, 133, 80, 28, kButton},
    {IDC_WALLPAPER_UP, WC_BUTTONW, L"U  P", 202, 133, 80, 28, kButton},
    {IDC_WALLPAPER_DOWN, WC_BUTTONW, L"DOWN", 288, 133, 80, 28, kButton},
    {IDC_WALLPAPER_CHANGE_NOW, WC_BUTTONW, L"壁 紙 手 動 変 更", 380, 133, 146, 28, kButton},
    {IDC_WALLPAPER_STYLE_LABEL, WC_STATICW, L"表示方法", 30, 176, 220, 16, SS_LEFT},
    {IDC_WALLPAPER_STYLE, WC_COMBOBOXW, L"", 30, 194, 220, 200, kDropDown},
    {IDC_WALLPAPER_ORDER_LABEL, WC_STATICW, L"表示順", 30, 236, 220, 16, SS_LEFT},
    {IDC_WALLPAPER_ORDER, WC_COMBOBOXW, L"", 30, 254, 220, 200, kDropDown},
    {IDC_WALLPAPER_CHANGE_TIME_LABEL, WC_STATICW, L"自動変更", 30, 296, 220, 16, SS_LEFT},
    {IDC_WALLPAPER_CHANGE_TIME, WC_COMBOBOXW, L"", 30, 314, 220, 300, kDropDown},
    {IDC_WALLPAPER_PREVIEW, WC_STATICW, L"", kImgLeft, kImgTop, kImgWidth, kImgHeight, SS_OWNERDRAW},
    {IDC_WALLPAPER_PREVIEW_FRAME, WC_STATICW, L"", kImgLeft - kPanelEdge, kImgTop - kPanelEdge,
     kImgWidth + 2 * kPanelEdge, kImgHeight + 2 * kPanelEdge, SS_SUNKEN | WS_CLIPSIBLINGS},
};

// The item dialog's class, named here: the system's GUID library would bring every GUID it knows into the
// program for this one.
constexpr CLSID kFileOpenDialogClass = {0xdc1c5a9c, 0xe88a, 0x4dde, {0xa5, 0xa1, 0x60, 0xf8, 0x2a, 0x20, 0xae, 0xf7}};
// One filter of every type the add takes, the system's decoders' included.
constexpr wchar_t kAddDialogFilterLabel[] = L"画像ファイル";
constexpr int kExtentMargin = 8;
// The list's folder icon and the room around it, at 96 DPI.
constexpr int kListIcon = 16;
constexpr int kListIconMargin = 2;
constexpr int kListTextMargin = 4;
// shell32.dll's closed folder, the icon Explorer shows for a folder.
constexpr int kShellFolderIcon = 4;
// The add dialog's own button, and the answer with which it closes the dialog for the folder picker.
constexpr DWORD kAddFolderButtonId = 1;
constexpr HRESULT kFolderPickerWanted = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0201);

// The add dialog's events: its button "フォルダを追加..." closes it so that the folder picker can open. It lives on the
// stack for the dialog's Show, so its count of references is only for form.
class AddDialogEvents : public IFileDialogEvents, public IFileDialogControlEvents {
public:
    explicit AddDialogEvents(IFileDialog& dialog) : dialog_(dialog) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IFileDialogEvents)) {
            *object = static_cast<IFileDialogEvents*>(this);
        } else if (riid == __uuidof(IFileDialogControlEvents)) {
            *object = static_cast<IFileDialogControlEvents*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE OnFileOk(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnFolderChanging(IFileDialog*, IShellItem*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnFolderChange(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnSelectionChange(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShareViolation(IFileDialog*, IShellItem*, FDE_SHAREVIOLATION_RESPONSE*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE OnTypeChange(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnOverwrite(IFileDialog*, IShellItem*, FDE_OVERWRITE_RESPONSE*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE OnItemSelected(IFileDialogCustomize*, DWORD, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnButtonClicked(IFileDialogCustomize*, DWORD id) override
    {
        if (id == kAddFolderButtonId) {
            dialog_.Close(kFolderPickerWanted);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnCheckButtonToggled(IFileDialogCustomize*, DWORD, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnControlActivating(IFileDialogCustomize*, DWORD) override { return S_OK; }

private:
    IFileDialog& dialog_;
};

// The paths of a dialog's chosen items.
std::vector<std::wstring> ChosenPaths(IFileOpenDialog& dialog)
{
    std::vector<std::wstring> paths;
    ComPtr<IShellItemArray> chosen;
    if (FAILED(dialog.GetResults(chosen.Put()))) {
        return paths;
    }
    DWORD count = 0;
    chosen->GetCount(&count);
    paths.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        ComPtr<IShellItem> item;
        wchar_t* path = nullptr;
        if (SUCCEEDED(chosen->GetItemAt(i, item.Put())) && SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
            paths.emplace_back(path);
            Com().taskMemFree(path);
        }
    }
    return paths;
}

bool MakeOpenDialog(ComPtr<IFileOpenDialog>& dialog, FILEOPENDIALOGOPTIONS options)
{
    if (FAILED(Com().createInstance(kFileOpenDialogClass, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(dialog.Put())))) {
        return false;
    }
    FILEOPENDIALOGOPTIONS own = 0;
    dialog->GetOptions(&own);
    dialog->SetOptions(own | options | FOS_ALLOWMULTISELECT | FOS_NOCHANGEDIR | FOS_PATHMUSTEXIST |
                       FOS_FORCEFILESYSTEM);
    return true;
}

template <std::size_t N>
void FillDropDown(DropDown& dropDown, const wchar_t* const (&items)[N], std::size_t offered = N)
{
    dropDown.AddItems({std::begin(items), std::begin(items) + std::min(offered, N)});
    dropDown.SetIndex(0);
}

} // namespace

// The item dialog hands back every chosen file however many there are (a name buffer of the older dialog
// overflows silently), and leaves the program's current folder alone, so no folder browsed to stays in use.
// It is resizable and has no read-only box. Its button "フォルダを追加..." (reached with Tab like its other
// controls) closes it and opens the system's folder picker, whose folders are added as folder entries.
std::optional<std::vector<std::wstring>> ShowAddDialog(HWND owner)
{
    if (!Com().Complete()) {
        return std::nullopt;
    }
    ComApartment com;
    ComPtr<IFileOpenDialog> dialog;
    if (!MakeOpenDialog(dialog, FOS_FILEMUSTEXIST)) {
        return std::nullopt;
    }
    const std::wstring patterns = AddDialogPatterns(DecodedExtensions());
    const COMDLG_FILTERSPEC filter = {kAddDialogFilterLabel, patterns.c_str()};
    dialog->SetFileTypes(1, &filter);
    ComPtr<IFileDialogCustomize> customize;
    if (SUCCEEDED(dialog->QueryInterface(IID_PPV_ARGS(customize.Put())))) {
        customize->AddPushButton(kAddFolderButtonId, kAddFolderButtonText);
    }
    AddDialogEvents events(*dialog.Get());
    DWORD cookie = 0;
    const bool advised = SUCCEEDED(dialog->Advise(&events, &cookie));
    const HRESULT shown = dialog->Show(owner);
    if (advised) {
        dialog->Unadvise(cookie);
    }
    if (SUCCEEDED(shown)) {
        return ChosenPaths(*dialog.Get());
    }
    if (shown != kFolderPickerWanted) {
        return std::nullopt;
    }
    ComPtr<IFileOpenDialog> folders;
    if (!MakeOpenDialog(folders, FOS_PICKFOLDERS) || FAILED(folders->Show(owner))) {
        return std::nullopt;
    }
    return ChosenPaths(*folders.Get());
}

void WallpaperPage::Build(SettingsDialog& dialog, HWND sheet)
{
    dialog_ = &dialog;
    const MadeControls made = CreateControls(dialog, sheet, kControls);
    list_ = ListBox(made[IDC_WALLPAPER_LIST]);
    add_ = Button(made[IDC_WALLPAPER_ADD]);
    delete_ = Button(made[IDC_WALLPAPER_DELETE]);
    up_ = Button(made[IDC_WALLPAPER_UP]);
    down_ = Button(made[IDC_WALLPAPER_DOWN]);
    changeNow_ = Button(made[IDC_WALLPAPER_CHANGE_NOW]);
    style_ = DropDown(made[IDC_WALLPAPER_STYLE]);
    order_ = DropDown(made[IDC_WALLPAPER_ORDER]);
    changeTime_ = DropDown(made[IDC_WALLPAPER_CHANGE_TIME]);
    previewFrame_ = Control(made[IDC_WALLPAPER_PREVIEW_FRAME]);
    img_ = made[IDC_WALLPAPER_PREVIEW];
    FillDropDown(style_, kWallpaperStyleItems, static_cast<std::size_t>(OfferedStyleItems(services_.spanOffered)));
    FillDropDown(order_, kWallpaperOrderItems);
    FillDropDown(changeTime_, kWallpaperChangeTimeItems);
    changer_.emplace(dialog, list_, order_, styleInForce_, services_.converter, services_.ownBitmap);
    preview_.emplace(img_, services_.screens, services_.converter, changer_->Places(), styleInForce_, dialog.Errors(),
                     dialog.Loop());
    SizeListItems();
    FramePreview();
    fileDrop_.emplace(dialog.Errors());
    fileDrop_->OnDrop = [this](FileDropTarget& target, const std::vector<std::wstring>& files) {
        FilesDropped(target, files);
    };
    fileDrop_->SetTargetControl(list_.Hwnd());
}

ValueBindings WallpaperPage::Bindings() const
{
    return {BindIndex(L"KabeChangeTime", changeTime_), BindIndex(L"KabeJyunn", order_),
            BindIndex(L"KabeStyle", style_, OfferedStyleItem), BindItemCount(L"KabeListCount", list_),
            BindPathList(L"KabeBmp%d", list_, L"KabeListCount", dialog_->Existence())};
}

void WallpaperPage::ChangeNow()
{
    changer_->ChangeNext(services_.tellSystem);
}

WallpaperChangeTime WallpaperPage::ChangeTime() const
{
    return static_cast<WallpaperChangeTime>(changeTime_.Index());
}

WallpaperOrder WallpaperPage::Order() const
{
    return static_cast<WallpaperOrder>(order_.Index());
}

bool WallpaperPage::OnCommand(HWND control, int code)
{
    if (list_.Is(control)) {
        if (code == LBN_SELCHANGE) {
            ListClick();
        }
        return true;
    }
    if (style_.Is(control)) {
        if (code == CBN_SELCHANGE) {
            StyleChange();
        }
        return true;
    }
    const std::pair<const Button*, void (WallpaperPage::*)()> clicks[] = {
        {&add_, &WallpaperPage::AddClick},
        {&delete_, &WallpaperPage::DeleteClick},
        {&up_, &WallpaperPage::UpClick},
        {&down_, &WallpaperPage::DownClick},
        {&changeNow_, &WallpaperPage::ChangeNowClick}};
    for (const auto& [button, click] : clicks) {
        if (button->Is(control)) {
            if (code == BN_CLICKED) {
                (this->*click)();
            }
            return true;
        }
    }
    return false;
}

void WallpaperPage::OnSelected()
{
    // The load and the purge change the list without the page; long paths get their scroll range here.
    if (list_.ItemCount() != extentCount_) {
        UpdateHorizontalExtent();
    }
}

void WallpaperPage::OnDpiChanged(int dpi)
{
    // The list's items and icon, its scroll range, the preview's place and its picture's size depend on sizes that
    // have changed.
    folderIcon_.Reset();
    SizeListItems();
    UpdateHorizontalExtent();
    FramePreview();
    preview_->Refit();
}

bool WallpaperPage::OnDialogMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT*)
{
    // The preview's converter serves while the dialog is open; hidden, the dialog needs none.
    if (msg == WM_SHOWWINDOW && !wParam) {
        preview_->Rest();
    }
    return false;
}

void WallpaperPage::FramePreview()
{
    // The system draws the sunken edge equally thin at every DPI: the panel is laid around the preview's scaled
    // place so that the edge frames the picture exactly.
    HWND panel = previewFrame_.Hwnd();
    RECT outer = {};
    RECT inner = {};
    GetWindowRect(panel, &outer);
    GetClientRect(panel, &inner);
    const int edgeX = (outer.right - outer.left - inner.right) / 2;
    const int edgeY = (outer.bottom - outer.top - inner.bottom) / 2;
    RECT img = {};
    GetWindowRect(img_, &img);
    MapWindowPoints(nullptr, GetParent(img_), reinterpret_cast<POINT*>(&img), 2);
    SetWindowPos(panel, nullptr, img.left - edgeX, img.top - edgeY, img.right - img.left + 2 * edgeX,
                 img.bottom - img.top + 2 * edgeY, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WallpaperPage::OnLoaded()
{
    StyleChange();
    if (ChangeTime() == WallpaperChangeTime::AtStartup) {
        services_.startupChange(*dialog_, services_.tellSystem);
    }
}

int WallpaperPage::CurrentEntry() const
{
    int count = static_cast<int>(SendMessageW(list_.Hwnd(), LB_GETCOUNT, 0, 0));
    int caret = static_cast<int>(SendMessageW(list_.Hwnd(), LB_GETCARETINDEX, 0, 0));
    return count > 0 && caret >= 0 && caret < count ? caret : -1;
}

std::wstring WallpaperPage::Entry(int index) const
{
    return list_.ItemText(index);
}

void WallpaperPage::DeleteEntry(int index)
{
    SendMessageW(list_.Hwnd(), LB_DELETESTRING, index, 0);
}

std::vector<bool> WallpaperPage::Selection() const
{
    int count = static_cast<int>(SendMessageW(list_.Hwnd(), LB_GETCOUNT, 0, 0));
    std::vector<bool> selected(count > 0 ? count : 0, false);
    int selectedCount = static_cast<int>(SendMessageW(list_.Hwnd(), LB_GETSELCOUNT, 0, 0));
    if (selectedCount > 0) {
        std::vector<int> indices(selectedCount);
        int got = static_cast<int>(
            SendMessageW(list_.Hwnd(), LB_GETSELITEMS, selectedCount, reinterpret_cast<LPARAM>(indices.data())));
        for (int i = 0; i < got; ++i) {
            if (indices[i] >= 0 && indices[i] < count) {
                selected[indices[i]] = true;
            }
        }
    }
    return selected;
}

void WallpaperPage::AddClick()
{
    std::optional<std::vector<std::wstring>> files = services_.addDialog(GetAncestor(list_.Hwnd(), GA_ROOT));
    if (files) {
        AddFiles(*files);
    }
}

void WallpaperPage::FilesDropped(FileDropTarget&, const std::vector<std::wstring>& files)
{
    AddFiles(files);
}

void WallpaperPage::AddFiles(const std::vector<std::wstring>& files)
{
    AddWallpaperFiles(*dialog_, list_, addGuard_, files, SystemFolderQueries(), services_.converter);
    UpdateHorizontalExtent();
}

void WallpaperPage::DeleteClick()
{
    preview_->Clear();
    std::vector<bool> selected = Selection();
    for (std::size_t i = selected.size(); i-- > 0;) {
        if (selected[i]) {
            DeleteEntry(static_cast<int>(i));
        }
    }
    UpdateHorizontalExtent();
}

void WallpaperPage::Exchange(const std::vector<std::pair<std::size_t, std::size_t>>& exchanges)
{
    int caret = CurrentEntry();
    for (auto [from, to] : exchanges) {
        std::wstring moving = Entry(static_cast<int>(from));
        std::wstring other = Entry(static_cast<int>(to));
        SendMessageW(list_.Hwnd(), LB_DELETESTRING, to, 0);
        SendMessageW(list_.Hwnd(), LB_INSERTSTRING, to, reinterpret_cast<LPARAM>(moving.c_str()));
        SendMessageW(list_.Hwnd(), LB_DELETESTRING, from, 0);
        SendMessageW(list_.Hwnd(), LB_INSERTSTRING, from, reinterpret_cast<LPARAM>(other.c_str()));
        SendMessageW(list_.Hwnd(), LB_SETSEL, TRUE, static_cast<LPARAM>(to));
        SendMessageW(list_.Hwnd(), LB_SETSEL, FALSE, static_cast<LPARAM>(from));
        // The focus travels with the entry it was on.
        if (caret == static_cast<int>(from)) {
            caret = static_cast<int>(to);
        } else if (caret == static_cast<int>(to)) {
            caret = static_cast<int>(from);
        }
    }
    if (!exchanges.empty() && caret >= 0) {
        SendMessageW(list_.Hwnd(), LB_SETCARETINDEX, caret, FALSE);
    }
}

void WallpaperPage::UpClick()
{
    Exchange(UpExchanges(Selection()));
}

void WallpaperPage::DownClick()
{
    Exchange(DownExchanges(Selection()));
}

std::optional<std::wstring> WallpaperPage::PresentCurrentEntry()
{
    const int current = CurrentEntry();
    if (current < 0) {
        return std::nullopt;
    }
    std::wstring path = Entry(current);
    switch (FileStateOf(path)) {
    case FileState::Present:
        return path;
    case FileState::Missing:
        // A picture that has gone leaves the list without a word.
        DeleteEntry(current);
        return std::nullopt;
    default:
        // Its drive is not there now: the entry stays for when it returns.
        return std::nullopt;
    }
}

void WallpaperPage::ListClick()
{
    if (auto entry = PresentCurrentEntry()) {
        preview_->Show(*entry, Order());
    }
}

void WallpaperPage::ChangeNowClick()
{
    if (auto entry = PresentCurrentEntry()) {
        changer_->ChangeTo(*entry, services_.tellSystem);
    }
}

void WallpaperPage::StyleChange()
{
    if (auto style = StyleForStyleIndex(style_.Index())) {
        styleInForce_ = *style;
        preview_->Refit();
    }
}

bool WallpaperPage::OnDrawItem(DRAWITEMSTRUCT* item)
{
    if (list_.Is(item->hwndItem)) {
        DrawListItem(*item);
        return true;
    }
    if (item->hwndItem != img_) {
        return false;
    }
    preview_->Paint(*item);
    return true;
}

int WallpaperPage::IconColumn() const
{
    const int dpi = dialog_->Dpi();
    return Scale(kListIconMargin, dpi) + iconSize_ + Scale(kListTextMargin, dpi);
}

void WallpaperPage::SizeListItems()
{
    const int dpi = dialog_->Dpi();
    WindowDC dc(list_.Hwnd());
    SelectInDC selected(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(list_.Hwnd(), WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc.Get(), &metrics);
    iconSize_ = std::min(Scale(kListIcon, dpi), static_cast<int>(metrics.tmHeight));
    SendMessageW(list_.Hwnd(), LB_SETITEMHEIGHT, 0, std::max<LPARAM>(metrics.tmHeight, iconSize_) + Scale(1, dpi));
    InvalidateRect(list_.Hwnd(), nullptr, TRUE);
}

// Drawn as the system draws a list's items, in the scheme's colours (high contrast too), the text one icon's width
// in, where a folder shows its icon.
void WallpaperPage::DrawListItem(const DRAWITEMSTRUCT& item)
{
    if (item.itemID == static_cast<UINT>(-1)) {
        return;
    }
    HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const std::wstring text = Entry(static_cast<int>(item.itemID));
    ExtTextOutW(dc, item.rcItem.left + IconColumn(), item.rcItem.top, ETO_OPAQUE | ETO_CLIPPED, &item.rcItem,
                text.c_str(), static_cast<UINT>(text.size()), nullptr);
    if (IsFolderEntry(text)) {
        if (!folderIcon_) {
            folderIcon_.Reset(
                static_cast<HICON>(LoadImageW(GetModuleHandleW(L"shell32.dll"), MAKEINTRESOURCEW(kShellFolderIcon),
                                              IMAGE_ICON, iconSize_, iconSize_, LR_DEFAULTCOLOR)));
        }
        const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - iconSize_) / 2;
        DrawIconEx(dc, item.rcItem.left + Scale(kListIconMargin, dialog_->Dpi()), top, folderIcon_.Get(), iconSize_,
                   iconSize_, 0, nullptr, DI_NORMAL);
    }
    if (item.itemState & ODS_FOCUS) {
        DrawFocusRect(dc, &item.rcItem);
    }
}

void WallpaperPage::UpdateHorizontalExtent()
{
    WindowDC dc(list_.Hwnd());
    auto font = reinterpret_cast<HFONT>(SendMessageW(list_.Hwnd(), WM_GETFONT, 0, 0));
    SelectInDC selected(dc.Get(), font);
    int widest = 0;
    for (const std::wstring& item : ListItems(list_.Hwnd())) {
        SIZE size = {};
        GetTextExtentPoint32W(dc.Get(), item.c_str(), static_cast<int>(item.size()), &size);
        widest = std::max<int>(widest, size.cx);
    }
    SendMessageW(list_.Hwnd(), LB_SETHORIZONTALEXTENT, IconColumn() + widest + Scale(kExtentMargin, dialog_->Dpi()), 0);
    extentCount_ = list_.ItemCount();
}

std::unique_ptr<WallpaperPage> MakeWallpaperPage(const WallpaperServices& services)
{
    return std::make_unique<WallpaperPage>(services);
}

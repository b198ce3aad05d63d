// The wallpaper page 壁紙チェンジャー: list editing, preview, manual change, style choice and file drops.
#include "wallpaper/WallpaperPage.h"

#include <windows.h>
#include <commctrl.h>
#include <shobjidl.h>

#include <algorithm>
#include <ctime>

#include "wallpaper/WallpaperIds.h"
#include "settings/SettingsDialog.h"
#include "base/Dpi.h"
#include "base/FileExistence.h"
#include "base/Handles.h"
#include "wallpaper/AddWallpapers.h"
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
     LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_BORDER | WS_TABSTOP},
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

template <std::size_t N>
void FillDropDown(SettingsDialog& form, int id, const wchar_t* const (&items)[N], std::size_t offered = N)
{
    form.AddItems(id, {std::begin(items), std::begin(items) + std::min(offered, N)});
    form.SetIndex(id, 0);
}

} // namespace

// The item dialog hands back every chosen file however many there are (a name buffer of the older dialog
// overflows silently), and leaves the program's current folder alone, so no folder browsed to stays in use.
// It is resizable and has no read-only box.
std::optional<std::vector<std::wstring>> ShowAddDialog(HWND owner)
{
    if (!Com().Complete()) {
        return std::nullopt;
    }
    ComApartment com;
    ComPtr<IFileOpenDialog> dialog;
    if (FAILED(Com().createInstance(kFileOpenDialogClass, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(dialog.Put())))) {
        return std::nullopt;
    }
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_ALLOWMULTISELECT | FOS_NOCHANGEDIR | FOS_FILEMUSTEXIST | FOS_PATHMUSTEXIST |
                       FOS_FORCEFILESYSTEM);
    const std::wstring patterns = AddDialogPatterns(DecodedExtensions());
    const COMDLG_FILTERSPEC filter = {kAddDialogFilterLabel, patterns.c_str()};
    dialog->SetFileTypes(1, &filter);
    ComPtr<IShellItemArray> chosen;
    if (FAILED(dialog->Show(owner)) || FAILED(dialog->GetResults(chosen.Put()))) {
        return std::nullopt;
    }
    DWORD count = 0;
    chosen->GetCount(&count);
    std::vector<std::wstring> files;
    files.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        ComPtr<IShellItem> item;
        wchar_t* path = nullptr;
        if (SUCCEEDED(chosen->GetItemAt(i, item.Put())) && SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
            files.emplace_back(path);
            Com().taskMemFree(path);
        }
    }
    return files;
}

void WallpaperPage::Build(SettingsDialog& form, HWND sheet)
{
    form_ = &form;
    CreateControls(form, sheet, kControls);
    FillDropDown(form, IDC_WALLPAPER_STYLE, kWallpaperStyleItems,
                 static_cast<std::size_t>(OfferedStyleItems(services_.spanOffered)));
    FillDropDown(form, IDC_WALLPAPER_ORDER, kWallpaperOrderItems);
    FillDropDown(form, IDC_WALLPAPER_CHANGE_TIME, kWallpaperChangeTimeItems);
    list_ = form.Control(IDC_WALLPAPER_LIST);
    img_ = form.Control(IDC_WALLPAPER_PREVIEW);
    FramePreview();
    fileDrop_.emplace(form.Errors());
    fileDrop_->OnDrop = [this](FileDropTarget& sender, const std::vector<std::wstring>& files) {
        FilesDropped(sender, files);
    };
    fileDrop_->SetTargetControl(list_);
}

std::vector<ValueBinding> WallpaperPage::Bindings() const
{
    return {{L"KabeChangeTime", IDC_WALLPAPER_CHANGE_TIME, Mirror::Index},
            {L"KabeJyunn", IDC_WALLPAPER_ORDER, Mirror::Index},
            {L"KabeStyle", IDC_WALLPAPER_STYLE, Mirror::Index, OfferedStyleItem},
            {L"KabeListCount", IDC_WALLPAPER_LIST, Mirror::ItemCount},
            {L"KabeBmp%d", IDC_WALLPAPER_LIST, Mirror::Items}};
}

void WallpaperPage::ChangeNow()
{
    ChangeWallpaper(*form_, services_.tellSystem);
}

WallpaperChangeTime WallpaperPage::ChangeTime() const
{
    return static_cast<WallpaperChangeTime>(form_->Index(IDC_WALLPAPER_CHANGE_TIME));
}

WallpaperOrder WallpaperPage::Order() const
{
    return static_cast<WallpaperOrder>(form_->Index(IDC_WALLPAPER_ORDER));
}

bool WallpaperPage::OnCommand(int id, int code, HWND control)
{
    switch (id) {
    case IDC_WALLPAPER_LIST:
        if (code == LBN_SELCHANGE) {
            ListClick();
        }
        return true;
    case IDC_WALLPAPER_STYLE:
        if (code == CBN_SELCHANGE) {
            StyleChange();
        }
        return true;
    case IDC_WALLPAPER_ADD:
    case IDC_WALLPAPER_DELETE:
    case IDC_WALLPAPER_UP:
    case IDC_WALLPAPER_DOWN:
    case IDC_WALLPAPER_CHANGE_NOW:
        if (code != BN_CLICKED) {
            return true;
        }
        if (id == IDC_WALLPAPER_ADD) {
            AddClick();
        } else if (id == IDC_WALLPAPER_DELETE) {
            DeleteClick();
        } else if (id == IDC_WALLPAPER_UP) {
            UpClick();
        } else if (id == IDC_WALLPAPER_DOWN) {
            DownClick();
        } else {
            ChangeNowClick();
        }
        return true;
    default:
        return false;
    }
}

void WallpaperPage::OnSelected()
{
    // The load and the purge change the list without the page; long paths get their scroll range here.
    if (form_->ItemCount(IDC_WALLPAPER_LIST) != extentCount_) {
        UpdateHorizontalExtent();
    }
}

void WallpaperPage::OnDpiChanged(int dpi)
{
    // Both the list's scroll range and the preview's place depend on sizes that have changed.
    UpdateHorizontalExtent();
    FramePreview();
    InvalidateRect(img_, nullptr, TRUE);
}

void WallpaperPage::FramePreview()
{
    // The system draws the sunken edge equally thin at every DPI: the panel is laid around the preview's scaled
    // place so that the edge frames the picture exactly.
    HWND panel = form_->Control(IDC_WALLPAPER_PREVIEW_FRAME);
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
    WallpaperRandom().seed(static_cast<unsigned>(std::time(nullptr)) ^ GetTickCount());
    StyleChange();
    if (ChangeTime() == WallpaperChangeTime::AtStartup) {
        services_.startupChange(*form_, services_.tellSystem);
    }
}

int WallpaperPage::CurrentEntry() const
{
    int count = static_cast<int>(SendMessageW(list_, LB_GETCOUNT, 0, 0));
    int caret = static_cast<int>(SendMessageW(list_, LB_GETCARETINDEX, 0, 0));
    return count > 0 && caret >= 0 && caret < count ? caret : -1;
}

std::wstring WallpaperPage::Entry(int index) const
{
    return form_->ItemText(IDC_WALLPAPER_LIST, index);
}

void WallpaperPage::DeleteEntry(int index)
{
    SendMessageW(list_, LB_DELETESTRING, index, 0);
}

std::vector<bool> WallpaperPage::Selection() const
{
    int count = static_cast<int>(SendMessageW(list_, LB_GETCOUNT, 0, 0));
    std::vector<bool> selected(count > 0 ? count : 0, false);
    int selectedCount = static_cast<int>(SendMessageW(list_, LB_GETSELCOUNT, 0, 0));
    if (selectedCount > 0) {
        std::vector<int> indices(selectedCount);
        int got = static_cast<int>(
            SendMessageW(list_, LB_GETSELITEMS, selectedCount, reinterpret_cast<LPARAM>(indices.data())));
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
    std::optional<std::vector<std::wstring>> files = services_.addDialog(GetAncestor(list_, GA_ROOT));
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
    AddWallpaperFiles(*form_, files, SystemFolderQueries(), services_.converter);
    UpdateHorizontalExtent();
}

void WallpaperPage::DeleteClick()
{
    ClearPreview();
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
        SendMessageW(list_, LB_DELETESTRING, to, 0);
        SendMessageW(list_, LB_INSERTSTRING, to, reinterpret_cast<LPARAM>(moving.c_str()));
        SendMessageW(list_, LB_DELETESTRING, from, 0);
        SendMessageW(list_, LB_INSERTSTRING, from, reinterpret_cast<LPARAM>(other.c_str()));
        SendMessageW(list_, LB_SETSEL, TRUE, static_cast<LPARAM>(to));
        SendMessageW(list_, LB_SETSEL, FALSE, static_cast<LPARAM>(from));
        // The focus travels with the entry it was on.
        if (caret == static_cast<int>(from)) {
            caret = static_cast<int>(to);
        } else if (caret == static_cast<int>(to)) {
            caret = static_cast<int>(from);
        }
    }
    if (!exchanges.empty() && caret >= 0) {
        SendMessageW(list_, LB_SETCARETINDEX, caret, FALSE);
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
    if (auto path = PresentCurrentEntry()) {
        LoadPreview(*path);
    }
}

void WallpaperPage::ChangeNowClick()
{
    if (auto path = PresentCurrentEntry()) {
        SetWallpaper(*path, CurrentWallpaperStyle(), services_.tellSystem);
    }
}

void WallpaperPage::StyleChange()
{
    if (auto style = StyleForStyleIndex(form_->Index(IDC_WALLPAPER_STYLE))) {
        CurrentWallpaperStyle() = *style;
        InvalidateRect(img_, nullptr, TRUE);
    }
}

std::optional<PreviewLayout> WallpaperPage::Preview() const
{
    if (!picture_) {
        return std::nullopt;
    }
    // The screen's shape fills the frame at any DPI, and the picture lies on it as the desktop will show it.
    RECT frame = {};
    GetClientRect(img_, &frame);
    const Screens screens = services_.screens();
    const RECT& all = screens.all;
    return LayOutPreview(CurrentWallpaperStyle(), {pictureSize_.cx, pictureSize_.cy},
                         {screens.primary.cx, screens.primary.cy}, {frame.right, frame.bottom},
                         {all.left, all.top, all.right - all.left, all.bottom - all.top});
}

void WallpaperPage::ClearPreview()
{
    picture_.Reset();
    drawn_.Reset();
    pictureSize_ = {};
    InvalidateRect(img_, nullptr, TRUE);
}

void WallpaperPage::LoadPreview(const std::wstring& path)
{
    auto bitmap = static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    // A file that is no readable bitmap shows an empty preview.
    picture_.Reset(bitmap);
    drawn_.Reset();
    pictureSize_ = {};
    BITMAP info = {};
    if (bitmap && GetObjectW(bitmap, sizeof(info), &info)) {
        pictureSize_ = {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
    }
    InvalidateRect(img_, nullptr, TRUE);
}

void WallpaperPage::DrawPreview(HDC dc, const PreviewLayout& layout) const
{
    const RECT screen = {layout.screen.x, layout.screen.y, layout.screen.x + layout.screen.width,
                         layout.screen.y + layout.screen.height};
    FillRect(dc, &screen, GetSysColorBrush(COLOR_DESKTOP));
    MemoryDC sourceDC(CreateCompatibleDC(dc));
    HDC source = sourceDC.Get();
    {
        // A small tiled picture is drawn as a block of its copies, made once with the picture as a brush.
        GdiObject block;
        const Extent copies = layout.tileBlock;
        if (copies.width > 1 || copies.height > 1) {
            const int width = copies.width * pictureSize_.cx;
            const int height = copies.height * pictureSize_.cy;
            block.Reset(CreateCompatibleBitmap(dc, width, height));
            GdiObject brush(CreatePatternBrush(static_cast<HBITMAP>(picture_.Get())));
            SelectInDC blockSelected(source, block.Get());
            const RECT all = {0, 0, width, height};
            SetBrushOrgEx(source, 0, 0, nullptr);
            FillRect(source, &all, static_cast<HBRUSH>(brush.Get()));
        }
        SelectInDC selected(source, block ? block.Get() : picture_.Get());
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        for (const PreviewPiece& piece : layout.pieces) {
            StretchBlt(dc, piece.to.x, piece.to.y, piece.to.width, piece.to.height, source, piece.from.x, piece.from.y,
                       piece.from.width, piece.from.height, SRCCOPY);
        }
    }
}

bool WallpaperPage::OnDrawItem(DRAWITEMSTRUCT* item)
{
    if (item->hwndItem != img_) {
        return false;
    }
    HDC dc = item->hDC;
    FillRect(dc, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
    std::optional<PreviewLayout> layout = Preview();
    if (!layout) {
        return true;
    }
    // Scaling a photo down takes a good part of a second: the preview is drawn once for its picture and layout, and
    // every later paint copies it.
    const int width = item->rcItem.right - item->rcItem.left;
    const int height = item->rcItem.bottom - item->rcItem.top;
    MemoryDC memoryDC(CreateCompatibleDC(dc));
    HDC memory = memoryDC.Get();
    if (!drawn_ || drawnLayout_ != *layout || drawnSize_.cx != width || drawnSize_.cy != height) {
        drawn_.Reset(CreateCompatibleBitmap(dc, width, height));
        drawnLayout_ = *layout;
        drawnSize_ = {width, height};
        SelectInDC selected(memory, drawn_.Get());
        const RECT all = {0, 0, width, height};
        FillRect(memory, &all, GetSysColorBrush(COLOR_BTNFACE));
        DrawPreview(memory, *layout);
    }
    {
        SelectInDC selected(memory, drawn_.Get());
        BitBlt(dc, item->rcItem.left, item->rcItem.top, width, height, memory, 0, 0, SRCCOPY);
    }
    return true;
}

void WallpaperPage::UpdateHorizontalExtent()
{
    WindowDC dc(list_);
    auto font = reinterpret_cast<HFONT>(SendMessageW(list_, WM_GETFONT, 0, 0));
    SelectInDC selected(dc.Get(), font);
    int widest = 0;
    for (const std::wstring& item : ListItems(list_)) {
        SIZE size = {};
        GetTextExtentPoint32W(dc.Get(), item.c_str(), static_cast<int>(item.size()), &size);
        widest = std::max<int>(widest, size.cx);
    }
    SendMessageW(list_, LB_SETHORIZONTALEXTENT, widest + Scale(kExtentMargin, form_->Dpi()), 0);
    extentCount_ = form_->ItemCount(IDC_WALLPAPER_LIST);
}

std::unique_ptr<WallpaperPage> MakeWallpaperPage(const WallpaperServices& services)
{
    return std::make_unique<WallpaperPage>(services);
}

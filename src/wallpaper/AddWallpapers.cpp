// The add operation: folder walk, conversion by type, duplicates of folder pictures, progress and Cancel, and
// the messages of what could not be added.
#include "wallpaper/AddWallpapers.h"

#include <windows.h>

#include <optional>
#include <unordered_set>

#include "wallpaper/WallpaperIds.h"
#include "settings/SettingsDialog.h"
#include "base/AppError.h"
#include "base/MessageLoop.h"
#include "wallpaper/AddProgressWindow.h"
#include "wallpaper/ComLibrary.h"
#include "wallpaper/JpegToBitmap.h"
#include "wallpaper/PictureToBitmap.h"
#include "wallpaper/Wallpaper.h"
#include "wallpaper/WallpaperRules.h"

namespace {
// The unreadable files a message names before it only counts the rest.
constexpr std::size_t kNamedUnreadable = 10;

// The hourglass while a short add converts: the UI thread handles no message meanwhile, so the cursor stays
// until it is set back.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

// The settings dialog disabled for an add's time, as under a modal box: no second add, no O K, no closing.
class DisabledWindow {
public:
    explicit DisabledWindow(HWND hwnd) : hwnd_(hwnd) { EnableWindow(hwnd_, FALSE); }
    ~DisabledWindow() { EnableWindow(hwnd_, TRUE); }
    DisabledWindow(const DisabledWindow&) = delete;
    DisabledWindow& operator=(const DisabledWindow&) = delete;

private:
    HWND hwnd_;
};

std::wstring ConvertMessage(const ConvertResult& result, AddKind kind, const std::wstring& picture,
                            const std::wstring& bitmap)
{
    switch (result.error) {
    case ConvertError::CannotOpen:
        return FormatMessageText(L"ファイル %s は開けません", picture);
    case ConvertError::Decode:
        return kind == AddKind::Jpeg ? FormatMessageText(L"JPEG エラー #%d", std::to_wstring(result.jpegMessage))
                                     : FormatMessageText(L"ファイル %s は画像として読めません", picture);
    case ConvertError::TooLarge:
        return FormatMessageText(L"ファイル %s は大きすぎて読み込めません", picture);
    default:
        return FormatMessageText(L"ファイル %s を作成できません", bitmap);
    }
}

std::wstring UnreadableMessage(const std::vector<std::wstring>& files)
{
    std::wstring message = L"次のファイルは読める画像ではないため、追加しませんでした。";
    for (std::size_t i = 0; i < files.size() && i < kNamedUnreadable; ++i) {
        message += L"\n" + files[i];
    }
    if (files.size() > kNamedUnreadable) {
        message += FormatMessageText(L"\nほか %d 個", std::to_wstring(files.size() - kNamedUnreadable));
    }
    return message;
}

// Entries compared as Windows compares file names.
std::wstring EntryKey(std::wstring path)
{
    CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

bool& AddRunning()
{
    static bool running = false;
    return running;
}
} // namespace

const std::vector<std::wstring>& DecodedExtensions()
{
    static const std::vector<std::wstring> extensions = SystemPictureExtensions();
    return extensions;
}

void AddWallpaperFiles(SettingsDialog& form, const std::vector<std::wstring>& files, const FolderQueries& folders)
{
    if (AddRunning()) {
        return;
    }
    AddRunning() = true;
    struct Running {
        ~Running() { AddRunning() = false; }
    } running;
    // One apartment for the whole add, so that the imaging component loads once.
    ComApartment com;
    const std::vector<std::wstring>& decoded = DecodedExtensions();
    const std::vector<AddItem> items = ExpandFolders(
        files, folders, [&decoded](std::wstring_view path) { return AddKindOf(path, decoded) != AddKind::Unreadable; });
    std::unordered_set<std::wstring> listed;
    for (const std::wstring& entry : ListItems(form.Control(IDC_WALLPAPER_LIST))) {
        listed.insert(EntryKey(entry));
    }

    std::optional<WaitCursor> waiting;
    std::optional<DisabledWindow> disabled;
    std::optional<AddProgressWindow> progress;
    if (items.size() > kQuietAddCount) {
        disabled.emplace(form.Hwnd());
        progress.emplace(form.Errors());
        if (!progress->Create(form.Hwnd())) {
            progress.reset();
            disabled.reset();
        }
    }
    if (!progress) {
        waiting.emplace();
    }
    std::vector<std::wstring> unreadable;
    std::optional<std::wstring> failure;
    bool quitting = false;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const AddItem& item = items[i];
        if (progress) {
            progress->ShowFile(i + 1, items.size(), item.path);
        }
        const AddKind kind = AddKindOf(item.path, decoded);
        std::wstring entry = kind == AddKind::Bitmap ? item.path : BitmapPathFor(item.path);
        if (kind == AddKind::Unreadable) {
            unreadable.push_back(item.path);
        } else if (!item.fromFolder || listed.insert(EntryKey(entry)).second) {
            if (kind != AddKind::Bitmap) {
                const ConvertResult result =
                    kind == AddKind::Jpeg ? ConvertJpegToBmp(item.path, entry) : ConvertPictureToBmp(item.path, entry);
                if (result.error != ConvertError::None) {
                    failure = ConvertMessage(result, kind, item.path, entry);
                    break;
                }
            }
            listed.insert(EntryKey(entry));
            form.AddItem(IDC_WALLPAPER_LIST, entry);
        }
        if (progress) {
            // The tick keeps its moments between files; the user's Cancel is seen here.
            quitting = !ProcessPendingMessages();
            if (quitting || progress->Cancelled() || !progress->Hwnd()) {
                break;
            }
        }
    }
    // The dialog takes the activation back before the progress window goes, and the boxes come after both.
    waiting.reset();
    disabled.reset();
    progress.reset();
    if (quitting) {
        return;
    }
    if (!unreadable.empty()) {
        form.Errors().Report(UnreadableMessage(unreadable));
    }
    if (failure) {
        form.Errors().Report(*failure);
    }
}

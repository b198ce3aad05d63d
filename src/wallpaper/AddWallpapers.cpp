// The add operation: folder walk, conversion by type through the converter, the bitmaps' names, duplicates of
// folder pictures, progress and Cancel, and the message of what could not be added.
#include "wallpaper/AddWallpapers.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "wallpaper/WallpaperIds.h"
#include "settings/SettingsDialog.h"
#include "base/AppError.h"
#include "base/BitmapFile.h"
#include "base/MessageLoop.h"
#include "base/ProductFiles.h"
#include "wallpaper/AddProgressWindow.h"
#include "wallpaper/ImagingExtensions.h"
#include "wallpaper/Wallpaper.h"
#include "wallpaper/WallpaperRules.h"

namespace {
// The files of each kind a message names before it only counts the rest.
constexpr std::size_t kNamedSkipped = 10;

// The hourglass while a short add converts, until the pointer moves.
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

struct Skipped {
    std::wstring picture;
    AddKind kind;
    ConversionResult result;
};

// Why a picture was passed over, after its name.
std::wstring Reason(const ConversionResult& result, AddKind kind)
{
    switch (result.failure) {
    case ConversionFailure::CannotOpen:
        return L"開けません";
    case ConversionFailure::Unreadable:
        return kind == AddKind::Jpeg && result.jpegMessage != 0
                   ? FormatMessageText(L"JPEG エラー #%d", std::to_wstring(result.jpegMessage))
                   : L"画像として読めません";
    case ConversionFailure::TooLarge:
        return L"大きすぎて読み込めません";
    case ConversionFailure::CannotCreate:
        return L"ビットマップを作成できません";
    case ConversionFailure::TimedOut:
        return L"時間内に変換できませんでした";
    case ConversionFailure::CannotStart:
        return FormatMessageText(L"変換プログラム %s を起動できません", kConverterFileName);
    default:
        return L"変換中に変換プログラムが異常終了しました";
    }
}

// A heading and up to kNamedSkipped lines, then how many more.
std::wstring NamedList(const wchar_t* heading, const std::vector<std::wstring>& lines)
{
    std::wstring message = heading;
    for (std::size_t i = 0; i < lines.size() && i < kNamedSkipped; ++i) {
        message += L"\n" + lines[i];
    }
    if (lines.size() > kNamedSkipped) {
        message += FormatMessageText(L"\nほか %d 個", std::to_wstring(lines.size() - kNamedSkipped));
    }
    return message;
}

// Entries compared as Windows compares file names.
std::wstring EntryKey(std::wstring path)
{
    CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

// What a name beside a picture holds: nothing, the picture's own earlier conversion, or anything else (a user's
// file, another picture's bitmap, a folder).
NameHolder HolderOf(const std::wstring& name, std::uint32_t tag)
{
    if (GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES &&
        (GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND)) {
        return NameHolder::Nothing;
    }
    return BitmapTagOf(name) == tag ? NameHolder::ThisPicturesBitmap : NameHolder::SomethingElse;
}

bool QuitRequested()
{
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
}

bool& AddRunning()
{
    static bool running = false;
    return running;
}

// One add from its files to its message.
class Add {
public:
    Add(SettingsDialog& form, const ConverterProgram& converter) : form_(form), converter_(converter) {}

    void Run(const std::vector<std::wstring>& files, const FolderQueries& folders)
    {
        const std::vector<std::wstring>& decoded = DecodedExtensions();
        const auto isPicture = [&decoded](std::wstring_view path) {
            return AddKindOf(path, decoded) != AddKind::Unreadable;
        };
        const bool anyFolder = std::any_of(files.begin(), files.end(), folders.isFolder);
        if (anyFolder || std::any_of(files.begin(), files.end(), [&decoded](const std::wstring& file) {
                const AddKind kind = AddKindOf(file, decoded);
                return kind == AddKind::Jpeg || kind == AddKind::Decoded;
            })) {
            // Its start overlaps the walk and the first files.
            converter_.Prepare();
        }
        for (const std::wstring& entry : ListItems(form_.Control(IDC_WALLPAPER_LIST))) {
            listed_.insert(EntryKey(entry));
        }
        if (anyFolder || files.size() > kQuietAddCount) {
            progress_.emplace(form_.Errors());
            if (!progress_->Create(form_.Hwnd())) {
                progress_.reset();
            }
        }
        if (!progress_) {
            waiting_.emplace();
        }
        const auto items = ExpandFolders(files, folders, isPicture, [this](std::size_t found, const std::wstring& at) {
            if (progress_) {
                progress_->ShowWalk(found, at);
            }
            return KeepGoing();
        });
        for (std::size_t i = 0; items && i < items->size() && !stopped_; ++i) {
            if (progress_) {
                progress_->ShowFile(i + 1, items->size(), (*items)[i].path);
            }
            AddOne((*items)[i], AddKindOf((*items)[i].path, decoded));
            // Between bitmaps, which need no conversion, the tick keeps its moments and Cancel is seen.
            if (progress_ && !stopped_) {
                KeepGoing();
            }
        }
        // The dialog takes the activation back before the progress window goes, and the box comes after both.
        waiting_.reset();
        disabled_.reset();
        progress_.reset();
    }

    // One message of everything passed over.
    void Report()
    {
        std::vector<std::wstring> failed;
        for (const Skipped& skipped : failed_) {
            failed.push_back(skipped.picture + L"（" + Reason(skipped.result, skipped.kind) + L"）");
        }
        std::wstring message;
        if (!unreadable_.empty()) {
            message = NamedList(L"次のファイルは読める画像ではないため、追加しませんでした。", unreadable_);
        }
        if (!failed.empty()) {
            message += (message.empty() ? L"" : L"\n\n") +
                       NamedList(L"次のファイルは変換できなかったため、追加しませんでした。", failed);
        }
        if (!quitting_ && !message.empty()) {
            form_.Errors().Report(message);
        }
    }

private:
    bool Stopping() const { return progress_ && (progress_->Cancelled() || !progress_->Hwnd()); }

    // Handles the messages that came; false (and the add stops) on Cancel or when the program ends.
    bool KeepGoing()
    {
        quitting_ = !ProcessPendingMessages();
        stopped_ = quitting_ || Stopping();
        return !stopped_;
    }

    void AddOne(const AddItem& item, AddKind kind)
    {
        if (kind == AddKind::Unreadable) {
            unreadable_.push_back(item.path);
            return;
        }
        if (kind == AddKind::Bitmap) {
            if (!item.fromFolder || listed_.insert(EntryKey(item.path)).second) {
                Append(item.path);
            }
            return;
        }
        const std::uint32_t tag = ConversionTag(item.path);
        const auto target = BitmapTargetFor(item.path, [tag](const std::wstring& name) { return HolderOf(name, tag); });
        if (!target) {
            failed_.push_back({item.path, kind, {ConversionFailure::CannotCreate}});
            return;
        }
        if (item.fromFolder && target->replacesOwnConversion && listed_.count(EntryKey(target->path)) != 0) {
            return;
        }
        const ConversionJob job{item.path, kind == AddKind::Jpeg ? PictureCoding::Jpeg : PictureCoding::Imaging,
                                target->path};
        const ConversionResult result = ConvertHandlingMessages(converter_, job, [this] { return Stopping(); });
        if (result.failure == ConversionFailure::Cancelled) {
            quitting_ = QuitRequested();
            stopped_ = true;
        } else if (result.failure != ConversionFailure::None) {
            failed_.push_back({item.path, kind, result});
        } else {
            listed_.insert(EntryKey(target->path));
            Append(target->path);
        }
    }

    void Append(const std::wstring& entry) { form_.AddItem(IDC_WALLPAPER_LIST, entry); }

    SettingsDialog& form_;
    PictureConverter converter_;
    std::optional<DisabledWindow> disabled_{std::in_place, form_.Hwnd()};
    std::optional<WaitCursor> waiting_;
    std::optional<AddProgressWindow> progress_;
    std::unordered_set<std::wstring> listed_;
    std::vector<std::wstring> unreadable_;
    std::vector<Skipped> failed_;
    bool stopped_ = false;
    bool quitting_ = false;
};
} // namespace

const std::vector<std::wstring>& DecodedExtensions()
{
    static const std::vector<std::wstring> extensions = SystemPictureExtensions();
    return extensions;
}

void AddWallpaperFiles(SettingsDialog& form, const std::vector<std::wstring>& files, const FolderQueries& folders,
                       const ConverterProgram& converter)
{
    if (AddRunning()) {
        return;
    }
    AddRunning() = true;
    struct Running {
        ~Running() { AddRunning() = false; }
    } running;
    Add add(form, converter);
    add.Run(files, folders);
    add.Report();
}

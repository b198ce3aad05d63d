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

} // namespace

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

namespace {
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

// One add from its files to its message.
class Add {
public:
    Add(SettingsDialog& dialog, ListBox list, const ConverterProgram& converter)
        : dialog_(dialog), list_(list), converter_(dialog.Errors(), dialog.Loop(), converter)
    {
    }

    void Run(const std::vector<std::wstring>& files, const FolderQueries& folders)
    {
        const std::vector<std::wstring>& decoded = DecodedExtensions();
        std::vector<bool> isFolder(files.size());
        std::transform(files.begin(), files.end(), isFolder.begin(), folders.isFolder);
        bool converts = false;
        for (std::size_t i = 0; i < files.size(); ++i) {
            const AddKind kind = AddKindOf(files[i], decoded);
            converts = converts || (!isFolder[i] && (kind == AddKind::Jpeg || kind == AddKind::Decoded));
        }
        if (converts) {
            // Its start overlaps the first files.
            converter_.Prepare();
        }
        for (const std::wstring& entry : ListItems(list_.Hwnd())) {
            listed_.insert(EntryKey(entry));
        }
        if (files.size() > kQuietAddCount) {
            progress_.emplace(dialog_.Errors());
            if (!progress_->Create(dialog_.Hwnd())) {
                progress_.reset();
            }
        }
        if (!progress_) {
            waiting_.emplace();
        }
        for (std::size_t i = 0; i < files.size() && !stopped_; ++i) {
            if (progress_) {
                progress_->ShowFile(i + 1, files.size(), files[i]);
            }
            if (isFolder[i]) {
                AddFolder(files[i]);
            } else {
                AddOne(files[i], AddKindOf(files[i], decoded));
            }
            // Between bitmaps and folders, which need no conversion, the tick keeps its moments and Cancel is seen.
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
            failed.push_back(skipped.picture + L"（" +
                             ConversionFailureText(skipped.result, skipped.kind == AddKind::Jpeg) + L"）");
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
            dialog_.Errors().Report(message);
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

    // A folder is one entry, its pictures listed when a change reaches it; a folder listed already is not added
    // again, since its two entries would share one place in it.
    void AddFolder(const std::wstring& folder)
    {
        const std::wstring entry = FolderEntryFor(folder);
        if (listed_.insert(EntryKey(entry)).second) {
            Append(entry);
        }
    }

    void AddOne(const std::wstring& picture, AddKind kind)
    {
        if (kind == AddKind::Unreadable) {
            unreadable_.push_back(picture);
            return;
        }
        if (kind == AddKind::Bitmap) {
            Append(picture);
            return;
        }
        const std::uint32_t tag = ConversionTag(picture);
        const auto target = BitmapTargetFor(picture, [tag](const std::wstring& name) { return HolderOf(name, tag); });
        if (!target) {
            failed_.push_back({picture, kind, {ConversionFailure::CannotCreate}});
            return;
        }
        const ConversionJob job{picture, kind == AddKind::Jpeg ? PictureCoding::Jpeg : PictureCoding::Imaging,
                                target->path};
        const ConversionResult result = ConvertHandlingMessages(converter_, job, [this] { return Stopping(); });
        if (result.failure == ConversionFailure::Cancelled) {
            quitting_ = QuitRequested();
            stopped_ = true;
        } else if (result.failure != ConversionFailure::None) {
            failed_.push_back({picture, kind, result});
        } else {
            listed_.insert(EntryKey(target->path));
            Append(target->path);
        }
    }

    void Append(const std::wstring& entry) { list_.AddItem(entry); }

    SettingsDialog& dialog_;
    ListBox list_;
    PictureConverter converter_;
    std::optional<DisabledWindow> disabled_{std::in_place, dialog_.Hwnd()};
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

void AddWallpaperFiles(SettingsDialog& dialog, ListBox list, AddGuard& guard, const std::vector<std::wstring>& files,
                       const FolderQueries& folders, const ConverterProgram& converter)
{
    if (guard.running) {
        return;
    }
    guard.running = true;
    struct Running {
        AddGuard& guard;
        ~Running() { guard.running = false; }
    } running{guard};
    Add add(dialog, list, converter);
    add.Run(files, folders);
    add.Report();
}

// The change's steps, each begun on the user-interface thread and ended by the answer of the folder's listing or of
// the converter: the entry tried, its folder listed, its pictures converted one after another until one serves.
#include "wallpaper/WallpaperChanger.h"

#include "wallpaper/WallpaperIds.h"
#include "settings/IniStore.h"
#include "settings/SettingsDialog.h"
#include "base/AppError.h"
#include "base/FileSystem.h"
#include "wallpaper/AddWallpapers.h"
#include "wallpaper/WallpaperRules.h"

namespace {
// Under HKCU\Software: one value per folder entry, named by the entry, holding the picture shown last (relative to
// the folder), and the entry whose picture the program's own bitmap holds.
constexpr wchar_t kPlacesSection[] = L"Sorabune\\KabeFolder";
constexpr wchar_t kShowingValue[] = L"KabeFolderNow";

std::optional<std::wstring> ReadPlace(const std::wstring& name)
{
    try {
        return IniStore(HKEY_CURRENT_USER, kSettingsStartPath).ReadText(kPlacesSection, name);
    } catch (const AppError&) {
        return std::nullopt;
    }
}

// A place that cannot be written costs only the place: the change itself has been made.
void WritePlace(const std::wstring& name, const std::wstring& value)
{
    try {
        IniStore(HKEY_CURRENT_USER, kSettingsStartPath).WriteString(kPlacesSection, name, value);
    } catch (const AppError&) {
    }
}

std::size_t IndexOf(const std::vector<std::wstring>& pictures, const std::wstring& picture)
{
    const std::wstring key = PictureKey(picture);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (PictureKey(pictures[i]) == key) {
            return i;
        }
    }
    return pictures.size();
}

PictureCoding CodingOf(const std::wstring& picture)
{
    return AddKindOf(picture, DecodedExtensions()) == AddKind::Jpeg ? PictureCoding::Jpeg : PictureCoding::Imaging;
}
} // namespace

std::optional<std::size_t> FolderPlaces::Next(const std::wstring& entry, const std::vector<std::wstring>& pictures,
                                              WallpaperOrder order)
{
    if (order != WallpaperOrder::Random) {
        return NextPictureAfter(pictures, ReadPlace(entry).value_or(L""));
    }
    RandomRound& round = rounds_[PictureKey(entry)];
    const std::size_t drawn = IndexOf(pictures, round.drawn);
    if (!round.drawn.empty() && drawn < pictures.size() && round.shown.count(PictureKey(round.drawn)) == 0) {
        return drawn;
    }
    const auto next = RandomUnshown(pictures, round.shown, round.previous, generator_);
    round.drawn = next ? pictures[*next] : L"";
    return next;
}

void FolderPlaces::Passed(const std::wstring& entry, const std::wstring& picture, WallpaperOrder order)
{
    if (order != WallpaperOrder::Random) {
        WritePlace(entry, picture);
        return;
    }
    RandomRound& round = rounds_[PictureKey(entry)];
    round.shown.insert(PictureKey(picture));
    round.previous = picture;
    round.drawn.clear();
}

std::wstring FolderPlaces::Showing()
{
    return ReadPlace(kShowingValue).value_or(L"");
}

void FolderPlaces::SetShowing(const std::wstring& entry)
{
    WritePlace(kShowingValue, entry);
}

bool FolderPlaces::FirstFailure(const std::wstring& picture)
{
    return failed_.insert(PictureKey(picture)).second;
}

WallpaperChanger::WallpaperChanger(SettingsDialog& dialog, ListBox list, DropDown order, const WallpaperStyle& style,
                                   ConverterProgram converter, WallpaperBitmapFn ownBitmap, FolderQueries folders)
    : dialog_(dialog), list_(list), order_(order), style_(style), ownBitmapOf_(std::move(ownBitmap)),
      converter_(dialog.Errors(), dialog.Loop(), std::move(converter)),
      lister_(dialog.Errors(), dialog.Loop(), std::move(folders))
{
}

const std::wstring& WallpaperChanger::OwnBitmap()
{
    if (!ownBitmap_) {
        ownBitmap_ = ownBitmapOf_ ? ownBitmapOf_() : std::wstring();
    }
    return *ownBitmap_;
}

std::wstring WallpaperChanger::ShownEntry()
{
    const std::wstring shown = CurrentDesktopWallpaper();
    if (!shown.empty() && !OwnBitmap().empty() && PathIdentity(shown) == PathIdentity(OwnBitmap())) {
        return places_.Showing();
    }
    return shown;
}

void WallpaperChanger::ChangeNext(const SystemParametersInfoFn& tellSystem)
{
    if (run_) {
        return;
    }
    // The tick and the load call this outside any handler boundary; a failure is shown and the program goes on.
    try {
        HWND list = list_.Hwnd();
        std::vector<std::wstring> items = ListItems(list);
        std::vector<bool> usable = PurgeList(list, items, dialog_.Existence());
        const auto order = static_cast<WallpaperOrder>(order_.Index());
        std::optional<std::size_t> next;
        if (order == WallpaperOrder::Sequential && !items.empty()) {
            next = NextSequentialPosition(items, ShownEntry(), usable);
        } else if (order == WallpaperOrder::Random) {
            next = RandomPosition(usable, random_);
        }
        if (!next) {
            return;
        }
        run_.emplace(Run{std::move(items), std::move(usable), *next, true, order, tellSystem});
    } catch (const AppError& error) {
        dialog_.Errors().Report(error.Message());
        return;
    }
    Guarded([this] { TryEntry(); });
}

void WallpaperChanger::Guarded(const std::function<void()>& step)
{
    try {
        step();
    } catch (const AppError& error) {
        // The desktop's values could not be written: the change ends here, shown as the load's errors are.
        run_.reset();
        converter_.Close();
        dialog_.Errors().Report(error.Message());
    }
}

void WallpaperChanger::ChangeTo(const std::wstring& entry, const SystemParametersInfoFn& tellSystem)
{
    if (run_) {
        return;
    }
    // The button walks a folder in the order chosen; with no order chosen, in order.
    const bool random = static_cast<WallpaperOrder>(order_.Index()) == WallpaperOrder::Random;
    run_.emplace(
        Run{{entry}, {true}, 0, false, random ? WallpaperOrder::Random : WallpaperOrder::Sequential, tellSystem});
    Guarded([this] { TryEntry(); });
}

void WallpaperChanger::TryEntry()
{
    Run& run = *run_;
    const std::wstring& entry = run.entries[run.position];
    if (!IsFolderEntry(entry)) {
        SetWallpaper(entry, style_, run.tellSystem);
        End();
        return;
    }
    // The converter starts while the folder is listed, so that its start does not eat into a picture's deadline.
    converter_.Prepare();
    if (!lister_.Start(entry, DecodedExtensions(),
                       [this](FolderPictures found) { Guarded([&] { Listed(std::move(found)); }); })) {
        End();
    }
}

void WallpaperChanger::Listed(FolderPictures found)
{
    run_->pictures = std::move(found.pictures);
    if (run_->pictures.empty()) {
        PassOn();
        return;
    }
    ConvertNextPicture();
}

void WallpaperChanger::ConvertNextPicture()
{
    Run& run = *run_;
    const std::wstring& entry = run.entries[run.position];
    const auto next = places_.Next(entry, run.pictures, run.order);
    if (!next || OwnBitmap().empty()) {
        End();
        return;
    }
    run.picture = run.pictures[*next];
    const std::wstring picture = entry + run.picture;
    CreateDirectoryW(FolderOf(OwnBitmap()).c_str(), nullptr);
    const ConversionJob job{picture, CodingOf(picture), OwnBitmap(), true, std::nullopt};
    if (!converter_.Start(job, [this](const ConversionResult& result) { Guarded([&] { Converted(result); }); })) {
        End();
    }
}

void WallpaperChanger::Converted(const ConversionResult& result)
{
    Run& run = *run_;
    const std::wstring& entry = run.entries[run.position];
    places_.Passed(entry, run.picture, run.order);
    if (result.failure == ConversionFailure::None) {
        SetWallpaper(OwnBitmap(), style_, run.tellSystem);
        places_.SetShowing(entry);
        End();
        return;
    }
    if (places_.FirstFailure(entry + run.picture)) {
        run.failures.push_back({entry + run.picture, result});
    }
    if (++run.tried >= kPicturesTriedPerChange || run.tried >= run.pictures.size()) {
        End();
        return;
    }
    ConvertNextPicture();
}

void WallpaperChanger::PassOn()
{
    Run& run = *run_;
    if (!run.passOn) {
        End();
        return;
    }
    run.usable[run.position] = false;
    std::optional<std::size_t> next;
    if (run.order == WallpaperOrder::Random) {
        next = RandomPosition(run.usable, random_);
    } else {
        for (std::size_t step = 1; step < run.entries.size() && !next; ++step) {
            const std::size_t at = (run.position + step) % run.entries.size();
            if (run.usable[at]) {
                next = at;
            }
        }
    }
    if (!next) {
        End();
        return;
    }
    run.position = *next;
    run.pictures.clear();
    run.tried = 0;
    TryEntry();
}

void WallpaperChanger::End()
{
    // The run is over before a box can run a loop in which the tick starts the next one.
    std::vector<Failure> failures = std::move(run_->failures);
    run_.reset();
    converter_.Close();
    if (failures.empty()) {
        return;
    }
    std::vector<std::wstring> lines;
    for (const Failure& failure : failures) {
        lines.push_back(failure.picture + L"（" +
                        ConversionFailureText(failure.result, CodingOf(failure.picture) == PictureCoding::Jpeg) +
                        L"）");
    }
    dialog_.Errors().Report(NamedList(L"次の画像は壁紙にできなかったため、飛ばしました。", lines));
}

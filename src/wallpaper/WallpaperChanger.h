// The change of wallpaper: the list's next entry in order or at random, or the entry the manual change button
// names. A file is applied at once; a folder is listed on a thread, its next picture converted by the converter into
// the program's own wallpaper bitmap and applied when the converter answers, so the user-interface thread never
// waits for a folder or a picture. FolderPlaces keeps where each folder stands.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "settings/WallpaperChoices.h"
#include "base/Controls.h"
#include "wallpaper/FolderLister.h"
#include "wallpaper/PictureConverter.h"
#include "wallpaper/Wallpaper.h"

class SettingsDialog;

// Where the pictures of each folder entry stand. In order, the picture shown last is kept in the registry (a key of
// its own, "KabeFolder", beside the list's "KabeBmp"), so the walk goes on after a restart; at random, the pictures
// shown in this round and the one drawn for next are kept while the program runs.
class FolderPlaces {
public:
    // Draws at random from generator, which outlives the places.
    explicit FolderPlaces(std::mt19937& generator) : generator_(generator) {}
    // The picture to show next from the pictures the folder holds now (in walk order): in order the one after the
    // picture shown last; at random the one drawn for next, drawn now when there is none (so that the preview shows
    // the picture the change will). Nothing for an empty folder.
    std::optional<std::size_t> Next(const std::wstring& entry, const std::vector<std::wstring>& pictures,
                                    WallpaperOrder order);
    // The folder's picture was shown, or tried and passed over: the next one comes after it.
    void Passed(const std::wstring& entry, const std::wstring& picture, WallpaperOrder order);
    // The folder entry whose picture the program's own bitmap holds; empty when none is known.
    std::wstring Showing();
    void SetShowing(const std::wstring& entry);
    // True the first time this run that the picture could not be made a wallpaper.
    bool FirstFailure(const std::wstring& picture);

private:
    struct RandomRound {
        std::unordered_set<std::wstring> shown; // PictureKey
        std::wstring previous;
        std::wstring drawn;
    };
    std::mt19937& generator_;
    std::unordered_map<std::wstring, RandomRound> rounds_; // by the entry's PictureKey
    std::unordered_set<std::wstring> failed_;
};

// How many pictures of a folder one change tries before it gives up and the desktop keeps its wallpaper.
inline constexpr std::size_t kPicturesTriedPerChange = 5;

class WallpaperChanger {
public:
    // The change reads the page's list and order and applies the page's style in force.
    WallpaperChanger(SettingsDialog& dialog, ListBox list, DropDown order, const WallpaperStyle& style,
                     ConverterProgram converter, WallpaperBitmapFn ownBitmap,
                     FolderQueries folders = SystemFolderQueries());

    // The next entry of the list in order or at random (the tick's change and the start's), after the purge. A
    // folder that holds no picture now is passed over for the entry after it. While a change waits for a folder's
    // listing or the converter, a new one is passed over.
    void ChangeNext(const SystemParametersInfoFn& tellSystem);
    // The entry given (the manual change button's): a file now, a folder's next picture when the converter has
    // made it.
    void ChangeTo(const std::wstring& entry, const SystemParametersInfoFn& tellSystem);
    bool Busy() const { return run_.has_value(); }

    FolderPlaces& Places() { return places_; }
    // The program's own wallpaper bitmap (empty when the system has no place for it).
    const std::wstring& OwnBitmap();
    // The entry the desktop shows, as the list names it: the desktop's "Wallpaper", or the folder entry whose
    // picture the program's own bitmap holds.
    std::wstring ShownEntry();

private:
    struct Failure {
        std::wstring picture;
        ConversionResult result;
    };
    struct Run {
        std::vector<std::wstring> entries;
        std::vector<bool> usable;
        std::size_t position = 0;
        bool passOn = false; // an empty folder passes on to the entry after it
        WallpaperOrder order = WallpaperOrder::Sequential;
        SystemParametersInfoFn tellSystem;
        std::vector<std::wstring> pictures; // the folder's, in walk order
        std::wstring picture;               // the one being converted
        std::size_t tried = 0;
        std::vector<Failure> failures; // reported at the end
    };

    // Runs a step; a failure the user must see ends the change with its message.
    void Guarded(const std::function<void()>& step);
    void TryEntry();
    void Listed(FolderPictures found);
    void ConvertNextPicture();
    void Converted(const ConversionResult& result);
    void PassOn();
    void End();

    SettingsDialog& dialog_;
    ListBox list_;
    DropDown order_;
    const WallpaperStyle& style_;
    WallpaperBitmapFn ownBitmapOf_;
    std::optional<std::wstring> ownBitmap_;
    PictureConverter converter_;
    FolderLister lister_;
    // The random order's one generator, seeded once as the changer is made.
    std::mt19937 random_{FreshRandomSeed()};
    FolderPlaces places_{random_};
    std::optional<Run> run_;
};

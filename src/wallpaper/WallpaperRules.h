// Rules of the wallpaper list that need no window: the next entry in list order or at random, the purge
// of missing files, the moves of the UP and DOWN buttons, the add rule's treatment of a file name and what the
// preview draws for a style.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/WallpaperChoices.h"

// The entry after the last entry equal to the desktop's current wallpaper (whole text, case-sensitive),
// wrapping to the first; the first when none is equal; nothing for an empty list. Entries that cannot be
// applied now (usable[i] false: their drive is not there) are passed over in list order; an empty usable
// means every entry can be.
std::optional<std::size_t> NextSequentialPosition(const std::vector<std::wstring>& list, std::wstring_view current,
                                                  const std::vector<bool>& usable = {});
// A position drawn uniformly among the usable entries; nothing when none is usable.
std::optional<std::size_t> RandomPosition(const std::vector<bool>& usable, std::mt19937& generator);

// A folder in the list is its full path with a backslash at the end (NamesFolder), so that the stored list tells
// a folder from a file without asking the disk and a list of files keeps its meaning.
bool IsFolderEntry(std::wstring_view entry);
std::wstring FolderEntryFor(std::wstring folder);

// Positions of the entries whose file is missing (present[i] false), rising.
std::vector<std::size_t> MissingPositions(const std::vector<bool>& present);

// The exchanges that move every selected entry one place up (DOWN: down), as pairs of positions to swap in
// this order; the selection moves with the entries. None when the list is empty or the first (last) entry
// is selected.
std::vector<std::pair<std::size_t, std::size_t>> UpExchanges(const std::vector<bool>& selected);
std::vector<std::pair<std::size_t, std::size_t>> DownExchanges(const std::vector<bool>& selected);

// What the add rule does with a file, by its extension (any letter case): a bitmap is taken as it is, the JPEG
// extensions go to the JPEG decoder, PNG, GIF, TIFF and the extensions of the system's other decoders
// (decodedExtensions, lower case with their dot) to the imaging component; nothing reads any other.
enum class AddKind { Bitmap, Jpeg, Decoded, Unreadable };
AddKind AddKindOf(std::wstring_view path, const std::vector<std::wstring>& decodedExtensions = {});
// The add dialog's patterns ("*.bmp;*.jpg;..."): every extension the add rule converts or takes.
std::wstring AddDialogPatterns(const std::vector<std::wstring>& decodedExtensions);
// The names a picture's bitmap may take beside it, in the order tried: the same folder and base name with the
// extension ".BMP", then "<base> (2).BMP", "<base> (3).BMP" and so on (number from 1).
std::wstring BitmapCandidate(std::wstring_view picturePath, unsigned number);
inline constexpr unsigned kBitmapCandidates = 100;
// What a candidate name holds now.
enum class NameHolder { Nothing, ThisPicturesBitmap, SomethingElse };
struct BitmapTarget {
    std::wstring path;
    bool replacesOwnConversion; // the name holds this picture's earlier conversion, which the new one refreshes
};
// Where a picture's bitmap goes: the first of the first kBitmapCandidates names that is free or holds this
// picture's own earlier conversion, so that a user's file of that name, or the bitmap of another picture of the
// same base name, is never replaced. Nothing when every one is taken.
std::optional<BitmapTarget> BitmapTargetFor(std::wstring_view picturePath,
                                            const std::function<NameHolder(const std::wstring& name)>& holder);

struct PreviewRect {
    int x, y, width, height;
    bool operator==(const PreviewRect&) const = default;
};
struct Extent {
    int width, height;
    bool operator==(const Extent&) const = default;
};
// One part of the preview: where in the frame it is drawn, and from which part of the picture (or of the tile
// block) it is taken.
struct PreviewPiece {
    PreviewRect to;
    PreviewRect from;
    bool operator==(const PreviewPiece&) const = default;
};
// What the preview draws: the primary screen scaled into the frame with its aspect kept and centred, filled with
// the desktop's colour, and the pieces of the picture as the style lays it on that screen, cut at its edges.
struct PreviewLayout {
    PreviewRect screen;
    // Tiling takes its pieces from a block of this many copies of the picture side by side, so that a small
    // picture on a large screen needs only a few pieces; 1 x 1 for every other style.
    Extent tileBlock = {1, 1};
    std::vector<PreviewPiece> pieces;
    bool operator==(const PreviewLayout&) const = default;
};
// Span fills the rectangle around all screens (in the primary screen's pixels, the primary's corner at 0, 0) with
// the picture, of which the primary screen shows its part; without other screens that is fill.
PreviewLayout LayOutPreview(WallpaperStyle style, Extent picture, Extent screen, Extent frame,
                            PreviewRect allScreens = {});

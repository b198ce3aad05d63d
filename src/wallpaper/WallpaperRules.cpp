// The wallpaper list's rules: next entry, purge, UP and DOWN, the add rule's extension test, the preview's layout.
#include "wallpaper/WallpaperRules.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "base/FileSystem.h"

std::optional<std::size_t> NextSequentialPosition(const std::vector<std::wstring>& list, std::wstring_view current,
                                                  const std::vector<bool>& usable)
{
    std::size_t next = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] == current) {
            next = i + 1;
        }
    }
    for (std::size_t step = 0; step < list.size(); ++step) {
        const std::size_t at = (next + step) % list.size();
        if (usable.empty() || usable[at]) {
            return at;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> RandomPosition(const std::vector<bool>& usable, std::mt19937& generator)
{
    const auto count = static_cast<std::size_t>(std::count(usable.begin(), usable.end(), true));
    if (count == 0) {
        return std::nullopt;
    }
    std::size_t drawn = std::uniform_int_distribution<std::size_t>(0, count - 1)(generator);
    for (std::size_t i = 0;; ++i) {
        if (usable[i] && drawn-- == 0) {
            return i;
        }
    }
}

bool IsFolderEntry(std::wstring_view entry)
{
    return NamesFolder(entry);
}

std::wstring FolderEntryFor(std::wstring folder)
{
    if (!NamesFolder(folder)) {
        folder += L'\\';
    }
    return folder;
}

std::vector<std::size_t> MissingPositions(const std::vector<bool>& present)
{
    std::vector<std::size_t> missing;
    for (std::size_t i = 0; i < present.size(); ++i) {
        if (!present[i]) {
            missing.push_back(i);
        }
    }
    return missing;
}

std::vector<std::pair<std::size_t, std::size_t>> UpExchanges(const std::vector<bool>& selected)
{
    std::vector<std::pair<std::size_t, std::size_t>> exchanges;
    if (selected.empty() || selected.front()) {
        return exchanges;
    }
    for (std::size_t i = 1; i < selected.size(); ++i) {
        if (selected[i]) {
            exchanges.emplace_back(i, i - 1);
        }
    }
    return exchanges;
}

std::vector<std::pair<std::size_t, std::size_t>> DownExchanges(const std::vector<bool>& selected)
{
    std::vector<std::pair<std::size_t, std::size_t>> exchanges;
    if (selected.empty() || selected.back()) {
        return exchanges;
    }
    for (std::size_t i = selected.size() - 1; i-- > 0;) {
        if (selected[i]) {
            exchanges.emplace_back(i, i + 1);
        }
    }
    return exchanges;
}

namespace {
// The extension with its dot, from the last dot of the file name (not of a folder name).
std::wstring_view Extension(std::wstring_view path)
{
    std::size_t dot = path.find_last_of(L'.');
    std::size_t separator = path.find_last_of(L"\\/:");
    if (dot == std::wstring_view::npos || (separator != std::wstring_view::npos && dot < separator)) {
        return {};
    }
    return path.substr(dot);
}

wchar_t AsciiUpper(wchar_t c)
{
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

std::wstring AsciiUpper(std::wstring_view text)
{
    std::wstring upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](wchar_t c) { return AsciiUpper(c); });
    return upper;
}

bool EqualsAsciiUpper(std::wstring_view text, std::wstring_view upper)
{
    return text.size() == upper.size() &&
           std::equal(text.begin(), text.end(), upper.begin(), [](wchar_t a, wchar_t b) { return AsciiUpper(a) == b; });
}

// Whatever the system's decoders say, these are read: JPEG by the program's own decoder, the others by the
// decoders every Windows has.
constexpr const wchar_t* kJpegExtensions[] = {L".jpg", L".jpeg", L".jpe", L".jfif"};
constexpr const wchar_t* kDecodedExtensions[] = {L".png", L".gif", L".tif", L".tiff"};
} // namespace

AddKind AddKindOf(std::wstring_view path, const std::vector<std::wstring>& decodedExtensions)
{
    std::wstring_view extension = Extension(path);
    if (EqualsAsciiUpper(extension, L".BMP")) {
        return AddKind::Bitmap;
    }
    const auto among = [extension](const auto& list) {
        return std::any_of(std::begin(list), std::end(list), [extension](std::wstring_view known) {
            return EqualsAsciiUpper(extension, AsciiUpper(known));
        });
    };
    if (among(kJpegExtensions)) {
        return AddKind::Jpeg;
    }
    if (among(kDecodedExtensions) || among(decodedExtensions)) {
        return AddKind::Decoded;
    }
    return AddKind::Unreadable;
}

std::wstring AddDialogPatterns(const std::vector<std::wstring>& decodedExtensions)
{
    std::vector<std::wstring> extensions = {L".bmp"};
    extensions.insert(extensions.end(), std::begin(kJpegExtensions), std::end(kJpegExtensions));
    extensions.insert(extensions.end(), std::begin(kDecodedExtensions), std::end(kDecodedExtensions));
    for (const std::wstring& extension : decodedExtensions) {
        if (AddKindOf(extension, {}) == AddKind::Unreadable) {
            extensions.push_back(extension);
        }
    }
    std::wstring patterns;
    for (const std::wstring& extension : extensions) {
        patterns += (patterns.empty() ? L"*" : L";*") + extension;
    }
    return patterns;
}

std::wstring BitmapCandidate(std::wstring_view picturePath, unsigned number)
{
    std::wstring_view extension = Extension(picturePath);
    std::wstring path(picturePath.substr(0, picturePath.size() - extension.size()));
    if (number > 1) {
        path += L" (" + std::to_wstring(number) + L")";
    }
    return path + L".BMP";
}

std::optional<BitmapTarget> BitmapTargetFor(std::wstring_view picturePath,
                                            const std::function<NameHolder(const std::wstring& name)>& holder)
{
    for (unsigned number = 1; number <= kBitmapCandidates; ++number) {
        std::wstring candidate = BitmapCandidate(picturePath, number);
        const NameHolder held = holder(candidate);
        if (held != NameHolder::SomethingElse) {
            return BitmapTarget{std::move(candidate), held == NameHolder::ThisPicturesBitmap};
        }
    }
    return std::nullopt;
}

namespace {
// A tiled preview draws at most about this many blocks along each side of the screen.
constexpr std::int64_t kTileBlocksPerSide = 16;

// Whether a is wider than b for its height (compared without division).
bool WiderThan(Extent a, Extent b)
{
    return static_cast<std::int64_t>(a.width) * b.height > static_cast<std::int64_t>(a.height) * b.width;
}

// The largest rectangle of the shape's aspect inside the box (sides truncated to whole pixels), centred.
PreviewRect FitInto(Extent shape, Extent box)
{
    Extent size = box;
    if (WiderThan(shape, box)) {
        size.height = static_cast<int>(static_cast<std::int64_t>(shape.height) * box.width / shape.width);
    } else {
        size.width = static_cast<int>(static_cast<std::int64_t>(shape.width) * box.height / shape.height);
    }
    return {(box.width - size.width) / 2, (box.height - size.height) / 2, size.width, size.height};
}

// The part of the picture that covers the screen when the picture is scaled to fill it: cut at the sides that
// stand out, equally on both.
PreviewRect FillFrom(Extent picture, Extent screen)
{
    Extent size = picture;
    if (WiderThan(picture, screen)) {
        size.width =
            std::max(1, static_cast<int>(static_cast<std::int64_t>(picture.height) * screen.width / screen.height));
    } else {
        size.height =
            std::max(1, static_cast<int>(static_cast<std::int64_t>(picture.width) * screen.height / screen.width));
    }
    return {(picture.width - size.width) / 2, (picture.height - size.height) / 2, size.width, size.height};
}

// Lays pieces given in screen pixels into the screen's rectangle in the frame. Edges are mapped rather than sizes,
// so that pieces side by side meet without a gap.
class ScreenPieces {
public:
    ScreenPieces(PreviewLayout& layout, Extent screen) : layout_(layout), screen_(screen) {}

    // The picture's part from, drawn over on (screen pixels, may stand out of the screen), cut at the screen's
    // edges with the source cut in proportion.
    void Add(PreviewRect on, PreviewRect from)
    {
        const std::int64_t left = std::max(on.x, 0), top = std::max(on.y, 0);
        const std::int64_t right = std::min<std::int64_t>(std::int64_t{on.x} + on.width, screen_.width);
        const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{on.y} + on.height, screen_.height);
        if (left >= right || top >= bottom) {
            return;
        }
        PreviewPiece piece;
        piece.to = {X(left), Y(top), X(right) - X(left), Y(bottom) - Y(top)};
        if (piece.to.width <= 0 || piece.to.height <= 0) {
            return;
        }
        const auto cut = [](std::int64_t at, int start, int length, int sourceStart, int sourceLength) {
            return static_cast<int>(sourceStart + (at - start) * sourceLength / length);
        };
        const int fromLeft = cut(left, on.x, on.width, from.x, from.width);
        const int fromTop = cut(top, on.y, on.height, from.y, from.height);
        piece.from = {fromLeft, fromTop, cut(right, on.x, on.width, from.x, from.width) - fromLeft,
                      cut(bottom, on.y, on.height, from.y, from.height) - fromTop};
        layout_.pieces.push_back(piece);
    }

private:
    int X(std::int64_t x) const
    {
        return layout_.screen.x + static_cast<int>(x * layout_.screen.width / screen_.width);
    }
    int Y(std::int64_t y) const
    {
        return layout_.screen.y + static_cast<int>(y * layout_.screen.height / screen_.height);
    }

    PreviewLayout& layout_;
    Extent screen_;
};
} // namespace

PreviewLayout LayOutPreview(WallpaperStyle style, Extent picture, Extent screen, Extent frame, PreviewRect allScreens)
{
    PreviewLayout layout;
    if (screen.width <= 0 || screen.height <= 0 || frame.width <= 0 || frame.height <= 0) {
        layout.screen = {0, 0, 0, 0};
        return layout;
    }
    layout.screen = FitInto(screen, frame);
    if (picture.width <= 0 || picture.height <= 0) {
        return layout;
    }
    const PreviewRect wholeScreen = {0, 0, screen.width, screen.height};
    const PreviewRect wholePicture = {0, 0, picture.width, picture.height};
    ScreenPieces pieces(layout, screen);
    switch (style) {
    case WallpaperStyle::Centre:
        pieces.Add(
            {(screen.width - picture.width) / 2, (screen.height - picture.height) / 2, picture.width, picture.height},
            wholePicture);
        break;
    case WallpaperStyle::Tile: {
        // Repeats of a block of copies are the repeats of the picture: tiling starts at the screen's corner.
        const auto copies = [](int side, int screenSide) {
            const std::int64_t span = kTileBlocksPerSide * side;
            return static_cast<int>(std::max<std::int64_t>(1, (screenSide + span - 1) / span));
        };
        layout.tileBlock = {copies(picture.width, screen.width), copies(picture.height, screen.height)};
        const int blockWidth = layout.tileBlock.width * picture.width;
        const int blockHeight = layout.tileBlock.height * picture.height;
        for (int y = 0; y < screen.height; y += blockHeight) {
            for (int x = 0; x < screen.width; x += blockWidth) {
                pieces.Add({x, y, blockWidth, blockHeight}, {0, 0, blockWidth, blockHeight});
            }
        }
        break;
    }
    case WallpaperStyle::Fit: {
        const PreviewRect on = FitInto(picture, screen);
        pieces.Add(on, wholePicture);
        break;
    }
    case WallpaperStyle::Span:
        if (allScreens.width > 0 && allScreens.height > 0) {
            pieces.Add(allScreens, FillFrom(picture, {allScreens.width, allScreens.height}));
            break;
        }
        [[fallthrough]];
    case WallpaperStyle::Fill:
        pieces.Add(wholeScreen, FillFrom(picture, screen));
        break;
    default:
        pieces.Add(wholeScreen, wholePicture);
        break;
    }
    return layout;
}

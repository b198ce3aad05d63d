// The wallpaper list's rules: next entry, purge, UP and DOWN, the add rule's extension test, preview placement.
#include "wallpaper/WallpaperRules.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

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

std::wstring BitmapPathFor(std::wstring_view jpegPath)
{
    std::wstring_view extension = Extension(jpegPath);
    return std::wstring(jpegPath.substr(0, jpegPath.size() - extension.size())) + L".BMP";
}

PreviewRect PlacePreview(int pictureWidth, int pictureHeight, int frameWidth, int frameHeight)
{
    int width = std::max(pictureWidth, 0);
    int height = std::max(pictureHeight, 0);
    if (width > frameWidth || height > frameHeight) {
        // Scale by the tighter side; 64-bit products keep huge pictures exact.
        if (static_cast<std::int64_t>(width) * frameHeight >= static_cast<std::int64_t>(height) * frameWidth) {
            height = static_cast<int>(static_cast<std::int64_t>(height) * frameWidth / width);
            width = frameWidth;
        } else {
            width = static_cast<int>(static_cast<std::int64_t>(width) * frameHeight / height);
            height = frameHeight;
        }
    }
    return {(frameWidth - width) / 2, (frameHeight - height) / 2, width, height};
}

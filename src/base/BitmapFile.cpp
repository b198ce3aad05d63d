// Bitmap layout and headers, the conversion tag and the check of a converted file.
#include "base/BitmapFile.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/Handles.h"

namespace {
constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint64_t kRowAlignment = 4;
constexpr std::uint32_t kBytesPerPixel = 3;
constexpr std::uint16_t kBitsPerPixel = 24;
constexpr std::size_t kReservedAt = 6;
constexpr double kPpm = 1e6;
// A side that the scale makes a whole number of pixels stays that number, whatever the rounding of the division.
constexpr double kRoundingSlack = 1e-6;
// A picture reduced again for its bytes is made a little smaller than they allow, so that the padding of each row
// cannot keep it just over.
constexpr double kShrinkMargin = 0.99;
// FNV-1a over the upper-cased name's UTF-16 code units.
constexpr std::uint32_t kFnvOffset = 2166136261u;
constexpr std::uint32_t kFnvPrime = 16777619u;

void Put16(unsigned char* at, std::uint32_t value)
{
    at[0] = static_cast<unsigned char>(value);
    at[1] = static_cast<unsigned char>(value >> 8);
}

void Put32(unsigned char* at, std::uint32_t value)
{
    Put16(at, value);
    Put16(at + 2, value >> 16);
}

std::uint32_t Get16(const unsigned char* at)
{
    return at[0] | static_cast<std::uint32_t>(at[1]) << 8;
}

std::uint32_t Get32(const unsigned char* at)
{
    return Get16(at) | Get16(at + 2) << 16;
}
} // namespace

std::optional<BitmapLayout> LayoutFor(unsigned width, unsigned height)
{
    std::uint64_t stride =
        (static_cast<std::uint64_t>(width) * kBytesPerPixel + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
    std::uint64_t image = stride * height;
    std::uint64_t file = image + kBitmapHeaderSize;
    if (width == 0 || height == 0 || file > UINT32_MAX || height > static_cast<std::uint64_t>(INT32_MAX)) {
        return std::nullopt;
    }
    return BitmapLayout{static_cast<std::uint32_t>(stride), static_cast<std::uint32_t>(image),
                        static_cast<std::uint32_t>(file)};
}

std::optional<FittedSize> FitPicture(unsigned shownWidth, unsigned shownHeight, unsigned boxWidth, unsigned boxHeight,
                                     std::uint32_t leastScalePpm, std::uint64_t maxBytes)
{
    if (shownWidth == 0 || shownHeight == 0) {
        return std::nullopt;
    }
    const auto strideOf = [](std::uint64_t width) {
        return (width * kBytesPerPixel + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
    };
    double scale = std::max({static_cast<double>(boxWidth) / shownWidth, static_cast<double>(boxHeight) / shownHeight,
                             leastScalePpm / kPpm});
    scale = std::min(scale, 1.0);
    for (;;) {
        const auto width =
            static_cast<unsigned>(std::clamp(std::ceil(shownWidth * scale - kRoundingSlack), 1.0, 1.0 * shownWidth));
        const auto height =
            static_cast<unsigned>(std::clamp(std::ceil(shownHeight * scale - kRoundingSlack), 1.0, 1.0 * shownHeight));
        const std::uint64_t bytes = strideOf(width) * height;
        if (bytes <= maxBytes || (width == 1 && height == 1)) {
            return bytes <= maxBytes
                       ? std::optional<FittedSize>({width, height, static_cast<std::uint32_t>(strideOf(width))})
                       : std::nullopt;
        }
        scale *= std::sqrt(static_cast<double>(maxBytes) / bytes) * kShrinkMargin;
    }
}

void WriteBitmapHeaders(unsigned char (&headers)[kBitmapHeaderSize], unsigned width, unsigned height, std::uint32_t tag)
{
    std::memset(headers, 0, sizeof(headers));
    BitmapLayout layout = LayoutFor(width, height).value_or(BitmapLayout{});
    headers[0] = 'B';
    headers[1] = 'M';
    Put32(headers + 2, layout.fileSize);
    Put32(headers + kReservedAt, tag);
    Put32(headers + 10, kBitmapHeaderSize);
    unsigned char* info = headers + kFileHeaderSize;
    Put32(info, kInfoHeaderSize);
    Put32(info + 4, width);
    Put32(info + 8, height); // positive: bottom-up rows
    Put16(info + 12, 1);     // planes
    Put16(info + 14, kBitsPerPixel);
    Put32(info + 16, BI_RGB);
    Put32(info + 20, layout.imageSize);
}

std::uint32_t ConversionTag(std::wstring_view picturePath)
{
    const std::size_t slash = picturePath.find_last_of(L"\\/:");
    std::wstring name(slash == std::wstring_view::npos ? picturePath : picturePath.substr(slash + 1));
    CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    std::uint32_t hash = kFnvOffset;
    for (wchar_t c : name) {
        hash = (hash ^ static_cast<std::uint16_t>(c)) * kFnvPrime;
    }
    return hash != 0 ? hash : 1;
}

bool IsConvertedBitmap(const unsigned char (&headers)[kBitmapHeaderSize], std::uint64_t fileSize, unsigned width,
                       unsigned height, std::uint32_t tag)
{
    unsigned char expected[kBitmapHeaderSize];
    WriteBitmapHeaders(expected, width, height, tag);
    const auto layout = LayoutFor(width, height);
    return layout && layout->fileSize == fileSize && std::memcmp(headers, expected, sizeof(expected)) == 0;
}

std::optional<std::uint32_t> BitmapTagOf(const std::wstring& path)
{
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    unsigned char headers[kFileHeaderSize] = {};
    DWORD got = 0;
    if (!file || !ReadFile(file.Get(), headers, sizeof(headers), &got, nullptr) || got != sizeof(headers) ||
        headers[0] != 'B' || headers[1] != 'M') {
        return std::nullopt;
    }
    return Get32(headers + kReservedAt);
}

// The uncompressed 24-bit bitmap files that conversions write: their layout, their headers, and the tag in the
// file header's reserved words by which the program knows a bitmap as its own conversion of one picture.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Sizes of a bottom-up 24-bit bitmap file; nothing when the file would exceed what its header can state.
struct BitmapLayout {
    std::uint32_t stride;    // bytes per row, padded to a multiple of 4
    std::uint32_t imageSize; // stride * height
    std::uint32_t fileSize;  // headers + image
};
inline constexpr std::uint32_t kBitmapHeaderSize = 14 + 40;
std::optional<BitmapLayout> LayoutFor(unsigned width, unsigned height);

// The size a picture of shownWidth x shownHeight is reduced to for a preview: by the least scale that still covers
// the box (fills it in both directions) and keeps at least leastScalePpm millionths of the picture, never enlarged,
// and smaller again when its rows (as a bitmap's, 3 bytes a pixel padded to 4) would take more than maxBytes.
// Nothing for an empty picture.
struct FittedSize {
    unsigned width;
    unsigned height;
    std::uint32_t stride;
};
std::optional<FittedSize> FitPicture(unsigned shownWidth, unsigned shownHeight, unsigned boxWidth, unsigned boxHeight,
                                     std::uint32_t leastScalePpm, std::uint64_t maxBytes);

// The file and info headers of such a bitmap; tag goes into the file header's two reserved words, which every
// other writer leaves zero.
void WriteBitmapHeaders(unsigned char (&headers)[kBitmapHeaderSize], unsigned width, unsigned height,
                        std::uint32_t tag);

// The tag of the program's conversion of a picture: a hash of the picture's file name (without its folder, any
// letter case), never zero.
std::uint32_t ConversionTag(std::wstring_view picturePath);

// Whether the headers describe exactly the bitmap that a conversion of that size and tag writes, in a file of
// fileSize bytes.
bool IsConvertedBitmap(const unsigned char (&headers)[kBitmapHeaderSize], std::uint64_t fileSize, unsigned width,
                       unsigned height, std::uint32_t tag);

// The tag in the headers of a bitmap file (zero for one the program did not write); nothing when the file cannot
// be read or is no bitmap.
std::optional<std::uint32_t> BitmapTagOf(const std::wstring& path);

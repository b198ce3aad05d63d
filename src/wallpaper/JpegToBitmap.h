// JPEG files converted to uncompressed 24-bit Windows bitmaps beside them, streaming and without ever
// leaving a damaged or half-written bitmap under the target's name.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// Sizes of a bottom-up 24-bit bitmap file; nothing when the file would exceed what its header can state.
struct BitmapLayout {
    std::uint32_t stride;    // bytes per row, padded to a multiple of 4
    std::uint32_t imageSize; // stride * height
    std::uint32_t fileSize;  // headers + image
};
inline constexpr std::uint32_t kBitmapHeaderSize = 14 + 40;
std::optional<BitmapLayout> LayoutFor(unsigned width, unsigned height);
// The file and info headers of such a bitmap.
void WriteBitmapHeaders(unsigned char (&headers)[kBitmapHeaderSize], unsigned width, unsigned height);

// TooLarge: the header declares a picture over the decoder's memory bound (pictures other than JPEG).
enum class ConvertError { None, CannotOpen, Decode, TooLarge, CannotCreate };
struct ConvertResult {
    ConvertError error;
    int jpegMessage; // the decoder's message number for Decode of a JPEG file
};

// The temporary file's name for the nth attempt: in bmpPath's folder, so that the final rename stays on the
// same volume, and never longer than a bitmap's own name (".BMP" at least), so that a bitmap whose path is
// near the length limit gets its temporary file too.
std::wstring TemporaryPathFor(const std::wstring& bmpPath, unsigned number);

// Decodes jpegPath and writes the bitmap to a new file in bmpPath's folder, which replaces bmpPath only once
// the whole picture is written; on any failure bmpPath is untouched and no temporary file is left.
ConvertResult ConvertJpegToBmp(const std::wstring& jpegPath, const std::wstring& bmpPath);

// Fills the shown rows of a picture top first into the memory given (width * 3 bytes: blue, green, red); false
// ends the writing as a decode failure.
using BitmapRowFiller = std::function<bool(unsigned row, unsigned char* bgr)>;
// Writes a bitmap of that size row by row under the same rules as the JPEG conversion: bmpPath is replaced only
// once every row is written. Decode when a row cannot be filled, CannotCreate when the file cannot be written.
ConvertError WriteBitmapRows(const std::wstring& bmpPath, unsigned width, unsigned height,
                             const BitmapRowFiller& fillRow);

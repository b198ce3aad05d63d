// The size a picture file declares in its own header, read before the imaging component is given the file: the
// bounds are checked on it, so that a small file declaring a huge picture is refused before any decoder
// allocates or decodes anything for it. Reads untrusted bytes and never past them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

// Reads up to size bytes of the file from offset; returns how many it got.
using FileBytesFn = std::function<std::size_t(std::uint64_t offset, unsigned char* to, std::size_t size)>;

struct DeclaredPicture {
    unsigned width;
    unsigned height;
    // The bits per pixel of the decoded picture as the imaging component holds it before converting it.
    unsigned decoderBits;
};

// PNG, GIF, TIFF (and the camera formats built on it), bitmaps, icons and cursors, WebP, JPEG XR, DDS and the
// HEIF family, by their content; the largest picture where a file holds several. Nothing for a file of any other
// kind or one whose header is damaged.
std::optional<DeclaredPicture> ReadDeclaredPicture(const FileBytesFn& read);

// The memory that decoding a picture of that declaration takes: the imaging component's own copy and its
// conversion to 32 bits, and the 32-bit copy the converter holds.
std::uint64_t DecodingMemory(const DeclaredPicture& picture);

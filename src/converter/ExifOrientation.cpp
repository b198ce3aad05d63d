// The Exif segment's TIFF structure, as far as the orientation tag: header, then the first directory only, so
// no chain of directories is followed and none can loop. Every offset is checked against the segment's size.
#include "converter/ExifOrientation.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace {
constexpr unsigned char kExifPrefix[] = {'E', 'x', 'i', 'f', 0, 0};
constexpr std::size_t kTiffHeaderSize = 8;
constexpr std::size_t kEntrySize = 12;
constexpr std::uint32_t kOrientationTag = 0x0112;
constexpr std::uint32_t kShortType = 3;
constexpr int kLastOrientation = 8;

class TiffBytes {
public:
    TiffBytes(const unsigned char* data, std::size_t size, bool bigEndian)
        : data_(data), size_(size), bigEndian_(bigEndian)
    {
    }

    bool Holds(std::size_t at, std::size_t count) const { return at <= size_ && count <= size_ - at; }

    // Callers check Holds first.
    std::uint32_t Get16(std::size_t at) const
    {
        const unsigned char* p = data_ + at;
        return bigEndian_ ? (p[0] << 8 | p[1]) : (p[1] << 8 | p[0]);
    }

    std::uint32_t Get32(std::size_t at) const
    {
        return bigEndian_ ? (Get16(at) << 16 | Get16(at + 2)) : (Get16(at + 2) << 16 | Get16(at));
    }

private:
    const unsigned char* data_;
    std::size_t size_;
    bool bigEndian_;
};
} // namespace

int ExifOrientation(const unsigned char* data, std::size_t size)
{
    if (size < sizeof(kExifPrefix) + kTiffHeaderSize ||
        !std::equal(std::begin(kExifPrefix), std::end(kExifPrefix), data)) {
        return kUpright;
    }
    const unsigned char* tiff = data + sizeof(kExifPrefix);
    const bool bigEndian = tiff[0] == 'M' && tiff[1] == 'M';
    if (!bigEndian && !(tiff[0] == 'I' && tiff[1] == 'I')) {
        return kUpright;
    }
    const TiffBytes bytes(tiff, size - sizeof(kExifPrefix), bigEndian);
    const std::uint32_t directory = bytes.Get32(4);
    if (!bytes.Holds(directory, 2)) {
        return kUpright;
    }
    const std::uint32_t entries = bytes.Get16(directory);
    if (!bytes.Holds(directory + 2, entries * kEntrySize)) {
        return kUpright;
    }
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + i * kEntrySize;
        if (bytes.Get16(entry) != kOrientationTag) {
            continue;
        }
        // One SHORT, which sits at the start of the value field in either byte order.
        const std::uint32_t value = bytes.Get16(entry + 8);
        if (bytes.Get16(entry + 2) != kShortType || bytes.Get32(entry + 4) != 1 || value < kUpright ||
            value > kLastOrientation) {
            return kUpright;
        }
        return static_cast<int>(value);
    }
    return kUpright;
}

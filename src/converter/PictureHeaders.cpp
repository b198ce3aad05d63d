// Header readers of the picture types the imaging component knows: each reads the few fields that state the
// picture's size, walking a file's directories or boxes only within fixed counts.
#include "converter/PictureHeaders.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {
// What each walk looks at, at most, so that a crafted file cannot make the reader slow: TIFF directories, their
// sub-directories and entries (icon entries too),
constexpr int kMaxDirectories = 16;
constexpr int kMaxSubDirectories = 8;
constexpr unsigned kMaxEntries = 512;
// the HEIF family's boxes and their nesting, and the bytes before a GIF's first image.
constexpr int kMaxBoxes = 256;
constexpr int kMaxBoxDepth = 4;
constexpr std::size_t kGifLookahead = 64 * 1024;
// The bits per pixel decoders hold: types that may hold floating-point channels, 16-bit ones, 8-bit RGBA and
// palette indices; the converter's own copy is 32-bit.
constexpr unsigned kWideBits = 128;
constexpr unsigned kHdrBits = 64;
constexpr unsigned kRgbaBits = 32;
constexpr unsigned kIndexedBits = 8;
constexpr unsigned kHeldBits = 32;

class Bytes {
public:
    explicit Bytes(const FileBytesFn& read) : read_(read) {}

    bool Read(std::uint64_t offset, unsigned char* to, std::size_t size) const
    {
        return read_(offset, to, size) == size;
    }
    std::optional<std::uint32_t> U8(std::uint64_t at) const { return Number(at, 1, false); }
    std::optional<std::uint32_t> Le16(std::uint64_t at) const { return Number(at, 2, false); }
    std::optional<std::uint32_t> Le32(std::uint64_t at) const { return Number(at, 4, false); }
    std::optional<std::uint32_t> Be16(std::uint64_t at) const { return Number(at, 2, true); }
    std::optional<std::uint32_t> Be32(std::uint64_t at) const { return Number(at, 4, true); }
    bool Starts(std::uint64_t at, const char* text, std::size_t size) const
    {
        std::array<unsigned char, 16> got = {};
        return size <= got.size() && Read(at, got.data(), size) && std::memcmp(got.data(), text, size) == 0;
    }

private:
    std::optional<std::uint32_t> Number(std::uint64_t at, std::size_t size, bool bigEndian) const
    {
        unsigned char b[4] = {};
        if (!Read(at, b, size)) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < size; ++i) {
            value |= static_cast<std::uint32_t>(b[bigEndian ? i : size - 1 - i]) << (8 * (size - 1 - i));
        }
        return value;
    }
    const FileBytesFn& read_;
};

// The larger of two declarations, by their pixels.
void KeepLarger(std::optional<DeclaredPicture>& kept, const DeclaredPicture& other)
{
    if (other.width == 0 || other.height == 0) {
        return;
    }
    if (!kept || static_cast<std::uint64_t>(other.width) * other.height >
                     static_cast<std::uint64_t>(kept->width) * kept->height) {
        kept = other;
    }
}

std::optional<DeclaredPicture> Png(const Bytes& b, std::uint64_t at = 0)
{
    const auto width = b.Be32(at + 16), height = b.Be32(at + 20), depth = b.U8(at + 24), colour = b.U8(at + 25);
    if (!b.Starts(at + 12, "IHDR", 4) || !width || !height || !depth || !colour) {
        return std::nullopt;
    }
    static constexpr unsigned kChannels[] = {1, 0, 3, 1, 2, 0, 4};
    const unsigned channels = *colour < std::size(kChannels) ? kChannels[*colour] : 0;
    if (channels == 0 || *depth == 0 || *depth > 16) {
        return std::nullopt;
    }
    return DeclaredPicture{*width, *height, channels * *depth};
}

std::optional<DeclaredPicture> Gif(const FileBytesFn& read)
{
    // Extensions up to the first image are walked in the file's first bytes, read at once.
    std::vector<unsigned char> head(kGifLookahead);
    head.resize(read(0, head.data(), head.size()));
    const auto at16 = [&head](std::size_t at) { return static_cast<unsigned>(head[at] | head[at + 1] << 8); };
    if (head.size() < 13) {
        return std::nullopt;
    }
    std::optional<DeclaredPicture> declared;
    KeepLarger(declared, {at16(6), at16(8), kIndexedBits});
    const unsigned flags = head[10];
    std::size_t at = 13 + ((flags & 0x80) ? 3u << ((flags & 7) + 1) : 0);
    while (at < head.size() && head[at] == 0x21) {
        at += 2;
        while (at < head.size() && head[at] != 0) {
            at += head[at] + 1u;
        }
        ++at;
    }
    // The first image's place and size may reach past the logical screen.
    if (at + 9 <= head.size() && head[at] == 0x2C) {
        KeepLarger(declared, {at16(at + 1) + at16(at + 5), at16(at + 3) + at16(at + 7), kIndexedBits});
    }
    return declared;
}

// One TIFF-like file: its byte order and where its directories are.
struct Tiff {
    const Bytes& b;
    bool bigEndian;
    std::optional<std::uint32_t> U16(std::uint64_t at) const { return bigEndian ? b.Be16(at) : b.Le16(at); }
    std::optional<std::uint32_t> U32(std::uint64_t at) const { return bigEndian ? b.Be32(at) : b.Le32(at); }
    // A SHORT or LONG value of an entry (the first of several).
    std::optional<std::uint32_t> Value(std::uint64_t entry) const
    {
        const auto type = U16(entry + 2);
        return type == 3u ? U16(entry + 8) : type == 4u ? U32(entry + 8) : std::nullopt;
    }
};

// A directory's picture and its sub-directories; the next directory's place (0 for none).
std::uint32_t TiffDirectory(const Tiff& t, std::uint64_t at, std::uint16_t widthTag, std::uint16_t heightTag,
                            unsigned wideBits, std::optional<DeclaredPicture>& declared,
                            std::vector<std::uint32_t>* subs)
{
    const auto count = t.U16(at);
    if (!count || *count > kMaxEntries) {
        return 0;
    }
    DeclaredPicture picture = {0, 0, wideBits};
    unsigned samples = 1, bits = 1;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const std::uint64_t entry = at + 2 + 12ull * i;
        const auto tag = t.U16(entry);
        const auto value = t.Value(entry);
        if (!tag) {
            return 0;
        }
        if (*tag == widthTag && value) {
            picture.width = *value;
        } else if (*tag == heightTag && value) {
            picture.height = *value;
        } else if (*tag == 277 && value) {
            samples = std::clamp<std::uint32_t>(*value, 1, 16);
        } else if (*tag == 258 && t.U32(entry + 4) == 1u && value) {
            bits = std::clamp<std::uint32_t>(*value, 1, 32);
        } else if (*tag == 258 && t.U32(entry + 4) > 1u) {
            const auto values = t.U32(entry + 8); // the place of the values: all are alike in real files
            const auto first = values ? t.U16(*values) : std::nullopt;
            bits = first ? std::clamp<std::uint32_t>(*first, 1, 32) : 8;
        } else if (*tag == 330 && subs) {
            const auto n = std::min<std::uint32_t>(t.U32(entry + 4).value_or(0), kMaxSubDirectories);
            for (std::uint32_t k = 0; k < n; ++k) {
                const auto place = n == 1 ? t.U32(entry + 8) : t.U32(t.U32(entry + 8).value_or(0) + 4ull * k);
                if (place) {
                    subs->push_back(*place);
                }
            }
        }
    }
    if (wideBits == 0) {
        picture.decoderBits = std::min(samples * bits, kWideBits);
    }
    KeepLarger(declared, picture);
    return t.U32(at + 2 + 12ull * *count).value_or(0);
}

// TIFF and the formats built on it (camera files, JPEG XR with its own tags): the largest picture of the first
// directories and their sub-directories.
std::optional<DeclaredPicture> TiffLike(const Bytes& b, bool bigEndian, std::uint16_t widthTag, std::uint16_t heightTag,
                                        unsigned wideBits)
{
    const Tiff t{b, bigEndian};
    std::optional<DeclaredPicture> declared;
    std::vector<std::uint32_t> subs;
    auto next = t.U32(4).value_or(0);
    for (int i = 0; i < kMaxDirectories && next != 0; ++i) {
        next = TiffDirectory(t, next, widthTag, heightTag, wideBits, declared, &subs);
    }
    for (std::size_t i = 0; i < subs.size() && i < kMaxSubDirectories; ++i) {
        TiffDirectory(t, subs[i], widthTag, heightTag, wideBits, declared, nullptr);
    }
    return declared;
}

std::optional<DeclaredPicture> Bitmap(const Bytes& b, std::uint64_t at, bool halfHeight)
{
    const auto size = b.Le32(at);
    if (size == 12u) {
        const auto width = b.Le16(at + 4), height = b.Le16(at + 6), bits = b.Le16(at + 10);
        return width && height && bits ? std::optional(DeclaredPicture{*width, *height, kRgbaBits}) : std::nullopt;
    }
    const auto width = b.Le32(at + 4), height = b.Le32(at + 8);
    if (!size || *size < 40 || !width || !height) {
        return std::nullopt;
    }
    const auto w = static_cast<std::int32_t>(*width), h = static_cast<std::int32_t>(*height);
    const std::uint32_t rows = h < 0 ? 0u - static_cast<std::uint32_t>(h) : static_cast<std::uint32_t>(h);
    return DeclaredPicture{w < 0 ? 0u : static_cast<unsigned>(w), halfHeight ? rows / 2 : rows, kRgbaBits};
}

std::optional<DeclaredPicture> Icon(const Bytes& b)
{
    const auto count = b.Le16(4);
    if (!count || *count == 0) {
        return std::nullopt;
    }
    std::optional<DeclaredPicture> declared;
    for (std::uint32_t i = 0; i < *count && i < kMaxEntries; ++i) {
        const auto place = b.Le32(6 + 16ull * i + 12);
        if (!place) {
            return std::nullopt;
        }
        const auto inside = b.Starts(*place, "\x89PNG", 4) ? Png(b, *place) : Bitmap(b, *place, true);
        if (!inside) {
            return std::nullopt;
        }
        KeepLarger(declared, *inside);
    }
    return declared;
}

std::optional<DeclaredPicture> WebP(const Bytes& b)
{
    if (b.Starts(12, "VP8X", 4)) {
        const auto w = b.Le32(24), h = b.Le32(27);
        return w && h ? std::optional(DeclaredPicture{(*w & 0xFFFFFF) + 1, (*h & 0xFFFFFF) + 1, kRgbaBits})
                      : std::nullopt;
    }
    if (b.Starts(12, "VP8L", 4)) {
        const auto bits = b.Le32(21);
        return bits ? std::optional(DeclaredPicture{(*bits & 0x3FFF) + 1, ((*bits >> 14) & 0x3FFF) + 1, kRgbaBits})
                    : std::nullopt;
    }
    if (b.Starts(12, "VP8 ", 4)) {
        const auto w = b.Le16(26), h = b.Le16(28);
        return w && h ? std::optional(DeclaredPicture{*w & 0x3FFF, *h & 0x3FFF, kRgbaBits}) : std::nullopt;
    }
    return std::nullopt;
}

// The HEIF family: the largest 'ispe' (image spatial extent) property of the boxes meta, iprp and ipco.
void IsoBoxes(const Bytes& b, std::uint64_t at, std::uint64_t end, int depth, int& boxes,
              std::optional<DeclaredPicture>& declared)
{
    while (at + 8 <= end && ++boxes < kMaxBoxes) {
        const auto size = b.Be32(at);
        char type[4] = {};
        if (!size || !b.Read(at + 4, reinterpret_cast<unsigned char*>(type), 4)) {
            return;
        }
        const std::uint64_t boxEnd = *size == 0 ? end : at + *size;
        if (*size < 8 || boxEnd > end) {
            return;
        }
        if (std::memcmp(type, "ispe", 4) == 0) {
            const auto w = b.Be32(at + 12), h = b.Be32(at + 16);
            if (w && h) {
                KeepLarger(declared, {*w, *h, kHdrBits});
            }
        } else if (depth < kMaxBoxDepth && (std::memcmp(type, "meta", 4) == 0 || std::memcmp(type, "iprp", 4) == 0 ||
                                            std::memcmp(type, "ipco", 4) == 0)) {
            // meta is a full box: version and flags come before its children.
            IsoBoxes(b, at + 8 + (type[0] == 'm' ? 4 : 0), boxEnd, depth + 1, boxes, declared);
        }
        at = boxEnd;
    }
}

std::optional<DeclaredPicture> Heif(const Bytes& b)
{
    std::optional<DeclaredPicture> declared;
    int boxes = 0;
    IsoBoxes(b, 0, UINT64_MAX / 2, 0, boxes, declared);
    return declared;
}
} // namespace

std::optional<DeclaredPicture> ReadDeclaredPicture(const FileBytesFn& read)
{
    const Bytes b(read);
    if (b.Starts(0, "\x89PNG\r\n\x1A\n", 8)) {
        return Png(b);
    }
    if (b.Starts(0, "GIF87a", 6) || b.Starts(0, "GIF89a", 6)) {
        return Gif(read);
    }
    if (b.Starts(0, "II\xBC", 3)) {
        return TiffLike(b, false, 0xBC80, 0xBC81, kWideBits);
    }
    for (const char* magic : {"II*\0", "IIRO", "IIRS", "IIU\0"}) {
        if (b.Starts(0, magic, 4)) {
            return TiffLike(b, false, 256, 257, 0);
        }
    }
    if (b.Starts(0, "MM\0*", 4)) {
        return TiffLike(b, true, 256, 257, 0);
    }
    if (b.Starts(0, "BM", 2)) {
        return Bitmap(b, 14, false);
    }
    if (b.Starts(0, "\0\0\1\0", 4) || b.Starts(0, "\0\0\2\0", 4)) {
        return Icon(b);
    }
    if (b.Starts(0, "RIFF", 4) && b.Starts(8, "WEBP", 4)) {
        return WebP(b);
    }
    if (b.Starts(0, "DDS ", 4)) {
        const auto h = b.Le32(12), w = b.Le32(16);
        return w && h ? std::optional(DeclaredPicture{*w, *h, kWideBits}) : std::nullopt;
    }
    if (b.Starts(4, "ftyp", 4)) {
        return Heif(b);
    }
    return std::nullopt;
}

std::uint64_t DecodingMemory(const DeclaredPicture& picture)
{
    const std::uint64_t pixels = static_cast<std::uint64_t>(picture.width) * picture.height;
    return pixels * (2 * picture.decoderBits + kHeldBits) / 8;
}

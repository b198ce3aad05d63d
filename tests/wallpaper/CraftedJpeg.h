// JPEG files made from the test images: ones to be refused (declaring a huge picture, of thousands of scans)
// and ones with an Exif orientation. No <windows.h> here: the decoder's tests include jpeglib.h.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// Where the next marker of a kind stands from a position on, or the last one (scan data holds 0xFF only
// before 0 or a restart marker).
inline constexpr std::size_t kLastMarker = ~std::size_t{0};
inline std::size_t Marker(const std::vector<unsigned char>& b, unsigned char kind, std::size_t from = 0)
{
    const unsigned char marker[] = {0xFF, kind};
    return (from == kLastMarker ? std::find_end(b.begin(), b.end(), marker, marker + 2)
                                : std::search(b.begin() + from, b.end(), marker, marker + 2)) -
           b.begin();
}

// 65 500 x 20 000 pixels: a bitmap of 3.9 GB and as many bytes of coefficients. The frame is progressive
// (0xC2) or baseline (0xC0).
inline std::vector<unsigned char> DeclaringAHugePicture(std::vector<unsigned char> jpeg, unsigned char frame = 0xC2)
{
    const unsigned char size[] = {0x4E, 0x20, 0xFF, 0xDC};
    std::copy(size, size + 4, jpeg.begin() + Marker(jpeg, frame) + 5);
    return jpeg;
}

// The first scan (with the table after it) two thousand times more, which the decoder only warns about.
inline std::vector<unsigned char> WithEndlessScans(const std::vector<unsigned char>& progressive)
{
    std::vector<unsigned char> endless(progressive.begin(), progressive.end() - 2);
    const std::size_t first = Marker(progressive, 0xDA);
    for (int i = 0; i < 2000; ++i) {
        endless.insert(endless.end(), progressive.begin() + first,
                       progressive.begin() + Marker(progressive, 0xDA, first + 2));
    }
    endless.insert(endless.end(), progressive.end() - 2, progressive.end());
    return endless;
}

// The data of an APP1 Exif segment whose first directory holds an unrelated tag, then the orientation. Its
// layout, for tests that spoil it: byte order at 6, 42 at 8, the directory's offset at 10 (from 6 on), its
// entry count at 14, the orientation entry at 28 (type at 30, count at 32, value at 36), the next directory's
// offset at 40.
inline std::vector<unsigned char> ExifSegment(unsigned orientation, bool bigEndian = false)
{
    std::vector<unsigned char> s = {'E', 'x', 'i', 'f', 0, 0};
    auto put16 = [&](unsigned v) {
        s.push_back(static_cast<unsigned char>(bigEndian ? v >> 8 : v));
        s.push_back(static_cast<unsigned char>(bigEndian ? v : v >> 8));
    };
    auto put32 = [&](unsigned v) {
        put16(bigEndian ? v >> 16 : v & 0xFFFF);
        put16(bigEndian ? v & 0xFFFF : v >> 16);
    };
    s.insert(s.end(), 2, bigEndian ? 'M' : 'I');
    put16(42);
    put32(8);
    put16(2);
    put16(0x010F); // Make, four characters in the entry itself
    put16(2);
    put32(4);
    s.insert(s.end(), {'C', 'a', 'm', 0});
    put16(0x0112);
    put16(3); // SHORT
    put32(1);
    put16(orientation);
    put16(0);
    put32(0);
    return s;
}

// The JPEG file with an APP1 segment of that data right after its start marker.
inline std::vector<unsigned char> WithApp1(std::vector<unsigned char> jpeg, const std::vector<unsigned char>& data)
{
    const std::size_t length = data.size() + 2;
    std::vector<unsigned char> segment = {0xFF, 0xE1, static_cast<unsigned char>(length >> 8),
                                          static_cast<unsigned char>(length)};
    segment.insert(segment.end(), data.begin(), data.end());
    jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
    return jpeg;
}

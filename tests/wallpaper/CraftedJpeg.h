// JPEG files to be refused, made from a progressive test image: one that declares a huge picture and one of
// thousands of scans. No <windows.h> here: the decoder's tests include jpeglib.h.
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

// 65 500 x 20 000 pixels: a bitmap of 3.9 GB and as many bytes of coefficients.
inline std::vector<unsigned char> DeclaringAHugePicture(std::vector<unsigned char> progressive)
{
    const unsigned char size[] = {0x4E, 0x20, 0xFF, 0xDC};
    std::copy(size, size + 4, progressive.begin() + Marker(progressive, 0xC2) + 5);
    return progressive;
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

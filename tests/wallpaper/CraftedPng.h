// PNG files made from nothing: a bomb, a few hundred bytes that declare a huge picture and hold the start of a
// deflate stream of empty rows, which a decoder would inflate to the whole declared picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The CRC of a PNG chunk's type and data.
inline std::uint32_t PngCrc(const unsigned char* data, std::size_t size)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
        }
    }
    return ~crc;
}

inline void PngChunk(std::vector<unsigned char>& png, const char* type, const std::vector<unsigned char>& data)
{
    const auto put32 = [&png](std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            png.push_back(static_cast<unsigned char>(v >> shift));
        }
    };
    put32(static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    put32(PngCrc(png.data() + start, png.size() - start));
}

// The signature and the header of a PNG of that size, bit depth and colour type.
inline std::vector<unsigned char> PngStart(std::uint32_t width, std::uint32_t height, unsigned char depth,
                                           unsigned char colour)
{
    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    for (std::uint32_t v : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            header.push_back(static_cast<unsigned char>(v >> shift));
        }
    }
    header.insert(header.end(), {depth, colour, 0, 0, 0});
    PngChunk(png, "IHDR", header);
    return png;
}

// A PNG of that size, bit depth and colour type whose data begins a fixed-Huffman deflate block of one zero byte
// and then copies of 258 zeros (13 bits each), cut after matches copies.
inline std::vector<unsigned char> PngBomb(std::uint32_t width, std::uint32_t height, unsigned char depth,
                                          unsigned char colour, int matches = 4000)
{
    std::vector<unsigned char> png = PngStart(width, height, depth, colour);
    std::vector<unsigned char> data = {0x78, 0x9C};
    unsigned bits = 0, count = 0;
    const auto put = [&](unsigned value, unsigned length, bool huffman) {
        for (unsigned i = 0; i < length; ++i) {
            const unsigned bit = huffman ? (value >> (length - 1 - i)) & 1 : (value >> i) & 1;
            bits |= bit << count;
            if (++count == 8) {
                data.push_back(static_cast<unsigned char>(bits));
                bits = count = 0;
            }
        }
    };
    put(0, 1, false);   // not the last block
    put(1, 2, false);   // fixed Huffman codes
    put(0x30, 8, true); // the literal 0
    for (int i = 0; i < matches; ++i) {
        put(0xC5, 8, true); // length 258
        put(0, 5, true);    // distance 1
    }
    data.push_back(static_cast<unsigned char>(bits));
    PngChunk(png, "IDAT", data);
    PngChunk(png, "IEND", {});
    return png;
}

// A valid grey PNG of that size (small: its rows fit one stored deflate block), every pixel 0x80.
inline std::vector<unsigned char> GreyPng(std::uint32_t width, std::uint32_t height)
{
    std::vector<unsigned char> rows;
    for (std::uint32_t y = 0; y < height; ++y) {
        rows.push_back(0); // no filter
        rows.insert(rows.end(), width, 0x80);
    }
    std::uint32_t a = 1, b = 0;
    for (unsigned char byte : rows) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    const auto length = static_cast<std::uint16_t>(rows.size());
    std::vector<unsigned char> data = {0x78,
                                       0x01,
                                       0x01,
                                       static_cast<unsigned char>(length),
                                       static_cast<unsigned char>(length >> 8),
                                       static_cast<unsigned char>(~length),
                                       static_cast<unsigned char>(~length >> 8)};
    data.insert(data.end(), rows.begin(), rows.end());
    const std::uint32_t adler = b << 16 | a;
    for (int shift = 24; shift >= 0; shift -= 8) {
        data.push_back(static_cast<unsigned char>(adler >> shift));
    }
    std::vector<unsigned char> png = PngStart(width, height, 8, 0);
    PngChunk(png, "IDAT", data);
    PngChunk(png, "IEND", {});
    return png;
}

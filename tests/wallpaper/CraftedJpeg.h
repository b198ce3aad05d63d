// JPEG files made from the test images or from nothing: ones to be refused (declaring a huge picture, of
// thousands of scans, of many passes over the picture, arithmetic-coded ones of invalid or costly progressions)
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

// The data of an APP1 Exif segment: the TIFF header, one directory with Make ("Cam") and the orientation, whose
// value is at 36 (little-endian) or 37 (big-endian), and no next directory.
inline std::vector<unsigned char> ExifSegment(unsigned char orientation, bool bigEndian = false)
{
    std::vector<unsigned char> segment =
        bigEndian ? std::vector<unsigned char>{'E', 'x', 'i',  'f', 0, 0, 'M', 'M', 0, 42,  0,   0,   0, 8, 0,
                                               2,   1,   0x0F, 0,   2, 0, 0,   0,   4, 'C', 'a', 'm', 0, 1, 0x12,
                                               0,   3,   0,    0,   0, 1, 0,   0,   0, 0,   0,   0,   0, 0}
                  : std::vector<unsigned char>{'E', 'x',  'i', 'f', 0, 0, 'I', 'I', 42, 0,   8,   0,   0, 0,    2,
                                               0,   0x0F, 1,   2,   0, 4, 0,   0,   0,  'C', 'a', 'm', 0, 0x12, 1,
                                               3,   0,    1,   0,   0, 0, 0,   0,   0,  0,   0,   0,   0, 0};
    segment[bigEndian ? 37 : 36] = orientation;
    return segment;
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

// A greyscale progressive picture of that size in as many scans as passes, each a pass over every block: a DC
// scan of one bit per block, then full AC scans, each sending every coefficient again (which a valid progression
// may do) and ending every block at once (a run of 16,384 empty blocks in 15 bits), each a few bytes however
// large the picture. Every code and extra bit is a zero.
inline std::vector<unsigned char> WithManyPasses(unsigned width, unsigned height, int passes)
{
    const auto hi = [](unsigned v) { return static_cast<unsigned char>(v >> 8); };
    const auto lo = [](unsigned v) { return static_cast<unsigned char>(v); };
    std::vector<unsigned char> jpeg = {0xFF, 0xD8, 0xFF, 0xDB, 0, 67, 0};
    jpeg.insert(jpeg.end(), 64, 1);
    const unsigned char frame[] = {0xFF, 0xC2, 0, 11, 8, hi(height), lo(height), hi(width), lo(width), 1, 1, 0x11, 0};
    jpeg.insert(jpeg.end(), frame, frame + sizeof(frame));
    // One symbol of one bit in each table: difference category 0, and an end-of-band run of 2^14 and 14 bits.
    for (const unsigned char table : {0x00, 0x10}) {
        const unsigned char define[] = {0xFF, 0xC4, 0, 20, table, 1};
        jpeg.insert(jpeg.end(), define, define + sizeof(define));
        jpeg.insert(jpeg.end(), 15, 0);
        jpeg.push_back(table == 0 ? 0x00 : 0xE0);
    }
    const std::size_t blocks = static_cast<std::size_t>((width + 7) / 8) * ((height + 7) / 8);
    for (int pass = 0; pass < passes; ++pass) {
        // Ss, Se and Ah/Al: the DC band, then the whole AC band again and again.
        const unsigned char dc[] = {0, 0, 0x00}, ac[] = {1, 63, 0x00};
        const unsigned char* band = pass == 0 ? dc : ac;
        const unsigned char scan[] = {0xFF, 0xDA, 0, 8, 1, 1, 0x00, band[0], band[1], band[2]};
        jpeg.insert(jpeg.end(), scan, scan + sizeof(scan));
        jpeg.insert(jpeg.end(), pass == 0 ? (blocks + 7) / 8 : (blocks / 16384 + 1) * 15 / 8 + 1, 0);
    }
    jpeg.push_back(0xFF);
    jpeg.push_back(0xD9);
    return jpeg;
}

// One scan's band and bits: Ss, Se, Ah, Al.
struct JpegScan {
    unsigned char ss, se, ah, al;
};

// A greyscale arithmetic-coded picture of that size: progressive with these scans, or sequential (one scan of
// every coefficient). Each scan's data is a few zero bytes, which the arithmetic decoder reads on from as a picture
// of any size.
inline std::vector<unsigned char> ArithmeticJpeg(unsigned width, unsigned height, const std::vector<JpegScan>& scans,
                                                 bool progressive = true)
{
    const auto hi = [](unsigned v) { return static_cast<unsigned char>(v >> 8); };
    const auto lo = [](unsigned v) { return static_cast<unsigned char>(v); };
    std::vector<unsigned char> jpeg = {0xFF, 0xD8, 0xFF, 0xDB, 0, 67, 0};
    jpeg.insert(jpeg.end(), 64, 1);
    const unsigned char frame[] = {0xFF,       static_cast<unsigned char>(progressive ? 0xCA : 0xC9),
                                   0,          11,
                                   8,          hi(height),
                                   lo(height), hi(width),
                                   lo(width),  1,
                                   1,          0x11,
                                   0};
    jpeg.insert(jpeg.end(), frame, frame + sizeof(frame));
    for (const JpegScan& band : progressive ? scans : std::vector<JpegScan>{{0, 63, 0, 0}}) {
        const unsigned char scan[] = {0xFF, 0xDA, 0,       8,       1,
                                      1,    0x00, band.ss, band.se, static_cast<unsigned char>(band.ah << 4 | band.al)};
        jpeg.insert(jpeg.end(), scan, scan + sizeof(scan));
        jpeg.insert(jpeg.end(), 4, 0);
    }
    jpeg.push_back(0xFF);
    jpeg.push_back(0xD9);
    return jpeg;
}

// The DC band, the AC band but its last bit, then that last bit refined count times: every refinement after the
// first refines bits that were never sent.
inline std::vector<JpegScan> RepeatedRefinements(int count)
{
    std::vector<JpegScan> scans = {{0, 0, 0, 0}, {1, 63, 0, 1}};
    scans.insert(scans.end(), count, JpegScan{1, 63, 1, 0});
    return scans;
}

// The DC band, then the AC band from its thirteenth bit down, every bit in a scan of its own: a valid progression
// of 14 passes over every coefficient.
inline std::vector<JpegScan> EveryBitApart()
{
    std::vector<JpegScan> scans = {{0, 0, 0, 0}, {1, 63, 0, 13}};
    for (unsigned char bit = 13; bit > 0; --bit) {
        scans.push_back({1, 63, bit, static_cast<unsigned char>(bit - 1)});
    }
    return scans;
}

// Streaming JPEG decoding to 24-bit BGR rows with libjpeg-turbo, at full size with the library's most
// accurate settings and turned as the file's Exif orientation says; the decoder's errors come back as results,
// never end the process.
#pragma once

#include <cstddef>

#include "base/ConverterProtocol.h"

// The decoder's work bound: every scan costs the blocks it decodes times the coefficients of its band
// (Se - Ss + 1; 64 for a sequential scan), and a file may cost this many times the 64 coefficients of every
// block of every component at full resolution. Usual progressions cost about 1.3 (4:2:0) to 3 (greyscale); a
// valid one that sends every bit of every coefficient in a scan of its own, 14.
inline constexpr unsigned kMaxCoefficientPasses = 4;

// Where the compressed bytes come from; Read returns 0 at the end of the data or on a read failure.
class JpegByteSource {
public:
    virtual ~JpegByteSource() = default;
    virtual std::size_t Read(unsigned char* buffer, std::size_t size) = 0;
};

inline constexpr unsigned kFullScale = 8;

// The order in which a sink gets the rows: a picture turned upside down by its orientation streams bottom row
// first.
enum class JpegRowOrder { TopFirst, BottomFirst };

// Where the decoded rows go, each row once, in the order that Begin names (row 0 is the top one as shown).
// Begin gets the size as shown once the header is read; NextRow gives the memory for a row of width * 3 bytes
// (blue, green, red); RowDone says it is filled. A false result ends the decoding as a sink failure.
class JpegRowSink {
public:
    virtual ~JpegRowSink() = default;
    // Asked once the header is read, with the whole picture's size as shown: the scale, in eighths (1 to 8), at
    // which it is decoded; Begin then gets the scaled size (each side rounded up).
    virtual unsigned ScaleEighths(unsigned shownWidth, unsigned shownHeight) { return kFullScale; }
    virtual bool Begin(unsigned width, unsigned height, JpegRowOrder order) = 0;
    virtual unsigned char* NextRow(unsigned row) = 0;
    virtual bool RowDone(unsigned row) = 0;
};

enum class JpegStatus { Ok, DecodeError, SinkError, TooLarge };
struct JpegResult {
    JpegStatus status;
    // The decoder's message number when status is DecodeError.
    int messageCode;
};

// Decodes the whole picture into the sink at the scale it asks for, mirrored and turned as the orientation tag of the
// file's first APP1 segment says; a picture turned by a quarter is held whole, within the decoder's memory bound. A
// picture of more than kMaxPicturePixels is TooLarge before the sink hears of it. A picture cut short (pixels or
// precision that never came) is a decode error, so that no half-grey bitmap replaces anything, while one that lacks
// only its end marker is whole. Pictures whose decoding needs more than kDecoderMemory, files of over 500 scans, a scan
// that would take the work past kMaxCoefficientPasses (refused before it is decoded) and an invalid progression (a scan
// that refines bits never sent, or sends them again) are decode errors too.
JpegResult DecodeJpeg(JpegByteSource& source, JpegRowSink& sink);

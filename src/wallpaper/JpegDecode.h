// Streaming JPEG decoding to 24-bit BGR rows with libjpeg-turbo, at full size with the library's most
// accurate settings and turned as the file's Exif orientation says; the decoder's errors come back as results,
// never end the process.
#pragma once

#include <cstddef>

// What a decoder may take for one picture; the whole-picture buffer of a progressive or other multi-scan file
// that would not fit is refused before it is allocated ("backing store not supported"). A 100-megapixel
// progressive photo needs about 300 MB of coefficients (4:2:0), twice that at full colour resolution; the 32-bit
// program shares 2 GiB of address space with everything else and takes less.
inline constexpr long kDecoderMemory = sizeof(void*) == 8 ? 1024L * 1024 * 1024 : 384L * 1024 * 1024;

// Where the compressed bytes come from; Read returns 0 at the end of the data or on a read failure.
class JpegByteSource {
public:
    virtual ~JpegByteSource() = default;
    virtual std::size_t Read(unsigned char* buffer, std::size_t size) = 0;
};

// The order in which a sink gets the rows: a picture turned upside down by its orientation streams bottom row
// first.
enum class JpegRowOrder { TopFirst, BottomFirst };

// Where the decoded rows go, each row once, in the order that Begin names (row 0 is the top one as shown).
// Begin gets the size as shown once the header is read; NextRow gives the memory for a row of width * 3 bytes
// (blue, green, red); RowDone says it is filled. A false result ends the decoding as a sink failure.
class JpegRowSink {
public:
    virtual ~JpegRowSink() = default;
    virtual bool Begin(unsigned width, unsigned height, JpegRowOrder order) = 0;
    virtual unsigned char* NextRow(unsigned row) = 0;
    virtual bool RowDone(unsigned row) = 0;
};

enum class JpegStatus { Ok, DecodeError, SinkError };
struct JpegResult {
    JpegStatus status;
    // The decoder's message number when status is DecodeError.
    int messageCode;
};

// Decodes the whole picture into the sink, mirrored and turned as the orientation tag of the file's first APP1
// segment says; a picture turned by a quarter is held whole, within the decoder's memory bound. A picture cut
// short (pixels or precision that never came) is a decode error, so that no half-grey bitmap replaces anything,
// while one that lacks only its end marker is whole. Pictures whose decoding needs more than a fixed bound of
// memory, files of over 500 scans and those whose scans decode more blocks than 40 passes over the picture at
// full resolution are decode errors too.
JpegResult DecodeJpeg(JpegByteSource& source, JpegRowSink& sink);

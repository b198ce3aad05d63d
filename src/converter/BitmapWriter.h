// Decoded rows written as an uncompressed 24-bit bitmap file into a handle the resident program gave: the JPEG
// conversion streams into it, the imaging component's pictures are written row by row.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "base/ConverterProtocol.h"

// How a request ended, with the size as shown (known once the header was read).
struct ConvertOutcome {
    ConvertStatus status = ConvertStatus::Converted;
    int jpegMessage = 0; // the decoder's message number when a JPEG file is Unreadable
    unsigned width = 0;
    unsigned height = 0;
    unsigned fittedWidth = 0; // a preview's pixels
    unsigned fittedHeight = 0;
};

// Told the size a picture declares (as shown) before any pixel of it is decoded.
using DeclaredFn = std::function<void(unsigned width, unsigned height)>;

class JpegRowSink;
// Decodes the JPEG file behind picture into a sink: Converted when it was decoded whole, else the decoder's refusal
// (a failure of the sink itself is CannotWrite). The sizes are the caller's to fill in.
ConvertOutcome DecodeJpegFile(HANDLE picture, JpegRowSink& sink);

// Decodes the JPEG file behind picture and writes its bitmap, with the tag in its header, into bitmap from the
// file's start.
ConvertOutcome ConvertJpeg(HANDLE picture, HANDLE bitmap, std::uint32_t tag, const DeclaredFn& declared);

// Fills the shown rows of a picture top first into the memory given (width * 3 bytes: blue, green, red); false
// ends the writing as an unreadable picture.
using BitmapRowFiller = std::function<bool(unsigned row, unsigned char* bgr)>;
// Hands a sink the rows of a picture of that size, top first: Unreadable when a row cannot be filled, CannotWrite
// when the sink fails.
ConvertStatus FeedRows(JpegRowSink& sink, unsigned width, unsigned height, const BitmapRowFiller& fillRow);
// Writes a bitmap of that size row by row into bitmap: Unreadable when a row cannot be filled, CannotWrite when
// the file cannot be written.
ConvertStatus WriteBitmapRows(HANDLE bitmap, unsigned width, unsigned height, std::uint32_t tag,
                              const BitmapRowFiller& fillRow);

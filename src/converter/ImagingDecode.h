// Pictures of the types the system's imaging component reads (PNG, GIF, TIFF and the codecs the user installed)
// written as 24-bit bitmaps, under the bounds of the JPEG conversion.
#pragma once

#include <windows.h>

#include <cstdint>

#include "converter/BitmapWriter.h"
#include "converter/FittedPixels.h"

// Reads the size the picture behind picture declares in its own header and refuses it (TooLarge) over the pixel
// bound or when decoding it would take more than the decoder's memory, before the imaging component sees the
// file; a file whose header is not one of a known type is Unreadable. Then decodes its first frame (Unreadable
// when the frame is larger than declared) and writes it into bitmap, turned as its Exif orientation says, with
// transparent parts laid on white.
ConvertOutcome ConvertWithImaging(HANDLE picture, HANDLE bitmap, std::uint32_t tag, const DeclaredFn& declared);
// The same picture reduced for a preview (FittedPixels), into the section.
ConvertOutcome ConvertWithImagingToFit(HANDLE picture, HANDLE section, const FitBox& box, const DeclaredFn& declared);

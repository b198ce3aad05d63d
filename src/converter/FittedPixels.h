// A preview's pixels: the decoded rows reduced to the picture's FittedSize by averaging, written as top-down
// 24-bit rows into a section that the resident program gave.
#pragma once

#include <windows.h>

#include <cstdint>

#include "converter/BitmapWriter.h"

// The box the reduced picture covers and the least scale it keeps (as in the request).
struct FitBox {
    unsigned width = 0;
    unsigned height = 0;
    std::uint32_t leastScalePpm = 0;
};

// Decodes the JPEG file behind picture at the smallest of the library's scales (eighths) that is not smaller than
// the fitted size, then averages it down to that size into the section. The outcome's size is the whole picture's
// as shown, its fitted size the pixels'.
ConvertOutcome ConvertJpegToFit(HANDLE picture, HANDLE section, const FitBox& box, const DeclaredFn& declared);

// The same for rows of a picture of that size already decoded, filled top first.
ConvertOutcome WriteFittedRows(HANDLE section, const FitBox& box, unsigned width, unsigned height,
                               const BitmapRowFiller& fillRow);

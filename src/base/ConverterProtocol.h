// What the resident program and the picture converter (SorabuneConv.exe) say to each other, and the bounds both
// keep. The converter's standard input is a pipe that carries both ways fixed little records; both ends are built
// for the same machine. The files travel as handles that the resident program opened and copied into the
// converter's process, so the converter itself needs no right to any file.
#pragma once

#include <cstdint>

// What a decoder may take for one picture: the JPEG decoder's buffers (coefficients of a progressive file, a
// picture held whole to be turned by a quarter) and the imaging component's held pixels with ours. A 100-megapixel
// progressive photo needs about 300 MB of coefficients (4:2:0), twice that at full colour resolution; the 32-bit
// converter has 2 GiB of address space and takes less.
inline constexpr long kDecoderMemory = sizeof(void*) == 8 ? 1024L * 1024 * 1024 : 384L * 1024 * 1024;
// The most pixels a picture of any type may declare: what the decoder's memory holds of the costliest kind of
// JPEG that is still usual (6 bytes of coefficients per pixel at full colour resolution, 3 more when it is turned
// by a quarter). Sequential files, which would stream with little memory, obey it too.
inline constexpr std::uint64_t kMaxPicturePixels = static_cast<std::uint64_t>(kDecoderMemory) / 9;
// The converter's whole memory: the decoder's and what the program, the system's libraries and a codec's own
// tables take besides. The job of the converter caps it where the system enforces it, and the converter bounds
// itself as well.
inline constexpr std::uint64_t kConverterMemory = static_cast<std::uint64_t>(kDecoderMemory) + 192u * 1024 * 1024;
// The converter ends itself with this code when its memory passes kConverterMemory.
inline constexpr unsigned kConverterOverMemoryExit = 0x5342;

// The request's first word: a converter of another build refuses what it cannot read.
inline constexpr std::uint32_t kConverterProtocol = 0x53430002;
// The section a preview's pixels are written into: what the preview of any picture takes at most.
inline constexpr std::uint64_t kPreviewSectionBytes = 8u * 1024 * 1024;

enum class PictureCoding : std::uint32_t {
    Jpeg,    // libjpeg-turbo
    Imaging, // the system's imaging component, after the file's own header has declared the size
};

enum class ConvertOutput : std::uint32_t {
    // The whole picture as shown, as a 24-bit bitmap file written into the output handle from its start.
    BitmapFile,
    // The picture as shown, reduced to its FittedSize, as top-down rows of 24-bit BGR pixels (each row padded to a
    // multiple of 4 bytes, as a bitmap's) written into the section behind the output handle from its start.
    PixelsToFit,
};

struct ConvertRequest {
    std::uint32_t protocol = kConverterProtocol;
    PictureCoding coding = PictureCoding::Jpeg;
    ConvertOutput output = ConvertOutput::BitmapFile;
    std::uint32_t tag = 0;     // written into the bitmap's reserved words
    std::uint64_t picture = 0; // the picture, a handle of the converter's process with read access
    std::uint64_t bitmap = 0;  // where the output goes: a file or a section, a handle with write access
    // PixelsToFit: the box the reduced picture covers, and the least scale it keeps, in millionths.
    std::uint32_t fitWidth = 0;
    std::uint32_t fitHeight = 0;
    std::uint32_t leastScalePpm = 0;
};

enum class ConverterNote : std::uint32_t {
    Declared, // the size the picture declares, before any pixel is decoded
    Done,     // the request's end
};

enum class ConvertStatus : std::uint32_t {
    Converted,
    Unreadable,  // no picture of its type, damaged, or refused by the bounds of work
    TooLarge,    // over the pixel or memory bound
    CannotWrite, // the output could not be written
    BadRequest,
};

struct ConverterReply {
    ConverterNote note = ConverterNote::Done;
    ConvertStatus status = ConvertStatus::Converted;
    std::uint32_t width = 0; // as shown (after the Exif orientation), Declared and Done alike
    std::uint32_t height = 0;
    std::int32_t jpegMessage = 0;  // the JPEG decoder's message number with Unreadable
    std::uint32_t fittedWidth = 0; // PixelsToFit: the pixels written
    std::uint32_t fittedHeight = 0;
};

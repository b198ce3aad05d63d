// The imaging component's path to a bitmap: the declared size checked first, then the decoder chosen by the file's
// content, the frame converted to 32-bit BGRA (the one conversion Wine copies out), held whole and written turned
// as its orientation says.
#include "converter/ImagingDecode.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <new>
#include <vector>

#include "base/Handles.h"
#include "base/ComLibrary.h"
#include "converter/ExifOrientation.h"
#include "converter/BitmapWriter.h"
#include "converter/FittedPixels.h"
#include "converter/PictureHeaders.h"

namespace {
constexpr GUID kPixelFormat32bppBGRA = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0f}};
constexpr std::uint64_t kHeldBytesPerPixel = 4;
constexpr unsigned kOpaque = 255;
// The orientation tag inside a JPEG-like file's Exif segment, and in a TIFF file's first directory.
constexpr const wchar_t* kOrientationQueries[] = {L"/app1/ifd/{ushort=274}", L"/ifd/{ushort=274}"};

bool MakeFactory(ComPtr<IWICImagingFactory>& factory)
{
    return Com().Complete() && SUCCEEDED(Com().createInstance(kImagingFactoryClass, nullptr, CLSCTX_INPROC_SERVER,
                                                              IID_PPV_ARGS(factory.Put())));
}

int OrientationOf(IWICBitmapFrameDecode& frame)
{
    ComPtr<IWICMetadataQueryReader> reader;
    if (FAILED(frame.GetMetadataQueryReader(reader.Put()))) {
        return kUpright;
    }
    for (const wchar_t* query : kOrientationQueries) {
        PROPVARIANT value;
        PropVariantInit(&value);
        int orientation = 0;
        if (SUCCEEDED(reader->GetMetadataByName(query, &value)) && value.vt == VT_UI2) {
            orientation = value.uiVal;
        }
        Com().propVariantClear(&value);
        if (orientation >= 1 && orientation < static_cast<int>(std::size(kTurns))) {
            return orientation;
        }
    }
    return kUpright;
}

// Where shown row y starts in the stored picture and how far apart its pixels lie there.
struct RowWalk {
    std::ptrdiff_t start;
    std::ptrdiff_t step;
};
RowWalk WalkOfRow(Turn turn, unsigned y, unsigned width, unsigned height)
{
    const auto pixel = static_cast<std::ptrdiff_t>(kHeldBytesPerPixel);
    const auto stride = static_cast<std::ptrdiff_t>(width) * pixel;
    const std::ptrdiff_t lastX = width - 1;
    const std::ptrdiff_t lastY = height - 1;
    if (turn.transpose) {
        // A stored column, from the bottom when mirrored, the columns from the right when flipped.
        const std::ptrdiff_t x = turn.flip ? lastX - y : y;
        return {(turn.mirror ? lastY : 0) * stride + x * pixel, turn.mirror ? -stride : stride};
    }
    const std::ptrdiff_t row = turn.flip ? lastY - y : y;
    return {row * stride + (turn.mirror ? lastX : 0) * pixel, turn.mirror ? -pixel : pixel};
}

// A straight-alpha channel laid over white.
unsigned char OnWhite(unsigned colour, unsigned alpha)
{
    return static_cast<unsigned char>((colour * alpha + kOpaque * (kOpaque - alpha) + kOpaque / 2) / kOpaque);
}

} // namespace

namespace {
// Writes the rows of a decoded picture of the size given, filled top first.
using RowWriter = std::function<ConvertOutcome(unsigned width, unsigned height, const BitmapRowFiller& fillRow)>;

// The picture's pixels through the imaging component: the file was declared small enough, its frame is no larger.
ConvertOutcome Decode(HANDLE picture, const DeclaredPicture& declared, const RowWriter& write)
{
    ConvertOutcome outcome{ConvertStatus::Unreadable, 0, declared.width, declared.height};
    ComApartment com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (!MakeFactory(factory) ||
        FAILED(factory->CreateDecoderFromFileHandle(reinterpret_cast<ULONG_PTR>(picture), nullptr,
                                                    WICDecodeMetadataCacheOnDemand, decoder.Put())) ||
        FAILED(decoder->GetFrame(0, frame.Put()))) {
        return outcome;
    }
    UINT width = 0;
    UINT height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0 || width > declared.width ||
        height > declared.height) {
        return outcome;
    }
    const int orientation = OrientationOf(*frame.Get());
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.Put())) ||
        FAILED(converter->Initialize(frame.Get(), kPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return outcome;
    }
    std::vector<unsigned char> held;
    try {
        held.resize(static_cast<std::size_t>(static_cast<std::uint64_t>(width) * height * kHeldBytesPerPixel));
    } catch (const std::bad_alloc&) {
        outcome.status = ConvertStatus::TooLarge;
        return outcome;
    }
    const UINT stride = width * static_cast<UINT>(kHeldBytesPerPixel);
    if (FAILED(converter->CopyPixels(nullptr, stride, static_cast<UINT>(held.size()), held.data()))) {
        return outcome;
    }
    const Turn turn = kTurns[orientation];
    const bool turned = turn.transpose;
    const unsigned shownWidth = turned ? height : width;
    const unsigned shownHeight = turned ? width : height;
    return write(shownWidth, shownHeight, [&](unsigned row, unsigned char* bgr) {
        const RowWalk walk = WalkOfRow(turn, row, width, height);
        std::ptrdiff_t at = walk.start;
        for (unsigned x = 0; x < shownWidth; ++x, at += walk.step, bgr += 3) {
            const unsigned char* from = held.data() + at;
            bgr[0] = OnWhite(from[0], from[3]);
            bgr[1] = OnWhite(from[1], from[3]);
            bgr[2] = OnWhite(from[2], from[3]);
        }
        return true;
    });
}

// The declared size read from the file's own header and checked before the imaging component sees the file.
ConvertOutcome ReadAndDecode(HANDLE picture, const DeclaredFn& declared, const RowWriter& write)
{
    const auto header = ReadDeclaredPicture([picture](std::uint64_t offset, unsigned char* to, std::size_t size) {
        OVERLAPPED at = {};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD got = 0;
        return ReadFile(picture, to, static_cast<DWORD>(size), &got, &at) ? static_cast<std::size_t>(got) : 0;
    });
    if (!header) {
        return {ConvertStatus::Unreadable};
    }
    if (declared) {
        declared(header->width, header->height);
    }
    if (static_cast<std::uint64_t>(header->width) * header->height > kMaxPicturePixels ||
        DecodingMemory(*header) > static_cast<std::uint64_t>(kDecoderMemory)) {
        return {ConvertStatus::TooLarge, 0, header->width, header->height};
    }
    return Decode(picture, *header, write);
}
} // namespace

ConvertOutcome ConvertWithImaging(HANDLE picture, HANDLE bitmap, std::uint32_t tag, const DeclaredFn& declared)
{
    return ReadAndDecode(picture, declared, [&](unsigned width, unsigned height, const BitmapRowFiller& fillRow) {
        return ConvertOutcome{WriteBitmapRows(bitmap, width, height, tag, fillRow), 0, width, height};
    });
}

ConvertOutcome ConvertWithImagingToFit(HANDLE picture, HANDLE section, const FitBox& box, const DeclaredFn& declared)
{
    return ReadAndDecode(picture, declared, [&](unsigned width, unsigned height, const BitmapRowFiller& fillRow) {
        return WriteFittedRows(section, box, width, height, fillRow);
    });
}

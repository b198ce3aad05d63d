// The imaging component's path to a bitmap: the decoder chosen by the file's content, the frame converted to
// 32-bit BGRA (the one conversion Wine copies out), held whole and written turned as its orientation says.
#include "wallpaper/PictureToBitmap.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <iterator>
#include <new>
#include <vector>

#include "base/Handles.h"
#include "wallpaper/ComLibrary.h"
#include "wallpaper/ExifOrientation.h"
#include "wallpaper/JpegDecode.h"

namespace {
// Named here, as the item dialog's class is: the system's GUID library would bring every GUID it knows.
constexpr CLSID kImagingFactoryClass = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
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

std::wstring LowerCase(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; });
    return text;
}
} // namespace

std::vector<std::wstring> SystemPictureExtensions()
{
    std::vector<std::wstring> extensions;
    ComApartment com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IEnumUnknown> decoders;
    if (!MakeFactory(factory) ||
        FAILED(factory->CreateComponentEnumerator(WICDecoder, WICComponentEnumerateDefault, decoders.Put()))) {
        return extensions;
    }
    for (;;) {
        ComPtr<IUnknown> component;
        ULONG got = 0;
        if (decoders->Next(1, component.Put(), &got) != S_OK || got != 1) {
            break;
        }
        ComPtr<IWICBitmapDecoderInfo> info;
        UINT length = 0;
        if (FAILED(component->QueryInterface(IID_PPV_ARGS(info.Put()))) ||
            FAILED(info->GetFileExtensions(0, nullptr, &length)) || length == 0) {
            continue;
        }
        std::wstring list(length, L'\0');
        if (FAILED(info->GetFileExtensions(length, list.data(), &length))) {
            continue;
        }
        list.resize(std::wcslen(list.c_str()));
        // A list such as ".tiff,.tif"; some decoders part them by semicolons.
        std::size_t from = 0;
        while (from <= list.size()) {
            std::size_t end = std::min(list.find_first_of(L",; ", from), list.size());
            std::wstring extension = LowerCase(list.substr(from, end - from));
            if (extension.size() > 1 && extension[0] == L'.' &&
                std::find(extensions.begin(), extensions.end(), extension) == extensions.end()) {
                extensions.push_back(extension);
            }
            from = end + 1;
        }
    }
    return extensions;
}

ConvertResult ConvertPictureToBmp(const std::wstring& picturePath, const std::wstring& bmpPath)
{
    FileHandle readable(CreateFileW(picturePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    if (!readable) {
        return {ConvertError::CannotOpen, 0};
    }
    readable.Reset();
    ComApartment com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (!MakeFactory(factory) ||
        FAILED(factory->CreateDecoderFromFilename(picturePath.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.Put())) ||
        FAILED(decoder->GetFrame(0, frame.Put()))) {
        return {ConvertError::Decode, 0};
    }
    UINT width = 0;
    UINT height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0) {
        return {ConvertError::Decode, 0};
    }
    // The bound of the JPEG decoder: the held picture and a bitmap file its header can state.
    const std::uint64_t heldBytes = static_cast<std::uint64_t>(width) * height * kHeldBytesPerPixel;
    if (heldBytes > static_cast<std::uint64_t>(kDecoderMemory) || !LayoutFor(width, height)) {
        return {ConvertError::TooLarge, 0};
    }
    const int orientation = OrientationOf(*frame.Get());
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.Put())) ||
        FAILED(converter->Initialize(frame.Get(), kPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return {ConvertError::Decode, 0};
    }
    std::vector<unsigned char> held;
    try {
        held.resize(static_cast<std::size_t>(heldBytes));
    } catch (const std::bad_alloc&) {
        return {ConvertError::TooLarge, 0};
    }
    const UINT stride = width * static_cast<UINT>(kHeldBytesPerPixel);
    if (FAILED(converter->CopyPixels(nullptr, stride, static_cast<UINT>(held.size()), held.data()))) {
        return {ConvertError::Decode, 0};
    }
    const Turn turn = kTurns[orientation];
    const bool turned = turn.transpose;
    const unsigned shownWidth = turned ? height : width;
    const unsigned shownHeight = turned ? width : height;
    ConvertError written = WriteBitmapRows(bmpPath, shownWidth, shownHeight, [&](unsigned row, unsigned char* bgr) {
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
    return {written, 0};
}

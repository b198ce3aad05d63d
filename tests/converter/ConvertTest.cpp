// The converter's decoders writing bitmap files: the pixels against the host djpeg's decoding, the bitmap's
// layout with its row padding, the Exif orientation, the other types through the imaging component, the sizes
// their headers declare, and the refusals of what the bounds do not accept.
#include <gtest/gtest.h>

#include <initguid.h>
#include <windows.h>
#include <wincodec.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include "support/TestSupport.h"
#include "wallpaper/CraftedJpeg.h"
#include "base/BitmapFile.h"
#include "base/ComLibrary.h"
#include "converter/BitmapWriter.h"
#include "converter/ExifOrientation.h"
#include "converter/FittedPixels.h"
#include "converter/ImagingDecode.h"
#include "converter/PictureHeaders.h"
#include "wallpaper/CraftedPng.h"
#include "wallpaper/WallpaperTestSupport.h"

namespace {
std::uint32_t Get32(const std::vector<unsigned char>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t Get16(const std::vector<unsigned char>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// A binary PPM (P6) or PGM (P5) file as rows of RGB pixels.
struct Picture {
    unsigned width = 0, height = 0;
    std::vector<unsigned char> rgb; // top row first
};

Picture ReadPnm(const std::wstring& path)
{
    std::vector<unsigned char> b = ReadBytes(path);
    Picture picture;
    if (b.size() < 2 || b[0] != 'P' || (b[1] != '5' && b[1] != '6')) {
        return picture;
    }
    bool grey = b[1] == '5';
    std::size_t at = 2;
    unsigned fields[3] = {};
    for (unsigned& field : fields) {
        while (at < b.size() && std::isspace(b[at])) {
            ++at;
        }
        while (at < b.size() && std::isdigit(b[at])) {
            field = field * 10 + (b[at++] - '0');
        }
    }
    ++at; // the single blank after the maximum value
    picture.width = fields[0];
    picture.height = fields[1];
    std::size_t pixels = static_cast<std::size_t>(picture.width) * picture.height;
    for (std::size_t i = 0; i < pixels; ++i) {
        for (int c = 0; c < 3; ++c) {
            picture.rgb.push_back(b[at + (grey ? i : i * 3 + c)]);
        }
    }
    return picture;
}

// Checks the headers of a 24-bit bottom-up bitmap and returns its pixels top row first.
Picture ReadBitmap(const std::wstring& path)
{
    std::vector<unsigned char> b = ReadBytes(path);
    Picture picture;
    EXPECT_GE(b.size(), 54u);
    if (b.size() < 54) {
        return picture;
    }
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Get32(b, 2), b.size());
    EXPECT_EQ(Get32(b, 10), 54u);
    EXPECT_EQ(Get32(b, 14), 40u);
    picture.width = Get32(b, 18);
    auto height = static_cast<std::int32_t>(Get32(b, 22));
    EXPECT_GT(height, 0) << "bottom-up rows";
    picture.height = static_cast<unsigned>(height);
    EXPECT_EQ(Get16(b, 26), 1u);
    EXPECT_EQ(Get16(b, 28), 24u);
    EXPECT_EQ(Get32(b, 30), 0u) << "uncompressed";
    std::size_t stride = (picture.width * 3 + 3) / 4 * 4;
    EXPECT_EQ(Get32(b, 34), stride * picture.height);
    EXPECT_EQ(b.size(), 54 + stride * picture.height);
    if (b.size() != 54 + stride * picture.height) {
        return picture;
    }
    for (unsigned y = 0; y < picture.height; ++y) {
        std::size_t row = 54 + (picture.height - 1 - y) * stride;
        for (unsigned x = 0; x < picture.width; ++x) {
            picture.rgb.push_back(b[row + x * 3 + 2]);
            picture.rgb.push_back(b[row + x * 3 + 1]);
            picture.rgb.push_back(b[row + x * 3]);
        }
        for (std::size_t pad = picture.width * 3; pad < stride; ++pad) {
            EXPECT_EQ(b[row + pad], 0) << "padding of row " << y;
        }
    }
    return picture;
}

// A picture written by the system's encoder from rows of pixels in format, with a palette for an indexed one.
bool EncodeWithSystem(const std::wstring& path, const GUID& container, WICPixelFormatGUID format, UINT width,
                      UINT height, std::vector<unsigned char> pixels, std::vector<WICColor> palette = {})
{
    ComApartment com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    ComPtr<IWICPalette> colours;
    const GUID wanted = format;
    const auto size = static_cast<UINT>(pixels.size());
    return SUCCEEDED(Com().createInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_PPV_ARGS(factory.Put()))) &&
           SUCCEEDED(factory->CreateStream(stream.Put())) &&
           SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(container, nullptr, encoder.Put())) &&
           SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(frame.Put(), options.Put())) &&
           SUCCEEDED(frame->Initialize(options.Get())) && SUCCEEDED(frame->SetSize(width, height)) &&
           SUCCEEDED(frame->SetPixelFormat(&format)) && IsEqualGUID(format, wanted) &&
           (palette.empty() ||
            (SUCCEEDED(factory->CreatePalette(colours.Put())) &&
             SUCCEEDED(colours->InitializeCustom(palette.data(), static_cast<UINT>(palette.size()))) &&
             SUCCEEDED(frame->SetPalette(colours.Get())))) &&
           SUCCEEDED(frame->WritePixels(height, size / height, size, pixels.data())) && SUCCEEDED(frame->Commit()) &&
           SUCCEEDED(encoder->Commit());
}

// An uncompressed RGB TIFF file written by hand: one strip, the given orientation tag, rows of RGB pixels.
std::vector<unsigned char> HandMadeTiff(std::uint32_t width, std::uint32_t height, std::uint16_t orientation,
                                        const std::vector<unsigned char>& rgb)
{
    constexpr std::uint32_t kEntries = 11, kBitsAt = 8 + 2 + kEntries * 12 + 4, kPixelsAt = kBitsAt + 6;
    std::vector<unsigned char> b = {'I', 'I', 42, 0, 8, 0, 0, 0};
    auto put = [&b](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            b.push_back(static_cast<unsigned char>(value >> (8 * i)));
        }
    };
    auto entry = [&put](std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value) {
        put(tag, 2), put(type, 2), put(count, 4), put(value, 4); // a short value lies in the first two bytes
    };
    constexpr std::uint16_t kShort = 3, kLong = 4;
    put(kEntries, 2);
    entry(256, kLong, 1, width);
    entry(257, kLong, 1, height);
    entry(258, kShort, 3, kBitsAt); // 8 bits per sample
    entry(259, kShort, 1, 1);       // uncompressed
    entry(262, kShort, 1, 2);       // RGB
    entry(273, kLong, 1, kPixelsAt);
    entry(274, kShort, 1, orientation);
    entry(277, kShort, 1, 3);
    entry(278, kLong, 1, height);
    entry(279, kLong, 1, width * height * 3);
    entry(284, kShort, 1, 1); // samples interleaved
    put(0, 4);
    put(8, 2), put(8, 2), put(8, 2);
    b.insert(b.end(), rgb.begin(), rgb.end());
    return b;
}

// A picture file converted into a bitmap file as the converter does it, through handles.
ConvertOutcome Convert(const std::wstring& picture, const std::wstring& bitmap,
                       PictureCoding coding = PictureCoding::Jpeg)
{
    FileHandle in(CreateFileW(picture.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    FileHandle out(CreateFileW(bitmap.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    EXPECT_TRUE(in && out) << Utf8(picture);
    return coding == PictureCoding::Jpeg ? ConvertJpeg(in.Get(), out.Get(), 7, nullptr)
                                         : ConvertWithImaging(in.Get(), out.Get(), 7, nullptr);
}

// A picture reduced into a section as the converter does for a preview, and the pixels it wrote (top row first).
struct Fitted {
    ConvertOutcome outcome;
    Picture picture;
};
Fitted FitIntoSection(const std::wstring& path, PictureCoding coding, const FitBox& box)
{
    FileHandle in(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    KernelHandle section(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            static_cast<DWORD>(kPreviewSectionBytes), nullptr));
    Fitted fitted;
    fitted.outcome = coding == PictureCoding::Jpeg ? ConvertJpegToFit(in.Get(), section.Get(), box, nullptr)
                                                   : ConvertWithImagingToFit(in.Get(), section.Get(), box, nullptr);
    const auto* bytes = static_cast<const unsigned char*>(MapViewOfFile(section.Get(), FILE_MAP_READ, 0, 0, 0));
    const unsigned width = fitted.outcome.fittedWidth, height = fitted.outcome.fittedHeight;
    const std::size_t stride = (width * 3 + 3) / 4 * 4;
    fitted.picture = {width, height, {}};
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            const unsigned char* pixel = bytes + y * stride + x * 3;
            fitted.picture.rgb.insert(fitted.picture.rgb.end(), {pixel[2], pixel[1], pixel[0]});
        }
    }
    UnmapViewOfFile(bytes);
    return fitted;
}

// Each pixel the average of the block of the picture it stands for.
Picture Averaged(const Picture& picture, unsigned width, unsigned height)
{
    Picture reduced{width, height, {}};
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            const unsigned x0 = x * picture.width / width, x1 = (x + 1) * picture.width / width;
            const unsigned y0 = y * picture.height / height, y1 = (y + 1) * picture.height / height;
            for (unsigned c = 0; c < 3; ++c) {
                unsigned sum = 0;
                for (unsigned yy = y0; yy < y1; ++yy) {
                    for (unsigned xx = x0; xx < x1; ++xx) {
                        sum += picture.rgb[(yy * picture.width + xx) * 3 + c];
                    }
                }
                const unsigned count = (x1 - x0) * (y1 - y0);
                reduced.rgb.push_back(static_cast<unsigned char>((sum + count / 2) / count));
            }
        }
    }
    return reduced;
}

double MeanDifference(const Picture& a, const Picture& b)
{
    double sum = 0;
    for (std::size_t i = 0; i < a.rgb.size() && i < b.rgb.size(); ++i) {
        sum += std::abs(a.rgb[i] - b.rgb[i]);
    }
    return a.rgb.empty() ? 255 : sum / a.rgb.size();
}

class JpegToBmpTest : public testing::Test {
protected:
    ScratchFolder folder{L"SorabuneJpegToBmpTest"};
};
} // namespace

TEST_F(JpegToBmpTest, PixelsEqualAnIndependentDecodingForEveryKindOfFileAndOddWidths)
{
    struct Case {
        std::wstring jpeg;
        std::wstring reference;
        unsigned width;
        unsigned height = 149;
    };
    const Case cases[] = {
        {TestImage(L"testorig.jpg"), Reference(L"testorig.pnm"), 227}, // baseline, odd width
        {TestImage(L"testimgint.jpg"), Reference(L"testimgint.pnm"), 227},
        {TestImage(L"testimgari.jpg"), Reference(L"testimgari.pnm"), 227}, // arithmetic coding
        {Reference(L"gray.jpg"), Reference(L"gray.pnm"), 227},             // greyscale
        {Reference(L"scans32.jpg"), Reference(L"testorig.pnm"), 227},      // 32 scans, most on the brightness
        {Reference(L"gray32.jpg"), Reference(L"gray.pnm"), 227},           // 32 passes over every block
        {Reference(L"w225.jpg"), Reference(L"w225.pnm"), 225},
        {Reference(L"w226.jpg"), Reference(L"w226.pnm"), 226},
        {Reference(L"w228.jpg"), Reference(L"w228.pnm"), 228},
        {Reference(L"large.jpg"), Reference(L"large.pnm"), 1501, 1103},   // several blocks, the last one short
        {Reference(L"large32.jpg"), Reference(L"large.pnm"), 1501, 1103}, // 32 scans, every colour at full size
    };
    for (const Case& c : cases) {
        Picture expected = ReadPnm(c.reference);
        ASSERT_FALSE(expected.rgb.empty())
            << "no reference decodings: the build makes them with djpeg, jpegtran, convert";
        std::wstring bmp = folder / L"out.BMP";
        ConvertOutcome result = Convert(c.jpeg, bmp);
        ASSERT_EQ(result.status, ConvertStatus::Converted) << Utf8(c.jpeg) << " #" << result.jpegMessage;
        Picture actual = ReadBitmap(bmp);
        EXPECT_EQ(actual.width, c.width) << Utf8(c.jpeg);
        EXPECT_EQ(actual.height, c.height) << Utf8(c.jpeg);
        EXPECT_TRUE(actual.rgb == expected.rgb) << Utf8(c.jpeg);
    }
}

TEST_F(JpegToBmpTest, EveryExifOrientationTurnsThePictureAsAViewerShowsIt)
{
    // Several blocks of rows, odd sides: the last block and the last band of a turned picture are short.
    const std::vector<unsigned char> jpeg = ReadBytes(Reference(L"large.jpg"));
    const Picture stored = ReadPnm(Reference(L"large.pnm"));
    ASSERT_FALSE(stored.rgb.empty()) << "no reference decodings";
    const unsigned w = stored.width, h = stored.height;
    // The stored pixel that the shown pixel (x, y) shows, for orientations 1 to 8; 5 to 8 are turned a quarter.
    using Pixel = std::pair<unsigned, unsigned>;
    // clang-format off
    const std::function<Pixel(unsigned, unsigned)> from[] = {nullptr,
        [&](unsigned x, unsigned y) { return Pixel{x, y}; },
        [&](unsigned x, unsigned y) { return Pixel{w - 1 - x, y}; },
        [&](unsigned x, unsigned y) { return Pixel{w - 1 - x, h - 1 - y}; },
        [&](unsigned x, unsigned y) { return Pixel{x, h - 1 - y}; },
        [&](unsigned x, unsigned y) { return Pixel{y, x}; },
        [&](unsigned x, unsigned y) { return Pixel{y, h - 1 - x}; },
        [&](unsigned x, unsigned y) { return Pixel{w - 1 - y, h - 1 - x}; },
        [&](unsigned x, unsigned y) { return Pixel{w - 1 - y, x}; }};
    // clang-format on
    for (unsigned char orientation = 1; orientation <= 8; ++orientation) {
        ASSERT_TRUE(WriteBytes(folder / L"photo.jpg", WithApp1(jpeg, ExifSegment(orientation, orientation % 2))));
        ASSERT_EQ(Convert(folder / L"photo.jpg", folder / L"photo.BMP").status, ConvertStatus::Converted);
        const Picture shown = ReadBitmap(folder / L"photo.BMP");
        ASSERT_EQ(shown.width, orientation >= 5 ? h : w) << +orientation;
        std::vector<unsigned char> expected;
        for (unsigned i = 0; i < w * h; ++i) {
            auto [x, y] = from[orientation](i % shown.width, i / shown.width);
            expected.insert(expected.end(), &stored.rgb[(y * w + x) * 3], &stored.rgb[(y * w + x) * 3] + 3);
        }
        EXPECT_TRUE(shown.rgb == expected) << +orientation;
    }
}

TEST(ExifOrientationTest, MalformedTagsCountAsNoneAndNothingPastTheSegmentIsRead)
{
    const std::vector<unsigned char> good = ExifSegment(6);
    auto spoilt = [&](std::size_t at, std::initializer_list<unsigned char> bytes) {
        std::vector<unsigned char> segment = good;
        std::copy(bytes.begin(), bytes.end(), segment.begin() + at);
        return segment;
    };
    const std::pair<std::vector<unsigned char>, int> cases[] = {
        {good, 6},
        {spoilt(4, {'X'}), kUpright},                     // not Exif
        {spoilt(6, {'I', 'M'}), kUpright},                // no byte order
        {{good.begin(), good.begin() + 12}, kUpright},    // cut inside the TIFF header
        {spoilt(10, {0xFF, 0xFF, 0xFF, 0xFF}), kUpright}, // a directory whose end wraps past 32 bits
        {spoilt(10, {37, 0, 0, 0}), kUpright},            // a directory at the segment's last byte
        {spoilt(14, {3, 0}), kUpright},                   // more entries than the segment holds
        {spoilt(30, {4}), kUpright},                      // LONG instead of SHORT
        {spoilt(32, {2}), kUpright},                      // two values
        {spoilt(36, {0}), kUpright},
        {spoilt(36, {9}), kUpright},
    };
    // Each segment ends where an inaccessible page begins, so that a read past it faults.
    constexpr std::size_t kPage = 4096;
    auto* pages = static_cast<unsigned char*>(VirtualAlloc(nullptr, 2 * kPage, MEM_COMMIT, PAGE_READWRITE));
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(pages + kPage, kPage, PAGE_NOACCESS, &old));
    for (const auto& [bytes, orientation] : cases) {
        std::copy(bytes.begin(), bytes.end(), pages + kPage - bytes.size());
        EXPECT_EQ(ExifOrientation(pages + kPage - bytes.size(), bytes.size()), orientation) << bytes.size();
    }
    VirtualFree(pages, 0, MEM_RELEASE);
}

TEST_F(JpegToBmpTest, CmykPicturesComeOutInTheirColours)
{
    Picture expected = ReadPnm(Reference(L"testorig.pnm"));
    ASSERT_FALSE(expected.rgb.empty()) << "no reference decodings";
    ASSERT_EQ(Convert(Reference(L"cmyk.jpg"), folder / L"cmyk.BMP").status, ConvertStatus::Converted);
    Picture actual = ReadBitmap(folder / L"cmyk.BMP");
    ASSERT_EQ(actual.rgb.size(), expected.rgb.size());
    // Through CMYK and a second compression the colours stay close, not equal.
    double total = 0;
    for (std::size_t i = 0; i < actual.rgb.size(); ++i) {
        total += std::abs(actual.rgb[i] - expected.rgb[i]);
    }
    EXPECT_LT(total / actual.rgb.size(), 8.0);
}

TEST_F(JpegToBmpTest, AFileLackingOnlyItsEndMarkerConvertsToAllItsPixels)
{
    Picture expected = ReadPnm(Reference(L"testorig.pnm"));
    ASSERT_FALSE(expected.rgb.empty()) << "no reference decodings";
    for (const std::wstring& jpeg :
         {TestImage(L"testorig.jpg"), Reference(L"progressive.jpg"), Reference(L"separate.jpg")}) {
        std::vector<unsigned char> bytes = ReadBytes(jpeg);
        ASSERT_TRUE(WriteBytes(folder / L"photo.jpg", std::vector<unsigned char>(bytes.begin(), bytes.end() - 2)));
        ConvertOutcome result = Convert(folder / L"photo.jpg", folder / L"photo.BMP");
        ASSERT_EQ(result.status, ConvertStatus::Converted) << Utf8(jpeg) << " #" << result.jpegMessage;
        EXPECT_TRUE(ReadBitmap(folder / L"photo.BMP").rgb == expected.rgb) << Utf8(jpeg);
    }
}

TEST_F(JpegToBmpTest, APictureOverThePixelBoundIsRefusedBeforeItIsDecoded)
{
    std::vector<unsigned char> jpeg = ReadBytes(TestImage(L"testimgint.jpg"));
    ASSERT_FALSE(jpeg.empty());
    for (std::size_t i = 0; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = jpeg[i + 7] = 0xFF; // 65 500 x 65 500
            jpeg[i + 6] = jpeg[i + 8] = 0xDC;
            break;
        }
    }
    ASSERT_TRUE(WriteBytes(folder / L"huge.jpg", jpeg));
    EXPECT_EQ(Convert(folder / L"huge.jpg", folder / L"huge.BMP").status, ConvertStatus::TooLarge);
    EXPECT_EQ(ReadBytes(folder / L"huge.BMP").size(), 0u) << "nothing written";
}

TEST(BitmapLayoutTest, RowsArePaddedToFourBytesAndOversizedPicturesRefused)
{
    EXPECT_EQ(LayoutFor(1, 1)->stride, 4u);
    EXPECT_EQ(LayoutFor(4, 1)->stride, 12u);
    EXPECT_EQ(LayoutFor(5, 2)->stride, 16u);
    EXPECT_EQ(LayoutFor(5, 2)->imageSize, 32u);
    EXPECT_EQ(LayoutFor(5, 2)->fileSize, 86u);
    EXPECT_EQ(LayoutFor(6000, 4000)->fileSize, 54u + 18000u * 4000u);
    EXPECT_FALSE(LayoutFor(0, 10));
    EXPECT_FALSE(LayoutFor(65500, 65500)) << "beyond a bitmap's 32-bit sizes";
}

TEST(BitmapLayoutTest, APreviewCoversItsBoxKeepsItsLeastScaleNeverGrowsAndFitsItsBytes)
{
    const struct {
        unsigned width, height, boxWidth, boxHeight, leastScalePpm;
        unsigned fittedWidth, fittedHeight;
    } rows[] = {
        {6000, 4000, 220, 124, 0, 220, 147},       // fill's box: the wider side decides
        {4000, 6000, 220, 124, 0, 220, 330},       // turned: still the box's width
        {6000, 4000, 0, 0, 171875, 1032, 688},     // centre's scale of 330 / 1920
        {6000, 4000, 220, 124, 171875, 1032, 688}, // the larger of the two
        {100, 50, 220, 124, 0, 100, 50},           // never enlarged
        {227, 149, 57, 38, 0, 58, 38},             // a side the scale makes whole stays whole
    };
    for (const auto& row : rows) {
        const auto fitted = FitPicture(row.width, row.height, row.boxWidth, row.boxHeight, row.leastScalePpm, 1 << 24);
        ASSERT_TRUE(fitted) << row.width << " x " << row.height;
        EXPECT_EQ(fitted->width, row.fittedWidth) << row.width << " x " << row.height;
        EXPECT_EQ(fitted->height, row.fittedHeight) << row.width << " x " << row.height;
        EXPECT_EQ(fitted->stride, (row.fittedWidth * 3 + 3) / 4 * 4);
    }
    const auto bounded = FitPicture(60000, 60000, 0, 0, 1000000, kPreviewSectionBytes);
    ASSERT_TRUE(bounded);
    EXPECT_LE(static_cast<std::uint64_t>(bounded->stride) * bounded->height, kPreviewSectionBytes);
    EXPECT_GT(static_cast<std::uint64_t>(bounded->stride) * bounded->height, kPreviewSectionBytes * 9 / 10);
    EXPECT_FALSE(FitPicture(0, 10, 220, 124, 0, kPreviewSectionBytes));
}

TEST_F(JpegToBmpTest, APreviewIsThePictureAveragedDownToItsFittedSizeAsShown)
{
    // A JPEG decoded at three eighths, 86 x 56, then averaged to 58 x 38: within a few levels of the averaged full
    // decoding (the library's scaled decoding is no plain average; turned over or with its colours swapped, the
    // picture is dozens of levels off).
    const Picture whole = ReadPnm(Reference(L"testorig.pnm"));
    ASSERT_FALSE(whole.rgb.empty()) << "no reference decodings";
    Fitted jpeg = FitIntoSection(TestImage(L"testorig.jpg"), PictureCoding::Jpeg, {57, 38, 0});
    ASSERT_EQ(jpeg.outcome.status, ConvertStatus::Converted);
    EXPECT_EQ(jpeg.outcome.width, 227u);
    EXPECT_EQ(jpeg.outcome.height, 149u);
    ASSERT_EQ(jpeg.picture.width, 58u);
    ASSERT_EQ(jpeg.picture.height, 38u);
    EXPECT_LT(MeanDifference(jpeg.picture, Averaged(whole, 58, 38)), 8.0);

    // Another type is averaged from its whole decoding, exactly, turned as its orientation says: stored 3 x 2
    // with its left column dark and turned a quarter, shown 2 x 3 with the dark row on top, reduced to 1 x 2.
    ASSERT_TRUE(WriteBytes(folder / L"turned.tif", HandMadeTiff(3, 2, 6,
                                                                {10, 10, 10, 200, 200, 200, 250, 250, 250, //
                                                                 30, 30, 30, 220, 220, 220, 240, 240, 240})));
    Fitted tiff = FitIntoSection(folder / L"turned.tif", PictureCoding::Imaging, {1, 1, 500000});
    ASSERT_EQ(tiff.outcome.status, ConvertStatus::Converted);
    EXPECT_EQ(tiff.outcome.width, 2u);
    EXPECT_EQ(tiff.outcome.height, 3u);
    ASSERT_EQ(tiff.picture.width, 1u);
    ASSERT_EQ(tiff.picture.height, 2u);
    EXPECT_EQ(tiff.picture.rgb, (std::vector<unsigned char>{20, 20, 20, 228, 228, 228}));
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"turned.tif"}) << "nothing written beside it";
}

TEST_F(JpegToBmpTest, OtherPicturesLayTransparencyOnWhiteReadTheirPaletteAndTurnByTheirOrientation)
{
    // Red opaque, blue half transparent, green wholly transparent (BGRA).
    ASSERT_TRUE(EncodeWithSystem(folder / L"alpha.png", GUID_ContainerFormatPng, GUID_WICPixelFormat32bppBGRA, 3, 1,
                                 {0, 0, 255, 255, 255, 0, 0, 128, 0, 255, 0, 0}));
    ASSERT_TRUE(EncodeWithSystem(folder / L"palette.gif", GUID_ContainerFormatGif, GUID_WICPixelFormat8bppIndexed, 4, 1,
                                 {1, 0, 1, 1}, {0xFF008000, 0xFFFFFF00}));
    // Stored 3 x 2 and turned a quarter clockwise to 2 x 3: the stored left column becomes the top row.
    ASSERT_TRUE(WriteBytes(folder / L"turned.tif", HandMadeTiff(3, 2, 6,
                                                                {1, 1, 1, 2, 2, 2, 3, 3, 3, //
                                                                 4, 4, 4, 5, 5, 5, 6, 6, 6})));
    const struct {
        const wchar_t* name;
        unsigned width, height;
        std::vector<unsigned char> rgb;
    } cases[] = {
        {L"alpha.png", 3, 1, {255, 0, 0, 127, 127, 255, 255, 255, 255}},
        {L"palette.gif", 4, 1, {255, 255, 0, 0, 128, 0, 255, 255, 0, 255, 255, 0}},
        {L"turned.tif", 2, 3, {4, 4, 4, 1, 1, 1, 5, 5, 5, 2, 2, 2, 6, 6, 6, 3, 3, 3}},
    };
    for (const auto& c : cases) {
        const std::wstring bitmap = folder / (std::wstring(c.name) + L".BMP");
        ASSERT_EQ(Convert(folder / c.name, bitmap, PictureCoding::Imaging).status, ConvertStatus::Converted)
            << Utf8(c.name);
        Picture picture = ReadBitmap(bitmap);
        EXPECT_EQ(picture.width, c.width) << Utf8(c.name);
        EXPECT_EQ(picture.height, c.height) << Utf8(c.name);
        EXPECT_EQ(picture.rgb, c.rgb) << Utf8(c.name);
    }
}

TEST_F(JpegToBmpTest, OtherPicturesDeclaredOverTheBoundsOrUnreadableAreRefused)
{
    // 20000 x 20000 pixels are over the pixel bound of both builds; the pixels are not even there.
    const struct {
        const wchar_t* name;
        std::vector<unsigned char> bytes;
        ConvertStatus status;
    } cases[] = {
        {L"huge.tif", HandMadeTiff(20000, 20000, 1, {}), ConvertStatus::TooLarge},
        {L"fake.png", std::vector<unsigned char>(300, 0x41), ConvertStatus::Unreadable},
        {L"cut.tif", HandMadeTiff(64, 64, 1, std::vector<unsigned char>(100, 7)), ConvertStatus::Unreadable},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteBytes(folder / c.name, c.bytes));
        EXPECT_EQ(Convert(folder / c.name, folder / L"photo.BMP", PictureCoding::Imaging).status, c.status)
            << Utf8(c.name);
    }
}

TEST(PictureHeadersTest, EachTypeDeclaresItsSizeInItsHeaderAndADamagedOneNothing)
{
    const auto le16 = [](unsigned v) {
        return std::vector<unsigned char>{static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    };
    const auto join = [](std::initializer_list<std::vector<unsigned char>> parts) {
        std::vector<unsigned char> bytes;
        for (const auto& part : parts) {
            bytes.insert(bytes.end(), part.begin(), part.end());
        }
        return bytes;
    };
    const std::vector<unsigned char> bmpInfo = join({{40, 0, 0, 0},
                                                     {100, 0, 0, 0},
                                                     {0x9C, 0xFF, 0xFF, 0xFF}, // -100
                                                     {1, 0, 24, 0},
                                                     std::vector<unsigned char>(24, 0)});
    const std::vector<unsigned char> png = PngStart(7000, 5000, 16, 6);
    const struct {
        const char* what;
        std::vector<unsigned char> bytes;
        std::optional<DeclaredPicture> declared;
    } cases[] = {
        {"PNG", png, DeclaredPicture{7000, 5000, 64}},
        {"PNG cut in its header", {png.begin(), png.begin() + 20}, std::nullopt},
        // A logical screen of 10 x 10 whose first image lies at 5, 5 and is 300 x 200.
        {"GIF",
         join({{'G', 'I', 'F', '8', '9', 'a'},
               le16(10),
               le16(10),
               {0, 0, 0},
               {0x21, 0xF9, 4, 0, 0, 0, 0, 0},
               {0x2C},
               le16(5),
               le16(5),
               le16(300),
               le16(200),
               {0}}),
         DeclaredPicture{305, 205, 8}},
        {"TIFF", HandMadeTiff(640, 480, 1, {}), DeclaredPicture{640, 480, 24}},
        {"bitmap, rows top first", join({{'B', 'M'}, std::vector<unsigned char>(12, 0), bmpInfo}),
         DeclaredPicture{100, 100, 32}},
        // One icon entry, a bitmap of twice its height (colour and mask).
        {"icon", join({{0, 0, 1, 0, 1, 0}, {0, 0, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 22, 0, 0, 0}, bmpInfo}),
         DeclaredPicture{100, 50, 32}},
        {"WebP",
         join({{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'E', 'B', 'P', 'V', 'P', '8', 'X'},
               std::vector<unsigned char>(8, 0),
               {0x3F, 0x1F, 0, 0x9F, 0x0F, 0, 0}}),
         DeclaredPicture{8000, 4000, 32}},
        {"HEIF",
         join({{0, 0, 0, 12, 'f', 't', 'y', 'p', 'h', 'e', 'i', 'c'},
               {0, 0, 0, 48, 'm', 'e', 't', 'a', 0, 0, 0, 0},
               {0, 0, 0, 36, 'i', 'p', 'r', 'p'},
               {0, 0, 0, 28, 'i', 'p', 'c', 'o'},
               {0, 0, 0, 20, 'i', 's', 'p', 'e', 0, 0, 0, 0, 0, 0, 0x0F, 0xA0, 0, 0, 0x0B, 0xB8}}),
         DeclaredPicture{4000, 3000, 64}},
        {"of no known type", std::vector<unsigned char>(64, 0x41), std::nullopt},
    };
    for (const auto& c : cases) {
        const auto declared = ReadDeclaredPicture([&c](std::uint64_t offset, unsigned char* to, std::size_t size) {
            const std::size_t got = offset < c.bytes.size() ? std::min<std::size_t>(size, c.bytes.size() - offset) : 0;
            std::copy_n(c.bytes.begin() + static_cast<std::ptrdiff_t>(std::min<std::uint64_t>(offset, c.bytes.size())),
                        got, to);
            return got;
        });
        ASSERT_EQ(declared.has_value(), c.declared.has_value()) << c.what;
        if (declared) {
            EXPECT_EQ(declared->width, c.declared->width) << c.what;
            EXPECT_EQ(declared->height, c.declared->height) << c.what;
            EXPECT_EQ(declared->decoderBits, c.declared->decoderBits) << c.what;
        }
    }
}

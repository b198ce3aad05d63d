// The decoder behind its small interface: every kind of failure comes back with the library's own message
// number, and the process goes on. No <windows.h> here, as in the decoder itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "wallpaper/CraftedJpeg.h"
#include "converter/JpegDecode.h"

namespace {
std::vector<unsigned char> Load(const std::wstring& name, const wchar_t* folder = SORABUNE_JPEG_TEST_IMAGES)
{
    std::wstring path = std::wstring(folder) + L"\\" + name;
    std::vector<unsigned char> bytes;
    if (FILE* file = _wfopen(path.c_str(), L"rb")) {
        unsigned char chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof(chunk), file)) > 0;) {
            bytes.insert(bytes.end(), chunk, chunk + n);
        }
        std::fclose(file);
    }
    return bytes;
}

// Hands out the bytes in small pieces, so that the decoder asks for more many times.
class MemorySource : public JpegByteSource {
public:
    explicit MemorySource(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}
    std::size_t Read(unsigned char* buffer, std::size_t size) override
    {
        std::size_t n = std::min<std::size_t>({size, kPiece, bytes_.size() - at_});
        std::copy(bytes_.begin() + at_, bytes_.begin() + at_ + n, buffer);
        at_ += n;
        return n;
    }

private:
    static constexpr std::size_t kPiece = 777;
    std::vector<unsigned char> bytes_;
    std::size_t at_ = 0;
};

class CountingSink : public JpegRowSink {
public:
    bool Begin(unsigned w, unsigned h, JpegRowOrder) override
    {
        width = w;
        height = h;
        row.assign(w * 3, 0);
        return acceptBegin;
    }
    unsigned char* NextRow(unsigned) override { return row.data(); }
    bool RowDone(unsigned r) override
    {
        EXPECT_EQ(r, rows);
        ++rows;
        return rows < failAtRow;
    }

    bool acceptBegin = true;
    unsigned failAtRow = ~0u;
    unsigned width = 0, height = 0, rows = 0;
    std::vector<unsigned char> row;
};

JpegResult DecodeBytes(std::vector<unsigned char> bytes, CountingSink& sink)
{
    MemorySource source(std::move(bytes));
    return DecodeJpeg(source, sink);
}

// A file the decoder refuses with that message number.
struct RefusedFile {
    const char* what;
    std::vector<unsigned char> bytes;
    int code;
};

void ExpectRefused(const std::vector<RefusedFile>& cases)
{
    for (const RefusedFile& c : cases) {
        CountingSink sink;
        JpegResult result = DecodeBytes(c.bytes, sink);
        EXPECT_EQ(result.status, JpegStatus::DecodeError) << c.what;
        EXPECT_EQ(result.messageCode, c.code) << c.what;
    }
}
} // namespace

TEST(JpegDecodeTest, BaselineAndArithmeticFilesDecodeEveryRow)
{
    for (const wchar_t* name : {L"testorig.jpg", L"testimgint.jpg", L"testimgari.jpg"}) {
        std::vector<unsigned char> bytes = Load(name);
        ASSERT_FALSE(bytes.empty()) << "test image missing";
        CountingSink sink;
        JpegResult result = DecodeBytes(bytes, sink);
        EXPECT_EQ(result.status, JpegStatus::Ok);
        EXPECT_EQ(sink.width, 227u);
        EXPECT_EQ(sink.height, 149u);
        EXPECT_EQ(sink.rows, 149u);
    }
}

TEST(JpegDecodeTest, FailuresReturnTheDecodersMessageNumber)
{
    std::vector<unsigned char> good = Load(L"testorig.jpg");
    ASSERT_FALSE(good.empty());
    std::vector<unsigned char> truncated(good.begin(), good.begin() + good.size() / 2);
    std::vector<unsigned char> headerOnly(good.begin(), good.begin() + 300);
    std::vector<unsigned char> garbage(5000, 0x5A);
    std::vector<unsigned char> wrongMarker = good;
    wrongMarker[1] = 0x00; // SOI destroyed
    std::vector<unsigned char> arithmetic = Load(L"testimgari.jpg");
    arithmetic.resize(arithmetic.size() - 2); // its decoder reads on with zeros, so a cut cannot be told apart
    ExpectRefused({
        {"empty", {}, JERR_INPUT_EMPTY},
        {"truncated", truncated, JWRN_JPEG_EOF},
        {"header only", headerOnly, JWRN_JPEG_EOF},
        {"not a JPEG", garbage, JERR_NO_SOI},
        {"broken start marker", wrongMarker, JERR_NO_SOI},
        {"12-bit samples", Load(L"testorig12.jpg"), JERR_BAD_PRECISION},
        {"arithmetic coding without its end marker", arithmetic, JWRN_JPEG_EOF},
    });
}

TEST(JpegDecodeTest, ASinkThatCannotTakeThePictureEndsTheDecodingAsSinkFailure)
{
    CountingSink refuses;
    refuses.acceptBegin = false;
    EXPECT_EQ(DecodeBytes(Load(L"testorig.jpg"), refuses).status, JpegStatus::SinkError);
    EXPECT_EQ(refuses.rows, 0u);

    CountingSink failsLater;
    failsLater.failAtRow = 10;
    EXPECT_EQ(DecodeBytes(Load(L"testorig.jpg"), failsLater).status, JpegStatus::SinkError);
    EXPECT_EQ(failsLater.rows, 10u);

    // The decoder is whole again afterwards.
    CountingSink fine;
    EXPECT_EQ(DecodeBytes(Load(L"testorig.jpg"), fine).status, JpegStatus::Ok);
}

TEST(JpegDecodeTest, FilesCutBetweenScansTooLargeOrOfInvalidOrCostlyProgressionsAreRefused)
{
    auto progressive = Load(L"progressive.jpg", SORABUNE_JPEG_REFERENCES);
    auto separate = Load(L"separate.jpg", SORABUNE_JPEG_REFERENCES); // one scan per component
    ASSERT_FALSE(progressive.empty() || separate.empty()) << "no derived pictures: the build makes them with jpegtran";
    ExpectRefused({
        {"progressive without its last scan",
         {progressive.begin(), progressive.begin() + Marker(progressive, 0xDA, kLastMarker)},
         JWRN_JPEG_EOF},
        {"without the last component's scan",
         {separate.begin(), separate.begin() + Marker(separate, 0xDA, kLastMarker)},
         JWRN_JPEG_EOF},
        {"2000 scans: the first sent again", WithEndlessScans(progressive), JWRN_BOGUS_PROGRESSION},
        {"100 passes over 64 blocks", WithManyPasses(64, 64, 100), JERR_BAD_PROGRESSION},
        {"arithmetic refinements of bits never sent", ArithmeticJpeg(512, 512, RepeatedRefinements(38)),
         JWRN_BOGUS_PROGRESSION},
        {"arithmetic, every bit of every coefficient in a scan of its own", ArithmeticJpeg(512, 512, EveryBitApart()),
         JERR_BAD_PROGRESSION},
    });
}

TEST(JpegDecodeTest, PicturesOverThePixelBoundAreRefusedBeforeTheSinkHearsOfThem)
{
    auto progressive = Load(L"progressive.jpg", SORABUNE_JPEG_REFERENCES);
    ASSERT_FALSE(progressive.empty()) << "no derived pictures: the build makes them with jpegtran";
    const struct {
        const char* what;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {"progressive", DeclaringAHugePicture(progressive)},
        {"baseline turned by a quarter", WithApp1(DeclaringAHugePicture(Load(L"testorig.jpg"), 0xC0), ExifSegment(6))},
        // Sequential files stream with little memory, and are bounded all the same.
        {"sequential arithmetic", ArithmeticJpeg(20000, 20000, {}, false)},
    };
    for (const auto& c : cases) {
        CountingSink sink;
        EXPECT_EQ(DecodeBytes(c.bytes, sink).status, JpegStatus::TooLarge) << c.what;
        EXPECT_EQ(sink.width, 0u) << c.what;
    }
}

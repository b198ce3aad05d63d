// The resident program's side of the converter, with the real SorabuneConv.exe and a misbehaving stand-in:
// hostile pictures and converters end in their verdict and leave every file as it was, a bitmap replaces only its
// picture's own earlier conversion, one converter serves many pictures, and the thread handles its messages while
// a conversion runs.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "base/BitmapFile.h"
#include "base/FileSystem.h"
#include "support/TestSupport.h"
#include "wallpaper/CraftedJpeg.h"
#include "wallpaper/CraftedPng.h"
#include "wallpaper/PictureConverter.h"
#include "wallpaper/WallpaperTestSupport.h"

namespace {
ConverterProgram Misbehaving(const wchar_t* how)
{
    return {FolderOf(OwnFilePath()) + L"\\misbehaving_converter.exe", how};
}

// A grey bitmap with a tag in its header: the program's own conversion of a picture when tagged so.
std::vector<unsigned char> TaggedBitmap(std::uint32_t tag)
{
    std::vector<unsigned char> bitmap = GreyBitmap(2, 2);
    for (int i = 0; i < 4; ++i) {
        bitmap[6 + i] = static_cast<unsigned char>(tag >> (8 * i));
    }
    return bitmap;
}

// The ids of the processes this one started that are still there.
std::vector<DWORD> Children()
{
    std::vector<DWORD> children;
    KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ParentProcessID == GetCurrentProcessId()) {
            children.push_back(entry.th32ProcessID);
        }
    }
    return children;
}

std::atomic<int>& Ticks()
{
    static std::atomic<int> ticks;
    return ticks;
}

// A plain callback: a lambda is no stdcall function on i686.
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD)
{
    ++Ticks();
}

ConversionJob JobFor(const std::wstring& picture)
{
    const bool jpeg = picture.size() > 4 && picture.compare(picture.size() - 4, 4, L".jpg") == 0;
    return {picture, jpeg ? PictureCoding::Jpeg : PictureCoding::Imaging,
            picture.substr(0, picture.size() - 4) + L".BMP"};
}

class PictureConverterTest : public testing::Test {
protected:
    ScratchFolder folder{L"SorabuneConverterTest"};
};
} // namespace

TEST_F(PictureConverterTest, HostilePicturesAndConvertersEndInTheirVerdictAndLeaveEveryFileAsItWas)
{
    const std::vector<unsigned char> photo = ReadBytes(TestImage(L"testorig.jpg"));
    const std::vector<unsigned char> progressive = ReadBytes(Reference(L"progressive.jpg"));
    ASSERT_FALSE(photo.empty() || progressive.empty()) << "test images missing";
    const ConverterProgram real = ConverterBesideProgram();
    // Rows of 16-bit RGBA: within the pixel bound, but what the imaging component holds would pass the memory's.
    const auto deepRows = static_cast<std::uint32_t>(kMaxPicturePixels * 9 / 10 / 10000);
    const struct {
        const char* what;
        const wchar_t* name;
        std::vector<unsigned char> bytes; // nothing: no such file
        ConverterProgram converter;
        ConversionFailure failure;
    } cases[] = {
        {"arithmetic refinements of bits never sent", L"refined.jpg",
         ArithmeticJpeg(6000, 4000, RepeatedRefinements(38)), real, ConversionFailure::Unreadable},
        {"arithmetic, every bit of every coefficient apart", L"bits.jpg", ArithmeticJpeg(6000, 4000, EveryBitApart()),
         real, ConversionFailure::Unreadable},
        {"sequential of 20000 x 20000", L"sequential.jpg", ArithmeticJpeg(20000, 20000, {}, false), real,
         ConversionFailure::TooLarge},
        {"progressive of 65500 x 20000", L"huge.jpg", DeclaringAHugePicture(progressive), real,
         ConversionFailure::TooLarge},
        {"PNG bomb of 60000 x 60000", L"bomb.png", PngBomb(60000, 60000, 1, 0), real, ConversionFailure::TooLarge},
        {"16-bit PNG that its decoder would hold over the bound", L"deep.png", PngBomb(10000, deepRows, 16, 6), real,
         ConversionFailure::TooLarge},
        {"no picture of its type", L"fake.png", std::vector<unsigned char>(300, 0x41), real,
         ConversionFailure::Unreadable},
        {"no such file", L"missing.jpg", {}, real, ConversionFailure::CannotOpen},
        {"a converter that crashes", L"photo.jpg", photo, Misbehaving(L"crash"), ConversionFailure::Crashed},
        {"a converter that never answers", L"photo.jpg", photo, Misbehaving(L"hang"), ConversionFailure::TimedOut},
        {"a converter that claims a bitmap it did not write", L"photo.jpg", photo, Misbehaving(L"lie"),
         ConversionFailure::Unreadable},
        {"no converter", L"photo.jpg", photo, {folder / L"none.exe", L""}, ConversionFailure::CannotStart},
    };
    for (const auto& c : cases) {
        const ConversionJob job = JobFor(folder / c.name);
        // The picture's older bitmap, which only a conversion that succeeds may replace.
        const std::vector<unsigned char> older = TaggedBitmap(ConversionTag(job.picture));
        ASSERT_TRUE(WriteBytes(job.bitmap, older));
        if (!c.bytes.empty()) {
            ASSERT_TRUE(WriteBytes(job.picture, c.bytes));
        }
        const std::vector<std::wstring> before = folder.Names();
        PictureConverter converter(TestErrors(), TestLoop(), c.converter);
        EXPECT_EQ(ConvertHandlingMessages(converter, job).failure, c.failure) << c.what;
        EXPECT_TRUE(ReadBytes(job.bitmap) == older) << c.what;
        EXPECT_EQ(folder.Names(), before) << c.what << ": no temporary file is left";
        DeleteFileW(job.picture.c_str());
        DeleteFileW(job.bitmap.c_str());
    }
}

TEST_F(PictureConverterTest, ABitmapReplacesOnlyItsPicturesOwnEarlierConversionAndOneConverterServesThemAll)
{
    const ConversionJob job = JobFor(folder / L"photo.jpg");
    ASSERT_TRUE(CopyTestFile(TestImage(L"testorig.jpg"), job.picture));
    const std::uint32_t own = ConversionTag(job.picture);
    const struct {
        const char* what;
        std::vector<unsigned char> there; // nothing: the name is free
        ConversionFailure failure;
    } cases[] = {
        {"a free name", {}, ConversionFailure::None},
        {"the picture's older conversion", TaggedBitmap(own), ConversionFailure::None},
        {"the user's own bitmap", GreyBitmap(2, 2), ConversionFailure::CannotCreate},
        {"another picture's conversion", TaggedBitmap(ConversionTag(L"photo.png")), ConversionFailure::CannotCreate},
    };
    PictureConverter converter(TestErrors(), TestLoop());
    std::vector<DWORD> converters;
    for (const auto& c : cases) {
        DeleteFileW(job.bitmap.c_str());
        if (!c.there.empty()) {
            ASSERT_TRUE(WriteBytes(job.bitmap, c.there));
        }
        EXPECT_EQ(ConvertHandlingMessages(converter, job).failure, c.failure) << c.what;
        const std::vector<unsigned char> after = ReadBytes(job.bitmap);
        if (c.failure == ConversionFailure::None) {
            EXPECT_EQ(BitmapTagOf(job.bitmap), own) << c.what;
            EXPECT_GT(after.size(), 227u * 149u * 3) << c.what;
        } else {
            EXPECT_TRUE(after == c.there) << c.what;
        }
        EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"photo.BMP", L"photo.jpg"})) << c.what;
        const std::vector<DWORD> children = Children();
        converters.insert(converters.end(), children.begin(), children.end());
    }
    ASSERT_FALSE(converters.empty());
    EXPECT_EQ(std::count(converters.begin(), converters.end(), converters[0]), 4) << "one converter for all";

    // The program's own wallpaper bitmap is replaced whatever it holds.
    ASSERT_TRUE(WriteBytes(job.bitmap, GreyBitmap(2, 2)));
    EXPECT_EQ(ConvertHandlingMessages(converter, {job.picture, job.coding, job.bitmap, true}).failure,
              ConversionFailure::None);
    EXPECT_EQ(BitmapTagOf(job.bitmap), own);
}

TEST_F(PictureConverterTest, TheThreadHandlesItsMessagesWhileAConversionRunsAndCancelEndsTheConverterAtOnce)
{
    const ConversionJob job = JobFor(folder / L"photo.jpg");
    ASSERT_TRUE(CopyTestFile(TestImage(L"testorig.jpg"), job.picture));
    // A timer of the thread, as the program's tick is, and a message another thread sends.
    Ticks() = 0;
    std::atomic<int>& ticks = Ticks();
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, CountTick);
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    std::atomic<bool> answered{false};
    std::thread other([&] {
        Sleep(300);
        DWORD_PTR result = 0;
        answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 1000, &result) != 0;
    });

    PictureConverter hanging(TestErrors(), TestLoop(), Misbehaving(L"hang"));
    const DWORD start = GetTickCount();
    EXPECT_EQ(ConvertHandlingMessages(hanging, job).failure, ConversionFailure::TimedOut);
    const DWORD took = GetTickCount() - start;
    other.join();
    EXPECT_GE(took, kConversionFloorMs);
    EXPECT_LT(took, kConversionFloorMs + 1000);
    EXPECT_GE(ticks, static_cast<int>(kConversionFloorMs / 50 / 2)) << "the timer kept its moments";
    EXPECT_TRUE(answered) << "a message sent from another thread was answered";

    const int ticksBefore = ticks;
    const DWORD cancelStart = GetTickCount();
    EXPECT_EQ(ConvertHandlingMessages(hanging, job, [&] { return ticks >= ticksBefore + 3; }).failure,
              ConversionFailure::Cancelled);
    EXPECT_LT(GetTickCount() - cancelStart, 1000u);
    for (int wait = 0; wait < 100 && !Children().empty(); ++wait) {
        Sleep(10);
    }
    EXPECT_TRUE(Children().empty()) << "the converter was ended";
    EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"photo.jpg"}));
    KillTimer(nullptr, timer);
    DestroyWindow(window);
}

TEST_F(PictureConverterTest, APreviewComesBackAsPixelsOfItsFittedSizeAndNoFileIsWritten)
{
    const std::wstring picture = folder / L"photo.jpg";
    ASSERT_TRUE(CopyTestFile(TestImage(L"testorig.jpg"), picture));
    const ConversionJob job{picture, PictureCoding::Jpeg, L"", false, PreviewFit{57, 38, 0}};
    PictureConverter converter(TestErrors(), TestLoop());
    const ConversionResult result = ConvertHandlingMessages(converter, job);
    ASSERT_EQ(result.failure, ConversionFailure::None);
    ASSERT_TRUE(result.pixels);
    EXPECT_EQ(result.pixels->shownWidth, 227u);
    EXPECT_EQ(result.pixels->shownHeight, 149u);
    EXPECT_EQ(result.pixels->width, 58u);
    EXPECT_EQ(result.pixels->height, 38u);
    const auto* pixels =
        static_cast<const unsigned char*>(MapViewOfFile(result.pixels->section.Get(), FILE_MAP_READ, 0, 0, 60 * 38));
    ASSERT_NE(pixels, nullptr);
    EXPECT_NE(std::count(pixels, pixels + 58 * 3, 0), 58 * 3) << "the top row was written";
    UnmapViewOfFile(pixels);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"photo.jpg"});

    // Pixels of another size than asked are not taken.
    PictureConverter lying(TestErrors(), TestLoop(), Misbehaving(L"lie"));
    EXPECT_EQ(ConvertHandlingMessages(lying, job).failure, ConversionFailure::Unreadable);
}

// Benchmark of the wallpaper changer: JPEG to bitmap conversion of a large photo through the converter (time, and
// the converter's start), the decoder in this process (time, memory beyond the decoder's own, the same photo
// tagged to be turned by a quarter), the refusal of crafted files through the converter (beside the conversion of
// a normal progressive photo of the same size, and this process's memory meanwhile), ChangeWallpaper over a list of
// 10,000 present files and over a folder of as many, and the preview in each style: the user-interface thread's
// time, the time until it has come and its painting. Prints "name: value unit" lines.
// SORABUNE_BENCH_JPEG names the photo (scripts/bench makes a 24-megapixel one), SORABUNE_BENCH_PROGRESSIVE the
// folder of the progressive photos of 10 scans (progressive_<width>x<height>.jpg).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "wallpaper/WallpaperIds.h"
#include "settings/SettingsDialog.h"
#include "app/MakePages.h"
#include "support/DialogUi.h"
#include "wallpaper/CraftedJpeg.h"
#include "base/ProcessMemory.h"
#include "converter/BitmapWriter.h"
#include "converter/JpegDecode.h"
#include "wallpaper/CraftedPng.h"
#include "base/MessageLoop.h"
#include "wallpaper/PictureConverter.h"
#include "wallpaper/PictureFolders.h"
#include "wallpaper/WallpaperPage.h"
#include "wallpaper/WallpaperRules.h"
#include "wallpaper/Wallpaper.h"
#include "wallpaper/WallpaperTestSupport.h"

namespace {
constexpr int kConversionRuns = 3;
constexpr int kFloodSegments = 200000;
constexpr int kCraftedScans = 500;
constexpr int kListSize = 10000;
constexpr int kChangeRuns = 10;
constexpr DWORD kSettleMs = 2500;
constexpr double kKiB = 1024.0;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The highest committed private memory while work runs, less what was committed before it began.
template <typename Work> double PeakExtraKiB(Work work)
{
    std::atomic<bool> done{false};
    std::atomic<SIZE_T> peak{0};
    const SIZE_T before = static_cast<SIZE_T>(CommittedPrivateMemory());
    std::thread sampler([&] {
        while (!done) {
            SIZE_T now = static_cast<SIZE_T>(CommittedPrivateMemory());
            if (now > peak) {
                peak = now;
            }
            Sleep(1);
        }
    });
    Sleep(20);
    const SIZE_T baseline = std::max(before, static_cast<SIZE_T>(CommittedPrivateMemory()));
    work();
    done = true;
    sampler.join();
    return peak > baseline ? (peak - baseline) / kKiB : 0.0;
}

class FileSource : public JpegByteSource {
public:
    explicit FileSource(const std::wstring& path)
        : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    std::size_t Read(unsigned char* buffer, std::size_t size) override
    {
        DWORD got = 0;
        return ReadFile(file_.Get(), buffer, static_cast<DWORD>(size), &got, nullptr) ? got : 0;
    }

private:
    FileHandle file_;
};

// Decodes into one reused row: the decoder's own memory and nothing else.
class NullSink : public JpegRowSink {
public:
    bool Begin(unsigned width, unsigned, JpegRowOrder) override
    {
        row_.assign(static_cast<std::size_t>(width) * 3, 0);
        return true;
    }
    unsigned char* NextRow(unsigned) override { return row_.data(); }
    bool RowDone(unsigned) override { return true; }

private:
    std::vector<unsigned char> row_;
};

// The converter's decoding in this process, through handles as the converter has them.
ConvertOutcome ConvertJpegToBmp(const std::wstring& jpeg, const std::wstring& bmp)
{
    FileHandle in(CreateFileW(jpeg.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    FileHandle out(CreateFileW(bmp.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return ConvertJpeg(in.Get(), out.Get(), 1, nullptr);
}

// A picture through the converter, as an add converts it; the time from the request to the bitmap in its place.
double ConvertedMs(PictureConverter& converter, const std::wstring& picture, const std::wstring& bmp,
                   ConversionResult& result)
{
    const bool jpeg = picture.size() > 4 && picture.compare(picture.size() - 4, 4, L".jpg") == 0;
    DeleteFileW(bmp.c_str());
    auto start = Clock::now();
    result = ConvertHandlingMessages(converter, {picture, jpeg ? PictureCoding::Jpeg : PictureCoding::Imaging, bmp});
    return MillisecondsSince(start);
}

// The photo with an Exif orientation of 6 (a quarter turn clockwise), beside the untagged one's best time.
void BenchTurnedConversion(const std::wstring& jpeg, const ScratchFolder& folder, double uprightMs)
{
    const std::wstring turned = folder / L"photo6.jpg";
    const std::wstring bmp = folder / L"photo6.BMP";
    WriteBytes(turned, WithApp1(ReadBytes(jpeg), ExifSegment(6)));
    double peak = PeakExtraKiB([&] { ConvertJpegToBmp(turned, bmp); });
    double best = 1e30;
    ConvertOutcome result = {};
    for (int run = 0; run < kConversionRuns; ++run) {
        auto start = Clock::now();
        result = ConvertJpegToBmp(turned, bmp);
        best = std::min(best, MillisecondsSince(start));
    }
    if (result.status != ConvertStatus::Converted) {
        std::fprintf(stderr, "turned conversion failed: %d #%d\n", static_cast<int>(result.status), result.jpegMessage);
        return;
    }
    std::printf("jpeg_to_bmp_orientation6_in_process: %.0f ms\n", best);
    std::printf("jpeg_to_bmp_orientation6_to_upright_ratio: %.2f x\n", best / uprightMs);
    std::printf("jpeg_to_bmp_orientation6_peak_extra_memory: %.0f KiB\n", peak);
}

void BenchConversion(const std::wstring& jpeg, const ScratchFolder& folder)
{
    const std::wstring bmp = folder / L"photo.BMP";
    // Memory first, in a process that has not converted yet.
    double decodeOnly = PeakExtraKiB([&] {
        FileSource source(jpeg);
        NullSink sink;
        DecodeJpeg(source, sink);
    });
    double conversion = PeakExtraKiB([&] { ConvertJpegToBmp(jpeg, bmp); });
    double inProcess = 1e30;
    ConvertOutcome outcome = {};
    for (int run = 0; run < kConversionRuns; ++run) {
        auto start = Clock::now();
        outcome = ConvertJpegToBmp(jpeg, bmp);
        inProcess = std::min(inProcess, MillisecondsSince(start));
    }
    if (outcome.status != ConvertStatus::Converted) {
        std::fprintf(stderr, "conversion failed: %d #%d\n", static_cast<int>(outcome.status), outcome.jpegMessage);
        return;
    }
    // Through the converter, as an add converts: its start once (the time a first small picture takes beyond a
    // second one), then the photo.
    ErrorBox errors;
    MessageLoop loop;
    PictureConverter converter(errors, loop);
    ConversionResult result = {};
    const std::wstring small = TestImage(L"testorig.jpg");
    const double first = ConvertedMs(converter, small, folder / L"small.BMP", result);
    const double second = ConvertedMs(converter, small, folder / L"small.BMP", result);
    double withConverter = 1e30;
    for (int run = 0; run < kConversionRuns; ++run) {
        withConverter = std::min(withConverter, ConvertedMs(converter, jpeg, bmp, result));
    }
    if (result.failure != ConversionFailure::None) {
        std::fprintf(stderr, "conversion through the converter failed: %d\n", static_cast<int>(result.failure));
        return;
    }
    std::printf("jpeg_to_bmp_wine: %.0f ms\n", withConverter);
    std::printf("converter_start: %.0f ms\n", first - second);
    std::printf("jpeg_to_bmp_in_process: %.0f ms\n", inProcess);
    std::printf("jpeg_to_bmp_converter_to_in_process_ratio: %.2f x\n", withConverter / inProcess);
    std::printf("jpeg_to_bmp_peak_extra_memory: %.0f KiB\n", conversion);
    std::printf("jpeg_decode_only_peak_extra_memory: %.0f KiB\n", decodeOnly);
    std::printf("jpeg_to_bmp_memory_beyond_decoder: %.0f KiB\n", std::max(0.0, conversion - decodeOnly));
    BenchTurnedConversion(jpeg, folder, inProcess);
}

// The first scans of EveryBitApart, as many as the work bound allows: the DC band and four passes over the AC band.
std::vector<JpegScan> AtTheWorkBound()
{
    std::vector<JpegScan> scans = EveryBitApart();
    scans.resize(1 + kMaxCoefficientPasses);
    return scans;
}

// The crafted files of the review through the converter: how long each takes to its verdict, and how much this
// process, the resident program's side, grows through all of them.
void BenchCraftedFiles(const ScratchFolder& folder)
{
    const std::vector<unsigned char> progressive = ReadBytes(Reference(L"progressive.jpg"));
    if (progressive.empty()) {
        std::fprintf(stderr, "no progressive reference picture: no refusal figures\n");
        return;
    }
    const struct {
        const char* name;
        const wchar_t* file;
        std::vector<unsigned char> bytes;
    } files[] = {
        {"huge_declared", L"huge.jpg", DeclaringAHugePicture(progressive)},
        {"endless_scans", L"endless.jpg", WithEndlessScans(progressive)},
        {"arithmetic_refinements_16000x12000", L"refine192.jpg", ArithmeticJpeg(16000, 12000, RepeatedRefinements(38))},
        {"arithmetic_refinements_24mp", L"refine24.jpg", ArithmeticJpeg(6000, 4000, RepeatedRefinements(38))},
        {"arithmetic_refinements_41_scans_24mp", L"refine41.jpg", ArithmeticJpeg(6000, 4000, RepeatedRefinements(41))},
        {"arithmetic_every_bit_apart_24mp", L"bits24.jpg", ArithmeticJpeg(6000, 4000, EveryBitApart())},
        {"arithmetic_every_bit_apart_100mp", L"bits100.jpg", ArithmeticJpeg(10000, 10000, EveryBitApart())},
        // The costliest arithmetic file the bound lets through: converted.
        {"arithmetic_at_the_work_bound_24mp", L"bound24.jpg", ArithmeticJpeg(6000, 4000, AtTheWorkBound())},
        {"arithmetic_at_the_work_bound_100mp", L"bound100.jpg", ArithmeticJpeg(10000, 10000, AtTheWorkBound())},
        {"sequential_arithmetic_20000x20000", L"sequential.jpg", ArithmeticJpeg(20000, 20000, {}, false)},
        {"png_16000x16000", L"bomb16000.png", PngBomb(16000, 16000, 8, 6, 60000)},
        {"png_60000x60000_1bit", L"bomb60000.png", PngBomb(60000, 60000, 1, 0, 60000)},
    };
    ErrorBox errors;
    MessageLoop loop;
    PictureConverter converter(errors, loop);
    converter.Prepare();
    double peak = PeakExtraKiB([&] {
        for (const auto& file : files) {
            WriteBytes(folder / file.file, file.bytes);
            ConversionResult result = {};
            const double ms = ConvertedMs(converter, folder / file.file, folder / L"crafted.BMP", result);
            std::printf("crafted_%s: %.0f ms (%.1f KiB, verdict %d, JPEG error #%d)\n", file.name, ms,
                        file.bytes.size() / kKiB, static_cast<int>(result.failure), result.jpegMessage);
        }
    });
    std::printf("crafted_files_resident_peak_extra_memory: %.0f KiB\n", peak);
}

// Files of a few KiB that would make the decoder pass over every block of a large picture 500 times (the most
// scans it takes), refused at its bound of work, each beside a normal progressive photo of the same size; the
// best of three of each.
void BenchManyPasses(const ScratchFolder& folder, const std::wstring& photos)
{
    const struct {
        const char* name;
        unsigned width, height;
    } sizes[] = {{"2mp", 1600, 1200}, {"12mp", 4000, 3000}, {"24mp", 6000, 4000}};
    ErrorBox errors;
    MessageLoop loop;
    PictureConverter converter(errors, loop);
    converter.Prepare();
    for (const auto& size : sizes) {
        const std::wstring dimensions = std::to_wstring(size.width) + L"x" + std::to_wstring(size.height);
        const std::wstring photo = photos + L"\\progressive_" + dimensions + L".jpg";
        double photoMs = 1e30;
        ConversionResult result = {};
        for (int run = 0; run < kConversionRuns && !photos.empty(); ++run) {
            photoMs = std::min(photoMs, ConvertedMs(converter, photo, folder / L"photo.BMP", result));
        }
        const std::vector<unsigned char> crafted = WithManyPasses(size.width, size.height, kCraftedScans);
        WriteBytes(folder / L"passes.jpg", crafted);
        double refusalMs = 1e30;
        ConversionResult refusal = {};
        for (int run = 0; run < kConversionRuns; ++run) {
            refusalMs =
                std::min(refusalMs, ConvertedMs(converter, folder / L"passes.jpg", folder / L"passes.BMP", refusal));
        }
        std::printf("jpeg_refusal_many_passes_%s: %.0f ms (%.1f KiB, JPEG error #%d)\n", size.name, refusalMs,
                    crafted.size() / kKiB, refusal.jpegMessage);
        if (photos.empty() || result.failure != ConversionFailure::None) {
            std::fprintf(stderr, "no progressive photo of %ls: %d\n", dimensions.c_str(),
                         static_cast<int>(result.failure));
            continue;
        }
        std::printf("jpeg_progressive10_to_bmp_%s: %.0f ms\n", size.name, photoMs);
        std::printf("jpeg_refusal_many_passes_to_progressive10_ratio_%s: %.2f x\n", size.name, refusalMs / photoMs);
    }
}

// A small picture behind 200,000 empty APP1 segments, each of which the decoder would keep if it kept them all.
void BenchApp1Flood(const ScratchFolder& folder)
{
    std::vector<unsigned char> jpeg = ReadBytes(TestImage(L"testorig.jpg"));
    const std::vector<unsigned char> empty = {0xFF, 0xE1, 0, 2};
    std::vector<unsigned char> flood;
    for (int i = 0; i < kFloodSegments; ++i) {
        flood.insert(flood.end(), empty.begin(), empty.end());
    }
    jpeg.insert(jpeg.begin() + 2, flood.begin(), flood.end());
    WriteBytes(folder / L"flood.jpg", jpeg);
    ConvertOutcome result = {};
    double peak = PeakExtraKiB([&] { result = ConvertJpegToBmp(folder / L"flood.jpg", folder / L"flood.BMP"); });
    std::printf("jpeg_app1_flood_peak_extra_memory: %.0f KiB (JPEG error #%d)\n", peak, result.jpegMessage);
}

double MedianChangeMs(SettingsDialog& dialog, const std::wstring& shown)
{
    std::vector<double> times;
    for (int run = 0; run < kChangeRuns; ++run) {
        SetWallpaper(shown, WallpaperStyle::Centre, SystemParametersInfoW);
        auto start = Clock::now();
        ChangeWallpaper(dialog, SystemParametersInfoW);
        times.push_back(MillisecondsSince(start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The list's files stay in the prefix between runs: making 10,000 files under Wine takes a minute.
std::wstring ListFolder()
{
    std::wstring folder = TempPath(L"SorabuneWallpaperBenchList\\");
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// The settings dialog with the program's pages and the player they share, which outlives them.
struct DesignDialog {
    ChimePlayer chimePlayer;
    ErrorBox errors;
    MessageLoop loop;
    SettingsDialog dialog{errors, loop, MakeSettingsPages(chimePlayer)};
    // Makes the dialog's window; false, said on the error output, when it cannot be made.
    bool Create()
    {
        if (dialog.Create(nullptr, false)) {
            return true;
        }
        std::fprintf(stderr, "no settings dialog\n");
        return false;
    }
};

void BenchChangeWallpaper()
{
    const std::vector<unsigned char> tiny = GreyBitmap(2, 2);
    DesignDialog design;
    if (!design.Create()) {
        return;
    }
    SettingsDialog& dialog = design.dialog;
    HWND list = Ui(dialog).Control(IDC_WALLPAPER_LIST);
    const std::wstring folder = ListFolder();
    bool made = false;
    for (int i = 0; i < kListSize; ++i) {
        std::wstring path = folder + L"壁紙" + std::to_wstring(i) + L".bmp";
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            WriteBytes(path, tiny);
            made = true;
        }
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
    }
    if (made) {
        // Files of a moment ago are checked one by one; a settled folder is what a real list has.
        Sleep(kSettleMs);
    }
    const std::wstring shown = ListItems(list)[kListSize / 2];
    const std::wstring before = CurrentDesktopWallpaper();

    Ui(dialog).SetIndex(IDC_WALLPAPER_ORDER, 0);
    auto start = Clock::now();
    ChangeWallpaper(dialog, SystemParametersInfoW);
    double first = MillisecondsSince(start);
    double sequential = MedianChangeMs(dialog, shown);
    Ui(dialog).SetIndex(IDC_WALLPAPER_ORDER, 1);
    double random = MedianChangeMs(dialog, shown);
    int left = Ui(dialog).ItemCount(IDC_WALLPAPER_LIST);
    SetWallpaper(before, kInitialWallpaperStyle, SystemParametersInfoW);
    if (left != kListSize) {
        std::fprintf(stderr, "the purge removed present files: %d left\n", left);
    }
    std::printf("wallpaper_change_10000_first: %.1f ms\n", first);
    std::printf("wallpaper_change_10000_sequential: %.1f ms\n", sequential);
    std::printf("wallpaper_change_10000_random: %.1f ms\n", random);
}

// This thread's time handling the answers of work that runs elsewhere (the folder's listing, the converter), without
// the waiting for them: the thread sleeps, so that an answer waits unhandled, then handles what has come; only the
// handling is timed. The message loop's poll timer (kWatchPollMs) serves the watched handles from the messages.
double HandlingMs(const std::function<bool()>& answered)
{
    constexpr DWORD kRoundMs = kWatchPollMs + kWatchPollMs / 5;
    double handling = 0;
    while (!answered()) {
        Sleep(kRoundMs);
        const auto start = Clock::now();
        ProcessPendingMessages();
        handling += MillisecondsSince(start);
    }
    return handling;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// A folder entry of the 10,000 files of the change's list: the call the tick makes (the purge and the start of the
// listing), this thread's time through the whole change (the call, and the handling of the listing's and the
// converter's answers; HandlingMs), and the time until the picture is the wallpaper (the walk on its thread and the
// conversion); then the walk alone.
void BenchFolderChange()
{
    DesignDialog design;
    if (!design.Create()) {
        return;
    }
    SettingsDialog& dialog = design.dialog;
    WallpaperPage& page = WallpaperPageOf(dialog);
    const std::wstring folder = ListFolder();
    Ui(dialog).AddItem(IDC_WALLPAPER_LIST, FolderEntryFor(folder));
    const std::wstring before = CurrentDesktopWallpaper();
    const char* orders[] = {"sequential", "random"};
    for (int order = 0; order < 2; ++order) {
        Ui(dialog).SetIndex(IDC_WALLPAPER_ORDER, order);
        std::vector<double> calls, threads, latencies;
        for (int run = 0; run < kChangeRuns / 2; ++run) {
            auto start = Clock::now();
            ChangeWallpaper(dialog, SystemParametersInfoW);
            dialog.Loop().HandleMessagesUntil([&] { return !page.Changer().Busy(); });
            latencies.push_back(MillisecondsSince(start));
            start = Clock::now();
            ChangeWallpaper(dialog, SystemParametersInfoW);
            calls.push_back(MillisecondsSince(start));
            threads.push_back(calls.back() + HandlingMs([&] { return !page.Changer().Busy(); }));
        }
        std::printf("wallpaper_change_folder_10000_call_%s: %.1f ms\n", orders[order], Median(calls));
        std::printf("wallpaper_change_folder_10000_ui_thread_%s: %.1f ms\n", orders[order], Median(threads));
        std::printf("wallpaper_change_folder_10000_latency_%s: %.0f ms\n", orders[order], Median(latencies));
    }
    SetWallpaper(before, kInitialWallpaperStyle, SystemParametersInfoW);
    const auto start = Clock::now();
    const FolderPictures found =
        ListFolderPictures(folder, SystemFolderQueries(), [](std::wstring_view name) { return name.size() > 4; });
    std::printf("folder_walk_10000: %.0f ms (%zu pictures)\n", MillisecondsSince(start), found.pictures.size());
}

// The preview in each style of a converted 24-megapixel photo (the bitmap an add made of the bench's photo, else a
// grey one), of the photo itself as a folder's picture, and of a 4 x 3 picture tiled over the session's screen:
// this thread's time from the click to the first paint (the request, the converter's answer made a bitmap, the
// paint; HandlingMs), the time until the preview has come, the first paint and a repaint of the kept drawing.
void BenchPreview(const ScratchFolder& folder, const std::wstring& photo)
{
    DesignDialog design;
    if (!design.Create()) {
        return;
    }
    SettingsDialog& dialog = design.dialog;
    WallpaperPage& page = WallpaperPageOf(dialog);
    HWND list = Ui(dialog).Control(IDC_WALLPAPER_LIST);
    HWND img = Ui(dialog).Control(IDC_WALLPAPER_PREVIEW);
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_STATIC;
    item.hwndItem = img;
    GetClientRect(img, &item.rcItem);
    WindowDC screen;
    item.hDC = CreateCompatibleDC(screen.Get());
    GdiObject canvas(CreateCompatibleBitmap(screen.Get(), item.rcItem.right, item.rcItem.bottom));
    std::optional<SelectInDC> selected(std::in_place, item.hDC, canvas.Get());
    std::wstring bitmap = folder / L"photo.BMP";
    if (GetFileAttributesW(bitmap.c_str()) == INVALID_FILE_ATTRIBUTES) {
        bitmap = folder / L"preview6000.bmp";
        WriteBytes(bitmap, GreyBitmap(6000, 4000));
    }
    const std::wstring tiny = folder / L"preview4.bmp";
    WriteBytes(tiny, GreyBitmap(4, 3));
    struct Case {
        const char* name;
        std::wstring path;
        std::vector<int> styles;
    };
    std::vector<Case> cases = {{"24mp", bitmap, {0, 1, 2, 3, 4}}, {"4x3", tiny, {1}}};
    if (!photo.empty()) {
        cases.push_back({"24mp_jpeg", photo, {4}});
    }
    const char* styleNames[] = {"centre", "tile", "stretch", "fit", "fill"};
    for (const Case& picture : cases) {
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        Ui(dialog).AddItem(IDC_WALLPAPER_LIST, picture.path);
        SendMessageW(list, LB_SETCARETINDEX, 0, FALSE);
        for (int style : picture.styles) {
            Ui(dialog).SetIndex(IDC_WALLPAPER_STYLE, style);
            page.StyleChange();
            dialog.Loop().HandleMessagesUntil([&] { return !page.PreviewPending(); });
            std::vector<double> threads, latencies, paints;
            for (int run = 0; run < kChangeRuns / 2; ++run) {
                auto start = Clock::now();
                page.ListClick();
                dialog.Loop().HandleMessagesUntil([&] { return !page.PreviewPending(); });
                latencies.push_back(MillisecondsSince(start));
                start = Clock::now();
                page.ListClick();
                const double click = MillisecondsSince(start);
                const double answer = HandlingMs([&] { return !page.PreviewPending(); });
                const auto paint = Clock::now();
                page.OnDrawItem(&item);
                paints.push_back(MillisecondsSince(paint));
                threads.push_back(click + answer + paints.back());
            }
            // The later paints copy the kept drawing.
            std::vector<double> repaints;
            for (int run = 0; run < kChangeRuns; ++run) {
                const auto start = Clock::now();
                page.OnDrawItem(&item);
                repaints.push_back(MillisecondsSince(start));
            }
            const std::string name = std::string(picture.name) + "_" + styleNames[style];
            std::printf("wallpaper_preview_ui_thread_%s: %.1f ms\n", name.c_str(), Median(threads));
            std::printf("wallpaper_preview_latency_%s: %.0f ms\n", name.c_str(), Median(latencies));
            std::printf("wallpaper_preview_paint_%s: %.1f ms\n", name.c_str(), Median(paints));
            std::printf("wallpaper_preview_repaint_%s: %.2f ms\n", name.c_str(), Median(repaints));
        }
    }
    selected.reset();
    DeleteDC(item.hDC);
}
} // namespace

int wmain()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    ScratchFolder folder(L"SorabuneWallpaperBench");
    wchar_t jpeg[MAX_PATH * 2] = {};
    if (GetEnvironmentVariableW(L"SORABUNE_BENCH_JPEG", jpeg, MAX_PATH * 2)) {
        BenchConversion(jpeg, folder);
    } else {
        std::fprintf(stderr, "SORABUNE_BENCH_JPEG not set: no conversion figures\n");
    }
    BenchCraftedFiles(folder);
    wchar_t photos[MAX_PATH * 2] = {};
    GetEnvironmentVariableW(L"SORABUNE_BENCH_PROGRESSIVE", photos, MAX_PATH * 2);
    BenchManyPasses(folder, photos);
    BenchApp1Flood(folder);
    BenchChangeWallpaper();
    BenchFolderChange();
    BenchPreview(folder, jpeg);
    std::fflush(stdout);
    return 0;
}

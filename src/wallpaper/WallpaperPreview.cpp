// The preview's requests to the folder lister and the converter, the bitmap over the section the converter wrote,
// and its painting: the layout is made for the picture as shown, its pieces taken from the smaller decoded pixels.
#include "wallpaper/WallpaperPreview.h"

#include <algorithm>
#include <cmath>

#include "base/BitmapFile.h"
#include "wallpaper/AddWallpapers.h"
#include "wallpaper/WallpaperChanger.h"

namespace {
constexpr double kPpm = 1e6;
// A decode this many times larger than the layout needs is made again smaller, so that a first paint stays quick.
constexpr double kFarLarger = 2.0;
// Rounding leaves a decode this much smaller than asked without showing.
constexpr double kCloseEnough = 0.99;
constexpr WORD kBitsPerPixel = 24;

// A rectangle of the picture as shown, in the decoded pixels.
PreviewRect InPixels(const PreviewRect& shown, SIZE whole, SIZE pixels)
{
    const auto scale = [](int at, LONG from, LONG to) {
        return static_cast<int>(static_cast<long long>(at) * to / std::max<LONG>(from, 1));
    };
    const int left = scale(shown.x, whole.cx, pixels.cx);
    const int top = scale(shown.y, whole.cy, pixels.cy);
    const int right = scale(shown.x + shown.width, whole.cx, pixels.cx);
    const int bottom = scale(shown.y + shown.height, whole.cy, pixels.cy);
    return {left, top, std::max(1, right - left), std::max(1, bottom - top)};
}

// A bitmap over the converter's section: top-down rows of 24-bit pixels, no copy made.
GdiObject BitmapOver(const FittedPixels& pixels)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(pixels.width);
    info.bmiHeader.biHeight = -static_cast<LONG>(pixels.height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = kBitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return GdiObject(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, pixels.section.Get(), 0));
}

PictureCoding CodingOf(const std::wstring& picture)
{
    return AddKindOf(picture, DecodedExtensions()) == AddKind::Jpeg ? PictureCoding::Jpeg : PictureCoding::Imaging;
}
} // namespace

WallpaperPreview::WallpaperPreview(HWND frame, ScreensFn screens, ConverterProgram converter, FolderPlaces& places,
                                   const WallpaperStyle& style, ErrorReporter& errors, MessageLoop& loop)
    : frame_(frame), screens_(std::move(screens)), converter_(errors, loop, std::move(converter)),
      lister_(errors, loop), places_(places), style_(style)
{
}

PreviewFit WallpaperPreview::FitFor(WallpaperStyle style) const
{
    RECT frame = {};
    GetClientRect(frame_, &frame);
    const Screens screens = screens_();
    const RECT& all = screens.all;
    const PreviewLayout layout =
        LayOutPreview(style, {1, 1}, {screens.primary.cx, screens.primary.cy}, {frame.right, frame.bottom}, {});
    const double scale = static_cast<double>(layout.screen.width) / std::max<LONG>(screens.primary.cx, 1);
    if (style == WallpaperStyle::Centre || style == WallpaperStyle::Tile) {
        return {0, 0, static_cast<std::uint32_t>(std::ceil(scale * kPpm))};
    }
    return {static_cast<unsigned>(std::ceil((all.right - all.left) * scale)),
            static_cast<unsigned>(std::ceil((all.bottom - all.top) * scale)), 0};
}

void WallpaperPreview::Show(const std::wstring& entry, WallpaperOrder order)
{
    resting_ = false;
    ++generation_;
    waiting_ = Request{entry, order, !IsFolderEntry(entry)};
    if (!running_) {
        Start();
    }
}

void WallpaperPreview::Clear()
{
    ++generation_;
    waiting_.reset();
    SetPicture({}, {}, {}, L"");
}

void WallpaperPreview::Start()
{
    const Request request = *waiting_;
    waiting_.reset();
    running_ = true;
    runningGeneration_ = generation_;
    if (request.picture) {
        Decode(request.entry);
        return;
    }
    if (!lister_.Start(request.entry, DecodedExtensions(),
                       [this, request](FolderPictures found) { Listed(request, std::move(found)); })) {
        Done();
    }
}

void WallpaperPreview::Listed(const Request& request, FolderPictures found)
{
    if (runningGeneration_ != generation_) {
        Done();
        return;
    }
    const auto next = places_.Next(request.entry, found.pictures, request.order);
    if (!next) {
        SetPicture({}, {}, {}, L"");
        Done();
        return;
    }
    Decode(request.entry + found.pictures[*next]);
}

void WallpaperPreview::Decode(const std::wstring& picture)
{
    const ConversionJob job{picture, CodingOf(picture), L"", false, FitFor(style_)};
    if (!converter_.Start(job, [this, picture](const ConversionResult& result) { Decoded(picture, result); })) {
        Done();
    }
}

void WallpaperPreview::Decoded(const std::wstring& picture, const ConversionResult& result)
{
    if (runningGeneration_ == generation_) {
        if (result.pixels) {
            const FittedPixels& pixels = *result.pixels;
            SetPicture(BitmapOver(pixels),
                       {static_cast<LONG>(pixels.shownWidth), static_cast<LONG>(pixels.shownHeight)},
                       {static_cast<LONG>(pixels.width), static_cast<LONG>(pixels.height)}, picture);
        } else {
            // A file that is no readable picture shows an empty preview.
            SetPicture({}, {}, {}, L"");
        }
    }
    Done();
}

void WallpaperPreview::Done()
{
    running_ = false;
    if (waiting_) {
        Start();
    } else if (resting_) {
        converter_.Close();
    }
}

void WallpaperPreview::Rest()
{
    resting_ = true;
    converter_.Close();
}

void WallpaperPreview::SetPicture(GdiObject picture, SIZE shown, SIZE pixels, const std::wstring& path)
{
    picture_ = std::move(picture);
    shown_ = picture_ ? shown : SIZE{};
    pixels_ = picture_ ? pixels : SIZE{};
    picturePath_ = picture_ ? path : L"";
    drawn_.Reset();
    InvalidateRect(frame_, nullptr, TRUE);
}

void WallpaperPreview::Refit()
{
    InvalidateRect(frame_, nullptr, TRUE);
    if (!picture_ || Pending()) {
        return;
    }
    const PreviewFit fit = FitFor(style_);
    const auto needed =
        FitPicture(shown_.cx, shown_.cy, fit.width, fit.height, fit.leastScalePpm, kPreviewSectionBytes);
    if (needed && (pixels_.cx < needed->width * kCloseEnough || pixels_.cx > needed->width * kFarLarger)) {
        ++generation_;
        waiting_ = Request{picturePath_, WallpaperOrder::Sequential, true};
        Start();
    }
}

std::optional<PreviewLayout> WallpaperPreview::Layout() const
{
    if (!picture_) {
        return std::nullopt;
    }
    // The screen's shape fills the frame at any DPI, and the picture lies on it as the desktop will show it.
    RECT frame = {};
    GetClientRect(frame_, &frame);
    const Screens screens = screens_();
    const RECT& all = screens.all;
    return LayOutPreview(style_, {shown_.cx, shown_.cy}, {screens.primary.cx, screens.primary.cy},
                         {frame.right, frame.bottom}, {all.left, all.top, all.right - all.left, all.bottom - all.top});
}

void WallpaperPreview::Draw(HDC dc, const PreviewLayout& layout) const
{
    const RECT screen = {layout.screen.x, layout.screen.y, layout.screen.x + layout.screen.width,
                         layout.screen.y + layout.screen.height};
    FillRect(dc, &screen, GetSysColorBrush(COLOR_DESKTOP));
    MemoryDC sourceDC(CreateCompatibleDC(dc));
    HDC source = sourceDC.Get();
    // A small tiled picture is drawn as a block of its copies, made once with the picture as a brush; the pieces
    // come from the block as they would from copies of the whole picture.
    GdiObject block;
    const Extent copies = layout.tileBlock;
    SIZE whole = shown_;
    SIZE pixels = pixels_;
    if (copies.width > 1 || copies.height > 1) {
        whole = {copies.width * shown_.cx, copies.height * shown_.cy};
        pixels = {copies.width * pixels_.cx, copies.height * pixels_.cy};
        block.Reset(CreateCompatibleBitmap(dc, pixels.cx, pixels.cy));
        GdiObject brush(CreatePatternBrush(static_cast<HBITMAP>(picture_.Get())));
        SelectInDC blockSelected(source, block.Get());
        const RECT all = {0, 0, pixels.cx, pixels.cy};
        SetBrushOrgEx(source, 0, 0, nullptr);
        FillRect(source, &all, static_cast<HBRUSH>(brush.Get()));
    }
    SelectInDC selected(source, block ? block.Get() : picture_.Get());
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    for (const PreviewPiece& piece : layout.pieces) {
        const PreviewRect from = InPixels(piece.from, whole, pixels);
        StretchBlt(dc, piece.to.x, piece.to.y, piece.to.width, piece.to.height, source, from.x, from.y, from.width,
                   from.height, SRCCOPY);
    }
}

void WallpaperPreview::Paint(const DRAWITEMSTRUCT& item)
{
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    const std::optional<PreviewLayout> layout = Layout();
    if (!layout) {
        return;
    }
    // Scaling a picture down is the costly part of a paint: the preview is drawn once for its picture and layout,
    // and every later paint copies it.
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    MemoryDC memoryDC(CreateCompatibleDC(dc));
    HDC memory = memoryDC.Get();
    if (!drawn_ || drawnLayout_ != *layout || drawnSize_.cx != width || drawnSize_.cy != height) {
        drawn_.Reset(CreateCompatibleBitmap(dc, width, height));
        drawnLayout_ = *layout;
        drawnSize_ = {width, height};
        SelectInDC selected(memory, drawn_.Get());
        const RECT all = {0, 0, width, height};
        FillRect(memory, &all, GetSysColorBrush(COLOR_BTNFACE));
        Draw(memory, *layout);
    }
    SelectInDC selected(memory, drawn_.Get());
    BitBlt(dc, item.rcItem.left, item.rcItem.top, width, height, memory, 0, 0, SRCCOPY);
}

// The reduction of decoded rows to a preview's size: each pixel the average of the block of decoded pixels it
// stands for, rows gathered as they come (top first or bottom first) and written into the section's view.
#include "converter/FittedPixels.h"

#include <optional>
#include <vector>

#include "base/BitmapFile.h"
#include "base/Handles.h"
#include "converter/JpegDecode.h"

namespace {
constexpr unsigned kBgrBytes = 3;

struct ViewTraits {
    using Handle = void*;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { UnmapViewOfFile(h); }
};
using MappedView = UniqueHandle<ViewTraits>;

class FitSink : public JpegRowSink {
public:
    FitSink(HANDLE section, const FitBox& box, DeclaredFn declared)
        : section_(section), box_(box), declared_(std::move(declared))
    {
    }

    // The smallest scale whose picture is not smaller than the fitted one in either direction.
    unsigned ScaleEighths(unsigned shownWidth, unsigned shownHeight) override
    {
        shownWidth_ = shownWidth;
        shownHeight_ = shownHeight;
        if (declared_) {
            declared_(shownWidth, shownHeight);
        }
        fitted_ =
            FitPicture(shownWidth, shownHeight, box_.width, box_.height, box_.leastScalePpm, kPreviewSectionBytes);
        for (unsigned eighths = 1; fitted_ && eighths < kFullScale; ++eighths) {
            if (Scaled(shownWidth, eighths) >= fitted_->width && Scaled(shownHeight, eighths) >= fitted_->height) {
                return eighths;
            }
        }
        return kFullScale;
    }

    bool Begin(unsigned width, unsigned height, JpegRowOrder) override
    {
        if (!fitted_ || width < fitted_->width || height < fitted_->height) {
            return false;
        }
        view_.Reset(
            MapViewOfFile(section_, FILE_MAP_WRITE, 0, 0, static_cast<SIZE_T>(fitted_->stride) * fitted_->height));
        if (!view_) {
            return false;
        }
        width_ = width;
        height_ = height;
        row_.assign(static_cast<std::size_t>(width) * kBgrBytes, 0);
        sums_.assign(static_cast<std::size_t>(fitted_->width) * kBgrBytes, 0);
        // Where each fitted column's block of decoded columns starts; the last entry ends the last block.
        columnStart_.resize(fitted_->width + 1);
        for (unsigned x = 0; x <= fitted_->width; ++x) {
            columnStart_[x] = static_cast<unsigned>(static_cast<std::uint64_t>(x) * width / fitted_->width);
        }
        return true;
    }

    unsigned char* NextRow(unsigned) override { return row_.data(); }

    bool RowDone(unsigned row) override
    {
        // The fitted row whose block of rows, as the columns' blocks are cut, holds this one.
        const auto target =
            static_cast<unsigned>(((static_cast<std::uint64_t>(row) + 1) * fitted_->height - 1) / height_);
        if (rows_ > 0 && target != target_) {
            Flush();
        }
        target_ = target;
        ++rows_;
        for (unsigned x = 0; x < fitted_->width; ++x) {
            std::uint64_t* sum = &sums_[static_cast<std::size_t>(x) * kBgrBytes];
            for (unsigned from = columnStart_[x]; from < columnStart_[x + 1]; ++from) {
                const unsigned char* pixel = &row_[static_cast<std::size_t>(from) * kBgrBytes];
                sum[0] += pixel[0];
                sum[1] += pixel[1];
                sum[2] += pixel[2];
            }
        }
        return true;
    }

    // Every fitted row has had its rows, since the decoded picture is at least as tall.
    void Finish()
    {
        if (rows_ > 0) {
            Flush();
        }
        view_.Reset();
    }

    ConvertOutcome Outcome(ConvertOutcome outcome) const
    {
        outcome.width = shownWidth_;
        outcome.height = shownHeight_;
        if (fitted_) {
            outcome.fittedWidth = fitted_->width;
            outcome.fittedHeight = fitted_->height;
        }
        return outcome;
    }

private:
    static unsigned Scaled(unsigned size, unsigned eighths)
    {
        return static_cast<unsigned>((static_cast<std::uint64_t>(size) * eighths + kFullScale - 1) / kFullScale);
    }

    void Flush()
    {
        auto* out = static_cast<unsigned char*>(view_.Get()) + static_cast<std::size_t>(target_) * fitted_->stride;
        for (unsigned x = 0; x < fitted_->width; ++x) {
            const std::uint64_t count = static_cast<std::uint64_t>(columnStart_[x + 1] - columnStart_[x]) * rows_;
            for (unsigned c = 0; c < kBgrBytes; ++c) {
                std::uint64_t& sum = sums_[static_cast<std::size_t>(x) * kBgrBytes + c];
                out[static_cast<std::size_t>(x) * kBgrBytes + c] =
                    static_cast<unsigned char>((sum + count / 2) / count);
                sum = 0;
            }
        }
        rows_ = 0;
    }

    HANDLE section_;
    FitBox box_;
    DeclaredFn declared_;
    unsigned shownWidth_ = 0;
    unsigned shownHeight_ = 0;
    std::optional<FittedSize> fitted_;
    MappedView view_;
    unsigned width_ = 0;
    unsigned height_ = 0;
    std::vector<unsigned char> row_;
    std::vector<std::uint64_t> sums_;
    std::vector<unsigned> columnStart_;
    unsigned target_ = 0;
    unsigned rows_ = 0;
};
} // namespace

ConvertOutcome ConvertJpegToFit(HANDLE picture, HANDLE section, const FitBox& box, const DeclaredFn& declared)
{
    FitSink sink(section, box, declared);
    const ConvertOutcome outcome = DecodeJpegFile(picture, sink);
    sink.Finish();
    return sink.Outcome(outcome);
}

ConvertOutcome WriteFittedRows(HANDLE section, const FitBox& box, unsigned width, unsigned height,
                               const BitmapRowFiller& fillRow)
{
    FitSink sink(section, box, nullptr);
    sink.ScaleEighths(width, height);
    const ConvertStatus status = FeedRows(sink, width, height, fillRow);
    sink.Finish();
    return sink.Outcome({status});
}

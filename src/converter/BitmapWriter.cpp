// The bitmap writer: decoded rows gathered in a block of at most half a mebibyte, each block written at its place
// in the bottom-up file.
#include "converter/BitmapWriter.h"

#include <algorithm>
#include <vector>

#include "base/BitmapFile.h"
#include "converter/JpegDecode.h"

namespace {
constexpr std::size_t kBlockBytes = 512 * 1024;

class FileSource : public JpegByteSource {
public:
    explicit FileSource(HANDLE file) : file_(file) {}
    std::size_t Read(unsigned char* buffer, std::size_t size) override
    {
        DWORD got = 0;
        return ReadFile(file_, buffer, static_cast<DWORD>(size), &got, nullptr) ? got : 0;
    }

private:
    HANDLE file_;
};

// Rows that come top first land in the block from its end backwards, rows that come bottom first from its start
// on, so a full block is one contiguous run of the bottom-up file either way.
class BitmapSink : public JpegRowSink {
public:
    BitmapSink(HANDLE file, std::uint32_t tag, DeclaredFn declared)
        : file_(file), tag_(tag), declared_(std::move(declared))
    {
    }

    bool Begin(unsigned width, unsigned height, JpegRowOrder order) override
    {
        width_ = width;
        height_ = height;
        if (declared_) {
            declared_(width, height);
        }
        auto layout = LayoutFor(width, height);
        if (!layout) {
            tooLarge_ = true;
            return false;
        }
        bottomFirst_ = order == JpegRowOrder::BottomFirst;
        layout_ = *layout;
        rowsPerBlock_ = std::max<std::size_t>(1, kBlockBytes / layout_.stride);
        block_.assign(rowsPerBlock_ * layout_.stride, 0);
        unsigned char headers[kBitmapHeaderSize];
        WriteBitmapHeaders(headers, width, height, tag_);
        return WriteAt(0, headers, kBitmapHeaderSize);
    }

    unsigned char* NextRow(unsigned row) override
    {
        std::size_t inBlock = Arrival(row) % rowsPerBlock_;
        std::size_t slot = bottomFirst_ ? inBlock : rowsPerBlock_ - 1 - inBlock;
        return block_.data() + slot * layout_.stride;
    }

    bool RowDone(unsigned row) override
    {
        std::size_t inBlock = Arrival(row) % rowsPerBlock_ + 1;
        if (inBlock != rowsPerBlock_ && Arrival(row) + 1 != height_) {
            return true;
        }
        // The block's first inBlock slots (bottom first) or last ones (top first) hold a run of file rows that
        // ends (bottom first) or starts (top first) at this row's.
        std::uint64_t fileRow = static_cast<std::uint64_t>(height_) - 1 - row;
        std::size_t firstSlot = bottomFirst_ ? 0 : rowsPerBlock_ - inBlock;
        std::uint64_t firstFileRow = bottomFirst_ ? fileRow + 1 - inBlock : fileRow;
        return WriteAt(kBitmapHeaderSize + firstFileRow * layout_.stride, block_.data() + firstSlot * layout_.stride,
                       inBlock * layout_.stride);
    }

    // Nothing past the bitmap: the file may have held more before.
    bool Finish()
    {
        return SetFilePointerEx(file_, Position(layout_.fileSize), nullptr, FILE_BEGIN) && SetEndOfFile(file_);
    }

    bool TooLarge() const { return tooLarge_; }
    unsigned Width() const { return width_; }
    unsigned Height() const { return height_; }

private:
    static LARGE_INTEGER Position(std::uint64_t offset)
    {
        LARGE_INTEGER position = {};
        position.QuadPart = static_cast<LONGLONG>(offset);
        return position;
    }

    // How many rows came before this one.
    unsigned Arrival(unsigned row) const { return bottomFirst_ ? height_ - 1 - row : row; }

    bool WriteAt(std::uint64_t offset, const unsigned char* data, std::size_t size)
    {
        DWORD written = 0;
        return SetFilePointerEx(file_, Position(offset), nullptr, FILE_BEGIN) &&
               WriteFile(file_, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
    }

    HANDLE file_;
    std::uint32_t tag_;
    DeclaredFn declared_;
    unsigned width_ = 0;
    unsigned height_ = 0;
    bool tooLarge_ = false;
    bool bottomFirst_ = false;
    BitmapLayout layout_ = {};
    std::size_t rowsPerBlock_ = 1;
    std::vector<unsigned char> block_;
};
} // namespace

ConvertOutcome DecodeJpegFile(HANDLE picture, JpegRowSink& sink)
{
    FileSource source(picture);
    const JpegResult decoded = DecodeJpeg(source, sink);
    switch (decoded.status) {
    case JpegStatus::DecodeError:
        return {ConvertStatus::Unreadable, decoded.messageCode};
    case JpegStatus::TooLarge:
        return {ConvertStatus::TooLarge};
    case JpegStatus::SinkError:
        return {ConvertStatus::CannotWrite};
    default:
        return {ConvertStatus::Converted};
    }
}

ConvertOutcome ConvertJpeg(HANDLE picture, HANDLE bitmap, std::uint32_t tag, const DeclaredFn& declared)
{
    BitmapSink sink(bitmap, tag, declared);
    ConvertOutcome outcome = DecodeJpegFile(picture, sink);
    outcome.width = sink.Width();
    outcome.height = sink.Height();
    if (outcome.status == ConvertStatus::CannotWrite && sink.TooLarge()) {
        outcome.status = ConvertStatus::TooLarge;
    } else if (outcome.status == ConvertStatus::Converted && !sink.Finish()) {
        outcome.status = ConvertStatus::CannotWrite;
    }
    return outcome;
}

ConvertStatus FeedRows(JpegRowSink& sink, unsigned width, unsigned height, const BitmapRowFiller& fillRow)
{
    if (!sink.Begin(width, height, JpegRowOrder::TopFirst)) {
        return ConvertStatus::CannotWrite;
    }
    for (unsigned row = 0; row < height; ++row) {
        if (!fillRow(row, sink.NextRow(row))) {
            return ConvertStatus::Unreadable;
        }
        if (!sink.RowDone(row)) {
            return ConvertStatus::CannotWrite;
        }
    }
    return ConvertStatus::Converted;
}

ConvertStatus WriteBitmapRows(HANDLE bitmap, unsigned width, unsigned height, std::uint32_t tag,
                              const BitmapRowFiller& fillRow)
{
    BitmapSink sink(bitmap, tag, nullptr);
    const ConvertStatus status = FeedRows(sink, width, height, fillRow);
    if (status == ConvertStatus::CannotWrite && sink.TooLarge()) {
        return ConvertStatus::TooLarge;
    }
    return status == ConvertStatus::Converted && !sink.Finish() ? ConvertStatus::CannotWrite : status;
}

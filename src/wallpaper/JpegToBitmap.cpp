// The JPEG to bitmap conversion: reads the JPEG through a file handle, gathers decoded rows in a block of at
// most half a mebibyte and writes each block at its place in a temporary file, then renames it.
#include "wallpaper/JpegToBitmap.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/FileSystem.h"
#include "base/Handles.h"
#include "wallpaper/JpegDecode.h"

namespace {
constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint64_t kRowAlignment = 4;
constexpr std::uint32_t kBytesPerPixel = 3;
constexpr std::uint16_t kBitsPerPixel = 24;
constexpr std::size_t kBlockBytes = 512 * 1024;
constexpr int kTemporaryNameAttempts = 100;
constexpr unsigned kTemporaryNames = 0x1000;

void Put16(unsigned char* at, std::uint32_t value)
{
    at[0] = static_cast<unsigned char>(value);
    at[1] = static_cast<unsigned char>(value >> 8);
}

void Put32(unsigned char* at, std::uint32_t value)
{
    Put16(at, value);
    Put16(at + 2, value >> 16);
}

class FileSource : public JpegByteSource {
public:
    explicit FileSource(HANDLE file) : file_(file) {}
    std::size_t Read(unsigned char* buffer, std::size_t size) override
    {
        DWORD got = 0;
        if (!ReadFile(file_, buffer, static_cast<DWORD>(size), &got, nullptr)) {
            return 0;
        }
        return got;
    }

private:
    HANDLE file_;
};

// Rows that come top first land in the block from its end backwards, rows that come bottom first from its start
// on, so a full block is one contiguous run of the bottom-up file either way.
class BitmapSink : public JpegRowSink {
public:
    explicit BitmapSink(std::wstring target) : target_(std::move(target)) {}
    ~BitmapSink() override { Discard(); }

    bool Begin(unsigned width, unsigned height, JpegRowOrder order) override
    {
        auto layout = LayoutFor(width, height);
        if (!layout || !CreateTemporary()) {
            return false;
        }
        height_ = height;
        bottomFirst_ = order == JpegRowOrder::BottomFirst;
        layout_ = *layout;
        rowsPerBlock_ = std::max<std::size_t>(1, kBlockBytes / layout_.stride);
        block_.assign(rowsPerBlock_ * layout_.stride, 0);
        unsigned char headers[kBitmapHeaderSize];
        WriteBitmapHeaders(headers, width, height);
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

    // Closes the finished temporary file and puts it in the target's place.
    bool Commit()
    {
        file_.Reset();
        if (!MoveFileExW(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            return false;
        }
        temporary_.clear();
        return true;
    }

private:
    // How many rows came before this one.
    unsigned Arrival(unsigned row) const { return bottomFirst_ ? height_ - 1 - row : row; }

    bool CreateTemporary()
    {
        // Where the names start differs between moments and processes, so that one seldom meets another's file.
        const unsigned first = GetCurrentProcessId() + GetTickCount();
        for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
            std::wstring name = TemporaryPathFor(target_, first + attempt);
            file_.Reset(
                CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file_) {
                temporary_ = name;
                return true;
            }
            if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
                return false;
            }
        }
        return false;
    }

    bool WriteAt(std::uint64_t offset, const unsigned char* data, std::size_t size)
    {
        LARGE_INTEGER position = {};
        position.QuadPart = static_cast<LONGLONG>(offset);
        DWORD written = 0;
        return SetFilePointerEx(file_.Get(), position, nullptr, FILE_BEGIN) &&
               WriteFile(file_.Get(), data, static_cast<DWORD>(size), &written, nullptr) && written == size;
    }

    void Discard()
    {
        file_.Reset();
        if (!temporary_.empty()) {
            DeleteFileW(temporary_.c_str());
            temporary_.clear();
        }
    }

    std::wstring target_;
    std::wstring temporary_;
    FileHandle file_;
    unsigned height_ = 0;
    bool bottomFirst_ = false;
    BitmapLayout layout_ = {};
    std::size_t rowsPerBlock_ = 1;
    std::vector<unsigned char> block_;
};
} // namespace

std::optional<BitmapLayout> LayoutFor(unsigned width, unsigned height)
{
    std::uint64_t stride =
        (static_cast<std::uint64_t>(width) * kBytesPerPixel + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
    std::uint64_t image = stride * height;
    std::uint64_t file = image + kBitmapHeaderSize;
    if (width == 0 || height == 0 || file > UINT32_MAX || height > static_cast<std::uint64_t>(INT32_MAX)) {
        return std::nullopt;
    }
    return BitmapLayout{static_cast<std::uint32_t>(stride), static_cast<std::uint32_t>(image),
                        static_cast<std::uint32_t>(file)};
}

void WriteBitmapHeaders(unsigned char (&headers)[kBitmapHeaderSize], unsigned width, unsigned height)
{
    std::memset(headers, 0, sizeof(headers));
    BitmapLayout layout = LayoutFor(width, height).value_or(BitmapLayout{});
    headers[0] = 'B';
    headers[1] = 'M';
    Put32(headers + 2, layout.fileSize);
    Put32(headers + 10, kBitmapHeaderSize);
    unsigned char* info = headers + kFileHeaderSize;
    Put32(info, kInfoHeaderSize);
    Put32(info + 4, width);
    Put32(info + 8, height); // positive: bottom-up rows
    Put16(info + 12, 1);     // planes
    Put16(info + 14, kBitsPerPixel);
    Put32(info + 16, BI_RGB);
    Put32(info + 20, layout.imageSize);
}

std::wstring TemporaryPathFor(const std::wstring& bmpPath, unsigned number)
{
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring path = FolderOf(bmpPath);
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') {
        path += L'\\';
    }
    number %= kTemporaryNames;
    path += {L'~', kHex[number >> 8], kHex[(number >> 4) & 0xF], kHex[number & 0xF]};
    return path;
}

ConvertResult ConvertJpegToBmp(const std::wstring& jpegPath, const std::wstring& bmpPath)
{
    FileHandle jpeg(CreateFileW(jpegPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!jpeg) {
        return {ConvertError::CannotOpen, 0};
    }
    FileSource source(jpeg.Get());
    BitmapSink sink(bmpPath);
    JpegResult decoded = DecodeJpeg(source, sink);
    switch (decoded.status) {
    case JpegStatus::DecodeError:
        return {ConvertError::Decode, decoded.messageCode};
    case JpegStatus::SinkError:
        return {ConvertError::CannotCreate, 0};
    default:
        break;
    }
    return sink.Commit() ? ConvertResult{ConvertError::None, 0} : ConvertResult{ConvertError::CannotCreate, 0};
}

ConvertError WriteBitmapRows(const std::wstring& bmpPath, unsigned width, unsigned height,
                             const BitmapRowFiller& fillRow)
{
    BitmapSink sink(bmpPath);
    if (!sink.Begin(width, height, JpegRowOrder::TopFirst)) {
        return ConvertError::CannotCreate;
    }
    for (unsigned row = 0; row < height; ++row) {
        if (!fillRow(row, sink.NextRow(row))) {
            return ConvertError::Decode;
        }
        if (!sink.RowDone(row)) {
            return ConvertError::CannotCreate;
        }
    }
    return sink.Commit() ? ConvertError::None : ConvertError::CannotCreate;
}

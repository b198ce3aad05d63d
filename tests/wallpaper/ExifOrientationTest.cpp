// The Exif orientation tag read from hostile segments: anything malformed counts as no tag, and no read goes
// past the segment, which ends right before an inaccessible page.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "wallpaper/CraftedJpeg.h"
#include "wallpaper/ExifOrientation.h"

namespace {
class GuardedBytes {
public:
    explicit GuardedBytes(const std::vector<unsigned char>& bytes)
    {
        SYSTEM_INFO info = {};
        GetSystemInfo(&info);
        page_ = info.dwPageSize;
        base_ = static_cast<unsigned char*>(VirtualAlloc(nullptr, 2 * page_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(base_ + page_, page_, PAGE_NOACCESS, &old);
        data_ = base_ + page_ - bytes.size();
        std::memcpy(data_, bytes.data(), bytes.size());
    }
    ~GuardedBytes() { VirtualFree(base_, 0, MEM_RELEASE); }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;
    const unsigned char* Data() const { return data_; }

private:
    std::size_t page_ = 0;
    unsigned char* base_ = nullptr;
    unsigned char* data_ = nullptr;
};

std::vector<unsigned char> With(std::vector<unsigned char> bytes, std::size_t at,
                                std::initializer_list<unsigned char> values)
{
    std::copy(values.begin(), values.end(), bytes.begin() + at);
    return bytes;
}

std::vector<unsigned char> Cut(std::vector<unsigned char> bytes, std::size_t size)
{
    bytes.resize(size);
    return bytes;
}

// The orientation moved from the first directory into a second one (a thumbnail's), whose link leads back.
std::vector<unsigned char> OnlyInALoopedSecondDirectory()
{
    std::vector<unsigned char> bytes = With(ExifSegment(6), 28, {0x31, 0x01}); // the entry becomes Software
    bytes = With(bytes, 40, {38, 0, 0, 0});
    const std::vector<unsigned char> second = {1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 8, 0, 0, 0};
    bytes.insert(bytes.end(), second.begin(), second.end());
    return bytes;
}
} // namespace

TEST(ExifOrientationTest, MalformedTagsCountAsNoneAndNothingPastTheSegmentIsRead)
{
    const std::vector<unsigned char> little = ExifSegment(6);
    const struct {
        const char* what;
        std::vector<unsigned char> bytes;
        int orientation;
    } cases[] = {
        {"little-endian", little, 6},
        {"big-endian", ExifSegment(8, true), 8},
        {"not Exif", With(little, 4, {'X'}), kUpright},
        {"unknown byte order", With(little, 6, {'I', 'M'}), kUpright},
        {"not 42", With(little, 8, {43}), kUpright},
        {"cut inside the TIFF header", Cut(little, 12), kUpright},
        {"directory beyond the segment, its end past 4 GiB", With(little, 10, {0xFF, 0xFF, 0xFF, 0xFF}), kUpright},
        {"directory at the segment's last byte", With(little, 10, {37, 0, 0, 0}), kUpright},
        {"more entries than the segment holds", With(little, 14, {3, 0}), kUpright},
        {"LONG instead of SHORT", With(little, 30, {4}), kUpright},
        {"two values", With(little, 32, {2}), kUpright},
        {"value 0", With(little, 36, {0}), kUpright},
        {"value 9", With(little, 36, {9}), kUpright},
        {"only in a looped second directory", OnlyInALoopedSecondDirectory(), kUpright},
    };
    for (const auto& c : cases) {
        GuardedBytes guarded(c.bytes);
        EXPECT_EQ(ExifOrientation(guarded.Data(), c.bytes.size()), c.orientation) << c.what;
    }
}

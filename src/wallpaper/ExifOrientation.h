// The orientation tag of a JPEG file's Exif segment: how a viewer turns or mirrors the stored picture before
// showing it. Reads untrusted bytes and never past them.
#pragma once

#include <cstddef>

inline constexpr int kUpright = 1;

// The "Orientation" value (1 to 8) in the data of an APP1 segment (from its "Exif\0\0" on). kUpright, the
// meaning of a missing tag, when the segment is no Exif segment or the tag is malformed or out of range.
int ExifOrientation(const unsigned char* data, std::size_t size);

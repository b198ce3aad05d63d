// The orientation tag of a JPEG file's Exif segment: how a viewer turns or mirrors the stored picture before
// showing it, and what each value means. Reads untrusted bytes and never past them.
#pragma once

#include <cstddef>

inline constexpr int kUpright = 1;

// The "Orientation" value (1 to 8) in the data of an APP1 segment (from its "Exif\0\0" on). kUpright, the
// meaning of a missing tag, when the segment is no Exif segment or the tag is malformed or out of range.
int ExifOrientation(const unsigned char* data, std::size_t size);

// How the stored picture becomes the one shown. Transposed pictures (a quarter turn) show the stored columns
// as rows; then mirror reads each shown row from the stored picture's bottom and flip takes the stored columns
// from the right. Otherwise mirror reverses each row and flip the order of the rows.
struct Turn {
    bool transpose;
    bool mirror;
    bool flip;
};
inline constexpr Turn kTurns[] = {
    {},
    {false, false, false}, // 1: as stored
    {false, true, false},  // 2: mirrored left to right
    {false, true, true},   // 3: half a turn
    {false, false, true},  // 4: mirrored top to bottom
    {true, false, false},  // 5: mirrored along the diagonal from the top left
    {true, true, false},   // 6: a quarter turn clockwise
    {true, true, true},    // 7: mirrored along the diagonal from the top right
    {true, false, true},   // 8: a quarter turn counter-clockwise
};

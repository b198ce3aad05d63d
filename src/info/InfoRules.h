// The texts of the information page from given figures: the drives, screen and names blocks and the three
// memory labels. The page gathers the figures from the platform; the queries come in as parameters.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// What the drives block asks of the file system for a root path such as "C:\".
struct DriveQueries {
    // The drive type (DRIVE_FIXED and so on) of a root path.
    std::function<unsigned(const std::wstring& root)> driveType;
    // Free bytes available to the caller and total bytes; false when the query failed.
    std::function<bool(const std::wstring& root, std::uint64_t* freeToCaller, std::uint64_t* total)> diskSpace;
};

// Fixed drives A to Z, four lines each: heading, total, free, an empty line. A drive whose space query fails
// shows zeros.
std::wstring DrivesBlockText(const DriveQueries& queries);
// One fixed drive's four lines.
std::wstring DriveLines(const std::wstring& root, std::uint64_t total, std::uint64_t freeToCaller);
// Bytes as whole megabytes, rounded down.
std::uint64_t WholeMegabytes(std::uint64_t bytes);

std::wstring ScreenBlockText(int width, int height, int dpi);
std::wstring NamesBlockText(const std::wstring& computerName, const std::wstring& userName);

struct MemoryTexts {
    std::wstring total; // installed physical memory in KB
    std::wstring free;  // free physical memory in KB
    std::wstring load;  // memory load in percent
};
MemoryTexts MemoryLabelTexts(std::uint64_t totalPhysBytes, std::uint64_t availPhysBytes, unsigned memoryLoad);

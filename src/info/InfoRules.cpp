// The information page's texts: plain decimal numbers, CR LF line breaks, the page's fixed wording.
#include "info/InfoRules.h"

#include <windows.h>

namespace {
constexpr std::uint64_t kBytesPerMegabyte = 1048576;
constexpr std::uint64_t kBytesPerKilobyte = 1024;
constexpr wchar_t kFirstDrive = L'A';
constexpr wchar_t kLastDrive = L'Z';

std::wstring Decimal(std::uint64_t value)
{
    return std::to_wstring(value);
}
} // namespace

std::uint64_t WholeMegabytes(std::uint64_t bytes)
{
    return bytes / kBytesPerMegabyte;
}

std::wstring DriveLines(const std::wstring& root, std::uint64_t total, std::uint64_t freeToCaller)
{
    std::wstring text = root + L" ドライブの\r\n";
    text += L"全容量  " + Decimal(total) + L"バイト  約 " + Decimal(WholeMegabytes(total)) + L"MB\r\n";
    text +=
        L"空容量  " + Decimal(freeToCaller) + L"バイト  約 " + Decimal(WholeMegabytes(freeToCaller)) + L"MB\r\n\r\n";
    return text;
}

std::wstring DrivesBlockText(const DriveQueries& queries)
{
    std::wstring text;
    for (wchar_t letter = kFirstDrive; letter <= kLastDrive; ++letter) {
        const std::wstring root = std::wstring(1, letter) + L":\\";
        if (queries.driveType(root) != DRIVE_FIXED) {
            continue;
        }
        // Each drive starts from zero, so a failed query never shows another drive's figures.
        std::uint64_t freeToCaller = 0;
        std::uint64_t total = 0;
        if (!queries.diskSpace(root, &freeToCaller, &total)) {
            freeToCaller = 0;
            total = 0;
        }
        text += DriveLines(root, total, freeToCaller);
    }
    return text;
}

std::wstring ScreenBlockText(int width, int height, int dpi)
{
    return L"現在のモニタの\r\n  サイズ  " + std::to_wstring(width) + L" X " + std::to_wstring(height) +
           L"\r\n  解像度  " + std::to_wstring(dpi) + L" dpi";
}

std::wstring NamesBlockText(const std::wstring& computerName, const std::wstring& userName)
{
    return L"コンピュータ名  " + computerName + L"\r\nログイン名  " + userName;
}

MemoryTexts MemoryLabelTexts(std::uint64_t totalPhysBytes, std::uint64_t availPhysBytes, unsigned memoryLoad)
{
    // A 32-bit process under Wine on a machine with more than 4 GB is told a capped total beside the true free
    // memory, and a load worked out from the two that wrapped below zero. Free memory never exceeds the
    // installed, and an impossible load gives way to the one the figures shown imply.
    if (availPhysBytes > totalPhysBytes) {
        availPhysBytes = totalPhysBytes;
    }
    if (memoryLoad > 100) {
        memoryLoad = totalPhysBytes ? static_cast<unsigned>(static_cast<double>(totalPhysBytes - availPhysBytes) *
                                                            100.0 / static_cast<double>(totalPhysBytes))
                                    : 0;
    }
    return {Decimal(totalPhysBytes / kBytesPerKilobyte), Decimal(availPhysBytes / kBytesPerKilobyte),
            std::to_wstring(memoryLoad)};
}

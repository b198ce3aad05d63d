// Start checks, fade steps and tray click decisions.
#include "app/AppRules.h"

#include <cwchar>

namespace {
constexpr unsigned kPlatformNt = 2;
constexpr int kMinColourDepth = 24;
constexpr unsigned kLeftButtonDown = 0x0201;
constexpr unsigned kRightButtonDown = 0x0204;
} // namespace

bool HasStartToken(int argc, const wchar_t* const* argv)
{
    const wchar_t* first = (argc > 1 && argv && argv[1]) ? argv[1] : L"";
    return std::wcscmp(first, kStartToken) == 0;
}

bool IsSuitablePlatform(unsigned long platformId, int planes, int bitsPerPixel)
{
    return platformId == kPlatformNt && planes * bitsPerPixel >= kMinColourDepth;
}

std::vector<std::uint8_t> FadeInSteps(std::uint8_t start)
{
    std::vector<std::uint8_t> steps;
    std::uint8_t alpha = start;
    while (alpha < 225) {
        alpha = static_cast<std::uint8_t>(alpha + 30);
        steps.push_back(alpha);
    }
    steps.push_back(255);
    return steps;
}

std::vector<std::uint8_t> FadeOutSteps(std::uint8_t start)
{
    std::vector<std::uint8_t> steps;
    std::uint8_t alpha = start;
    while (alpha > 15) {
        alpha = static_cast<std::uint8_t>(alpha - 10);
        steps.push_back(alpha);
    }
    return steps;
}

TrayAction DecideTrayAction(unsigned mouseMessage, bool exitDialogVisible, bool settingsDialogVisible)
{
    if (mouseMessage != kLeftButtonDown && mouseMessage != kRightButtonDown) {
        return TrayAction::None;
    }
    if (exitDialogVisible || settingsDialogVisible) {
        return TrayAction::BringDialogsToFront;
    }
    return mouseMessage == kLeftButtonDown ? TrayAction::ShowExitDialog : TrayAction::ShowSettingsDialog;
}

// The desktop side of the wallpaper changer: SetWallpaper and ChangeWallpaper.
#include "wallpaper/Wallpaper.h"

#include <ctime>
#include <optional>

#include "wallpaper/WallpaperIds.h"
#include "settings/IniStore.h"
#include "settings/SettingsDialog.h"
#include "base/AppError.h"
#include "base/FileSystem.h"
#include "base/FileExistence.h"
#include "base/ShellPlaces.h"

#include <shlobj.h>
#include "wallpaper/WallpaperPage.h"
#include "wallpaper/WallpaperRules.h"

namespace {
constexpr wchar_t kDesktopSection[] = L"Control Panel\\Desktop";
constexpr wchar_t kWallpaperBitmapPlace[] = L"\\Sorabune\\Wallpaper.bmp";
} // namespace

// Entries on an absent drive or share stay: a stick not plugged in or a share not yet connected must not cost the
// user the list.
std::vector<bool> PurgeList(HWND list, std::vector<std::wstring>& items, FileExistence& existence)
{
    std::vector<FileState> states = existence.Check(items);
    std::vector<bool> kept(states.size());
    for (std::size_t i = 0; i < states.size(); ++i) {
        kept[i] = states[i] != FileState::Missing;
    }
    std::vector<std::size_t> missing = MissingPositions(kept);
    if (!missing.empty()) {
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
            SendMessageW(list, LB_DELETESTRING, *it, 0);
        }
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
    std::vector<std::wstring> keptItems;
    std::vector<bool> usable;
    keptItems.reserve(items.size() - missing.size());
    usable.reserve(items.size() - missing.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (kept[i]) {
            keptItems.push_back(std::move(items[i]));
            usable.push_back(states[i] == FileState::Present);
        }
    }
    items = std::move(keptItems);
    return usable;
}

std::wstring ProgramWallpaperBitmap()
{
    const std::wstring local = ShellFolder(CSIDL_LOCAL_APPDATA);
    return local.empty() ? std::wstring() : WithoutTrailingBackslash(local) + kWallpaperBitmapPlace;
}

unsigned FreshRandomSeed()
{
    return static_cast<unsigned>(std::time(nullptr)) ^ GetTickCount();
}

void SetWallpaper(const std::wstring& path, WallpaperStyle style, const SystemParametersInfoFn& tellSystem)
{
    const WallpaperStyleValues values = DesktopValuesOf(style);
    {
        IniStore desktop(HKEY_CURRENT_USER, L"");
        desktop.WriteString(kDesktopSection, L"Wallpaper", path);
        desktop.WriteString(kDesktopSection, L"TileWallpaper", values.tile);
        desktop.WriteString(kDesktopSection, L"WallpaperStyle", values.style);
        desktop.WriteString(kDesktopSection, L"WallpaperOriginX", L"0");
        desktop.WriteString(kDesktopSection, L"WallpaperOriginY", L"0");
    }
    // The path itself, not null: newer systems take null as "back to the default wallpaper". Tiling and
    // style still come from the values just written. Not stored in the user profile a second time.
    tellSystem(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(path.c_str()), SPIF_SENDWININICHANGE);
}

bool SystemHasSpan()
{
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
#ifdef _MSC_VER
#pragma warning(suppress : 4996)
#endif
    // Without a manifest entry for later versions the answer stops at 6.2, which is still Windows 8 or later.
    if (!GetVersionExW(&version)) {
        return false;
    }
    return WindowsHasSpan(version.dwMajorVersion, version.dwMinorVersion);
}

Screens SystemScreens()
{
    Screens screens = {};
    screens.primary = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    screens.all.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    screens.all.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    screens.all.right = screens.all.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screens.all.bottom = screens.all.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    return screens;
}

std::wstring CurrentDesktopWallpaper()
{
    return IniStore(HKEY_CURRENT_USER, L"").ReadString(kDesktopSection, L"Wallpaper", L"");
}

std::vector<std::wstring> ListItems(HWND list)
{
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    std::vector<std::wstring> items;
    items.reserve(count > 0 ? count : 0);
    std::wstring text;
    for (int i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        text.assign(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
        if (length > 0) {
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        }
        text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
        items.push_back(text);
    }
    return items;
}

void ChangeWallpaper(SettingsDialog& dialog, const SystemParametersInfoFn& tellSystem)
{
    static_cast<WallpaperPage&>(dialog.Page(kWallpaperPageIndex)).Changer().ChangeNext(tellSystem);
}

// The desktop's wallpaper values as the wallpaper tests read, set, save and restore them.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>

#include "support/Registry.h"

inline constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
inline constexpr const wchar_t* kDesktopValues[] = {L"Wallpaper", L"TileWallpaper", L"WallpaperStyle",
                                                    L"WallpaperOriginX", L"WallpaperOriginY"};

inline std::optional<std::wstring> DesktopValue(const wchar_t* name)
{
    return RegistryText(HKEY_CURRENT_USER, kDesktopKey, name);
}

inline void SetDesktopValue(const wchar_t* name, const std::optional<std::wstring>& value)
{
    if (value) {
        SetRegistryText(HKEY_CURRENT_USER, kDesktopKey, name, *value);
    } else {
        DeleteRegistryValue(HKEY_CURRENT_USER, kDesktopKey, name);
    }
}

// The desktop's wallpaper values, saved for a test and put back at its end.
class DesktopValuesAside {
public:
    DesktopValuesAside()
    {
        for (const wchar_t* name : kDesktopValues) {
            saved_[name] = DesktopValue(name);
        }
    }
    ~DesktopValuesAside()
    {
        for (const auto& [name, value] : saved_) {
            SetDesktopValue(name.c_str(), value);
        }
    }
    DesktopValuesAside(const DesktopValuesAside&) = delete;
    DesktopValuesAside& operator=(const DesktopValuesAside&) = delete;

private:
    std::map<std::wstring, std::optional<std::wstring>> saved_;
};

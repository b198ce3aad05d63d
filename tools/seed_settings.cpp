// Development helper for scripts/run: gives a Wine prefix in which Sorabune was never installed the
// installer's default settings, so that a first run starts from a valid stored state. A prefix that already
// has settings is left alone.
#include <windows.h>

#include <string>

#include "settings/IniStore.h"
#include "settings/SettingsLayout.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    RegKey existing;
    std::wstring key = std::wstring(kSettingsStartPath) + L"\\" + kMainSection;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, existing.Put()) == ERROR_SUCCESS) {
        return 0;
    }
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    folder.erase(folder.find_last_of(L'\\'));
    IniStore store(HKEY_CURRENT_USER, kSettingsStartPath);
    WriteInstallerDefaults(store, folder);
    return 0;
}

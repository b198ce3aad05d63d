// Where the shell keeps the desktop and the Programs folder, the Windows folder and the program's own file,
// for the installer and the uninstaller.
#include "base/ShellPlaces.h"

#include <shlobj.h>

#include "base/FileSystem.h"

std::wstring ReadRegistryString(HKEY root, const wchar_t* path, const wchar_t* name)
{
    DWORD bytes = 0;
    const DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    if (RegGetValueW(root, path, name, flags, nullptr, nullptr, &bytes) != ERROR_SUCCESS) {
        return {};
    }
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegGetValueW(root, path, name, flags, nullptr, text.data(), &bytes) != ERROR_SUCCESS) {
        return {};
    }
    text.resize(text.find(L'\0'));
    return text;
}

std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return {};
    }
    return path;
}

std::wstring WindowsFolder()
{
    UINT size = GetWindowsDirectoryW(nullptr, 0);
    std::wstring folder(size, L'\0');
    UINT length = GetWindowsDirectoryW(folder.data(), size);
    folder.resize(length < size ? length : 0);
    return WithoutTrailingBackslash(folder);
}

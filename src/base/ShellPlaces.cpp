// Where the shell keeps the desktop and the Programs folder, the Windows folder and the program's own file,
// for the installer and the uninstaller.
#include "base/ShellPlaces.h"

#include <shlobj.h>

#include "base/FileSystem.h"

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

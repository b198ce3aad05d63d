// Small questions to the file system that several parts of the program ask.
#include "base/FileSystem.h"

#include <windows.h>

#include "base/ProductFiles.h"

bool FileExists(const std::wstring& path)
{
    if (path.empty()) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring OwnFilePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

namespace {
bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// Length of a full path's root with its closing separator (D:\ or \\server\share\); 0 when it has none.
std::size_t RootLength(std::wstring_view path)
{
    if (path.size() >= 3 && path[1] == L':' && IsSeparator(path[2])) {
        return 3;
    }
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        std::size_t server = path.find_first_of(L"\\/", 2);
        if (server == std::wstring_view::npos || server == 2) {
            return 0;
        }
        std::size_t share = path.find_first_of(L"\\/", server + 1);
        if (share == server + 1) {
            return 0;
        }
        return share == std::wstring_view::npos ? path.size() : share + 1;
    }
    return 0;
}
} // namespace

std::wstring FolderOf(std::wstring_view path)
{
    const std::size_t root = RootLength(path);
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos || slash + 1 <= root) {
        return std::wstring(path.substr(0, root));
    }
    return std::wstring(path.substr(0, slash));
}

std::wstring VolumeOf(std::wstring_view path)
{
    std::wstring volume(path.substr(0, RootLength(path)));
    for (wchar_t& c : volume) {
        c = IsSeparator(c) ? L'\\' : c;
    }
    if (!volume.empty() && volume.back() != L'\\') {
        volume += L'\\';
    }
    return volume;
}

std::wstring WithoutTrailingBackslash(std::wstring folder)
{
    while (!folder.empty() && IsSeparator(folder.back())) {
        folder.pop_back();
    }
    return folder;
}

std::wstring ShortcutIn(const std::wstring& folder)
{
    std::wstring base = WithoutTrailingBackslash(folder);
    return base.empty() ? std::wstring() : base + L"\\" + kShortcutFileName;
}

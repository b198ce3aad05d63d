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

bool NamesFolder(std::wstring_view path)
{
    return !path.empty() && (path.back() == L'\\' || path.back() == L'/');
}

bool EntryExists(const std::wstring& path)
{
    if (!NamesFolder(path)) {
        return FileExists(path);
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
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

// Length of the long-path prefix: 4 for \\?\C:\..., 8 for \\?\UNC\server\share\..., else 0. With it a path
// names the same file as without, so its volume and its folder are those of the plain form.
std::size_t LongPrefixLength(std::wstring_view path)
{
    if (path.size() < 4 || path[0] != L'\\' || path[1] != L'\\' || path[2] != L'?' || path[3] != L'\\') {
        return 0;
    }
    if (path.size() >= 8 && CompareStringOrdinal(path.data() + 4, 4, L"UNC\\", 4, TRUE) == CSTR_EQUAL) {
        return 8;
    }
    return 4;
}

// Length of a share's root \\server\share\ from the server's name on; 0 when there is none.
std::size_t ShareRootLength(std::wstring_view path)
{
    std::size_t server = path.find_first_of(L"\\/");
    if (server == std::wstring_view::npos || server == 0) {
        return 0;
    }
    std::size_t share = path.find_first_of(L"\\/", server + 1);
    if (share == server + 1) {
        return 0;
    }
    return share == std::wstring_view::npos ? path.size() : share + 1;
}

// Length of a full path's root with its closing separator (D:\, \\server\share\, and either behind the long-path
// prefix); 0 when it has none.
std::size_t RootLength(std::wstring_view path)
{
    const std::size_t prefix = LongPrefixLength(path);
    if (prefix == 8) {
        const std::size_t share = ShareRootLength(path.substr(prefix));
        return share == 0 ? 0 : prefix + share;
    }
    const std::wstring_view rest = path.substr(prefix);
    if (rest.size() >= 3 && rest[1] == L':' && IsSeparator(rest[2])) {
        return prefix + 3;
    }
    if (prefix == 4) {
        // \\?\Volume{...}\ and other device names: the first component is the volume.
        const std::size_t end = rest.find_first_of(L"\\/");
        return end == std::wstring_view::npos || end == 0 ? 0 : prefix + end + 1;
    }
    if (rest.size() >= 2 && IsSeparator(rest[0]) && IsSeparator(rest[1])) {
        const std::size_t share = ShareRootLength(rest.substr(2));
        return share == 0 ? 0 : 2 + share;
    }
    return 0;
}

// A path without its long-path prefix: \\?\C:\x as C:\x, \\?\UNC\server\share\x as \\server\share\x.
std::wstring PlainForm(std::wstring_view path)
{
    const std::size_t prefix = LongPrefixLength(path);
    if (prefix == 8) {
        return L"\\\\" + std::wstring(path.substr(prefix));
    }
    if (prefix == 4 && path.size() >= 7 && path[5] == L':' && IsSeparator(path[6])) {
        return std::wstring(path.substr(prefix));
    }
    return std::wstring(path);
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
    const std::wstring plain = PlainForm(path);
    std::wstring volume = plain.substr(0, RootLength(plain));
    for (wchar_t& c : volume) {
        c = IsSeparator(c) ? L'\\' : c;
    }
    if (!volume.empty() && volume.back() != L'\\') {
        volume += L'\\';
    }
    return volume;
}

std::wstring PathIdentity(std::wstring_view path)
{
    std::wstring identity = PlainForm(path);
    for (wchar_t& c : identity) {
        c = IsSeparator(c) ? L'\\' : c;
    }
    if (!identity.empty()) {
        CharUpperBuffW(identity.data(), static_cast<DWORD>(identity.size()));
    }
    return identity;
}

std::wstring FolderIdentity(std::wstring_view path)
{
    return PathIdentity(FolderOf(path));
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

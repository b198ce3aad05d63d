// The walk over dropped folders and the system's listing it uses.
#include "wallpaper/PictureFolders.h"

#include <windows.h>

#include <algorithm>

#include "base/SystemLibrary.h"

namespace {
using StrCmpLogicalFn = int(WINAPI*)(const wchar_t*, const wchar_t*);

constexpr DWORD kSkippedAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

std::wstring Child(const std::wstring& folder, const std::wstring& name)
{
    return folder.empty() || folder.back() == L'\\' || folder.back() == L'/' ? folder + name : folder + L'\\' + name;
}

void Walk(const std::wstring& folder, const FolderQueries& queries,
          const std::function<bool(std::wstring_view)>& isPicture, std::vector<AddItem>& items)
{
    std::vector<FolderEntry> entries = queries.list(folder);
    std::stable_sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        return a.isFolder != b.isFolder ? a.isFolder : ExplorerNameLess(a.name, b.name);
    });
    for (const FolderEntry& entry : entries) {
        std::wstring path = Child(folder, entry.name);
        if (entry.isFolder) {
            Walk(path, queries, isPicture, items);
        } else if (isPicture(path)) {
            items.push_back({std::move(path), true});
        }
    }
}

std::vector<FolderEntry> SystemList(const std::wstring& folder)
{
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW data = {};
    HANDLE find =
        FindFirstFileExW(Child(folder, L"*").c_str(), FindExInfoStandard, &data, FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) {
        return entries;
    }
    do {
        const std::wstring name = data.cFileName;
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const bool link = isFolder && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        if (name != L"." && name != L".." && (data.dwFileAttributes & kSkippedAttributes) == 0 && !link) {
            entries.push_back({name, isFolder});
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return entries;
}
} // namespace

FolderQueries SystemFolderQueries()
{
    return {[](const std::wstring& path) {
                const DWORD attributes = GetFileAttributesW(path.c_str());
                return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            },
            SystemList};
}

std::vector<AddItem> ExpandFolders(const std::vector<std::wstring>& paths, const FolderQueries& queries,
                                   const std::function<bool(std::wstring_view path)>& isPicture)
{
    std::vector<AddItem> items;
    for (const std::wstring& path : paths) {
        if (queries.isFolder(path)) {
            Walk(path, queries, isPicture, items);
        } else {
            items.push_back({path, false});
        }
    }
    return items;
}

bool ExplorerNameLess(const std::wstring& a, const std::wstring& b)
{
    // Explorer's own comparison, from the shell's light library; every Windows has it, so the ordinal
    // comparison is only a guard.
    static const auto logical = SystemFunction<StrCmpLogicalFn>(L"shlwapi.dll", "StrCmpLogicalW");
    if (logical) {
        return logical(a.c_str(), b.c_str()) < 0;
    }
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_LESS_THAN;
}

// The walk over dropped folders and the system's listing it uses.
#include "wallpaper/PictureFolders.h"

#include <windows.h>

#include <algorithm>
#include <unordered_set>

#include "base/FileSystem.h"
#include "base/Handles.h"
#include "base/SystemLibrary.h"

namespace {
using StrCmpLogicalFn = int(WINAPI*)(const wchar_t*, const wchar_t*);

constexpr DWORD kSkippedAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

std::wstring Child(const std::wstring& folder, const std::wstring& name)
{
    return folder.empty() || folder.back() == L'\\' || folder.back() == L'/' ? folder + name : folder + L'\\' + name;
}

struct Walker {
    const FolderQueries& queries;
    const std::function<bool(std::wstring_view)>& isPicture;
    const WalkProgressFn& keepGoing;
    std::vector<AddItem> items;
    std::unordered_set<std::wstring> visited;

    // False when keepGoing ended the walk.
    bool Walk(const std::wstring& folder, int depth)
    {
        if (depth > kMaxFolderDepth || !visited.insert(queries.identity(folder)).second) {
            return true;
        }
        std::vector<FolderEntry> entries = queries.list(folder);
        if (keepGoing && !keepGoing(items.size(), folder)) {
            return false;
        }
        std::stable_sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
            return a.isFolder != b.isFolder ? a.isFolder : ExplorerNameLess(a.name, b.name);
        });
        for (const FolderEntry& entry : entries) {
            std::wstring path = Child(folder, entry.name);
            if (entry.isFolder) {
                if (!Walk(path, depth + 1)) {
                    return false;
                }
            } else if (isPicture(path)) {
                items.push_back({std::move(path), true});
            }
        }
        return true;
    }
};

// The volume's serial number and the folder's file index, which no second spelling or path changes; the folder's
// own spelling where the system gives no id.
std::wstring SystemIdentity(const std::wstring& folder)
{
    FileHandle handle(CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!handle || !GetFileInformationByHandle(handle.Get(), &info)) {
        return FolderIdentity(Child(folder, L"*"));
    }
    return std::to_wstring(info.dwVolumeSerialNumber) + L":" + std::to_wstring(info.nFileIndexHigh) + L":" +
           std::to_wstring(info.nFileIndexLow);
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
            SystemList, SystemIdentity};
}

std::optional<std::vector<AddItem>> ExpandFolders(const std::vector<std::wstring>& paths, const FolderQueries& queries,
                                                  const std::function<bool(std::wstring_view path)>& isPicture,
                                                  const WalkProgressFn& keepGoing)
{
    Walker walker{queries, isPicture, keepGoing, {}, {}};
    for (const std::wstring& path : paths) {
        if (!queries.isFolder(path)) {
            walker.items.push_back({path, false});
        } else if (!walker.Walk(path, 0)) {
            return std::nullopt;
        }
    }
    return std::move(walker.items);
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

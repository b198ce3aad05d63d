// The walk over a folder entry's folder, the system's listing it uses, and the order and choice of its pictures.
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
    const std::atomic<bool>* stop;
    FolderPictures found;
    std::size_t entriesRead = 0;
    std::unordered_set<std::wstring> visited;

    // False when a bound or stop ended the walk. relative is the folder's path below the walk's own, with its
    // backslash.
    bool Walk(const std::wstring& folder, const std::wstring& relative, int depth)
    {
        if (depth > kMaxFolderDepth || !visited.insert(queries.identity(folder)).second) {
            return true;
        }
        if (stop && *stop) {
            return false;
        }
        std::vector<FolderEntry> entries = queries.list(folder, kMaxFolderEntriesRead - entriesRead);
        entriesRead += entries.size();
        std::stable_sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
            return a.isFolder != b.isFolder ? a.isFolder : ExplorerNameLess(a.name, b.name);
        });
        for (const FolderEntry& entry : entries) {
            if (entry.isFolder) {
                if (!Walk(Child(folder, entry.name), relative + entry.name + L'\\', depth + 1)) {
                    return false;
                }
            } else if (isPicture(entry.name)) {
                if (found.pictures.size() == kMaxFolderPictures) {
                    return false;
                }
                found.pictures.push_back(relative + entry.name);
            }
        }
        return entriesRead < kMaxFolderEntriesRead;
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

std::vector<FolderEntry> SystemList(const std::wstring& folder, std::size_t most)
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
    } while (entries.size() < most && FindNextFileW(find, &data));
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

FolderPictures ListFolderPictures(const std::wstring& folder, const FolderQueries& queries,
                                  const std::function<bool(std::wstring_view path)>& isPicture,
                                  const std::atomic<bool>* stop)
{
    Walker walker{queries, isPicture, stop, {}, 0, {}};
    walker.found.whole = walker.Walk(folder, L"", 0);
    return std::move(walker.found);
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

namespace {
// The next component of a relative path from at, and whether more follow it (it names a folder).
struct Component {
    std::wstring name;
    bool isFolder;
};
Component NextComponent(std::wstring_view path, std::size_t& at)
{
    const std::size_t end = std::min(path.find(L'\\', at), path.size());
    Component component{std::wstring(path.substr(at, end - at)), end < path.size()};
    at = end + 1;
    return component;
}
} // namespace

bool WalkOrderLess(std::wstring_view a, std::wstring_view b)
{
    std::size_t atA = 0;
    std::size_t atB = 0;
    while (atA < a.size() && atB < b.size()) {
        const Component fromA = NextComponent(a, atA);
        const Component fromB = NextComponent(b, atB);
        if (fromA.isFolder != fromB.isFolder) {
            return fromA.isFolder;
        }
        if (ExplorerNameLess(fromA.name, fromB.name)) {
            return true;
        }
        if (ExplorerNameLess(fromB.name, fromA.name) || !fromA.isFolder) {
            return false;
        }
    }
    return false;
}

std::optional<std::size_t> NextPictureAfter(const std::vector<std::wstring>& pictures, std::wstring_view last)
{
    if (pictures.empty()) {
        return std::nullopt;
    }
    const auto after = std::upper_bound(
        pictures.begin(), pictures.end(), last,
        [](std::wstring_view value, const std::wstring& picture) { return WalkOrderLess(value, picture); });
    return after == pictures.end() || last.empty() ? 0 : static_cast<std::size_t>(after - pictures.begin());
}

std::wstring PictureKey(std::wstring_view picture)
{
    std::wstring key(picture);
    if (!key.empty()) {
        CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    }
    return key;
}

std::optional<std::size_t> RandomUnshown(const std::vector<std::wstring>& pictures,
                                         std::unordered_set<std::wstring>& shown, std::wstring_view previous,
                                         std::mt19937& generator)
{
    if (pictures.empty()) {
        return std::nullopt;
    }
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (shown.count(PictureKey(pictures[i])) == 0) {
            open.push_back(i);
        }
    }
    if (open.empty()) {
        shown.clear();
        const std::wstring previousKey = PictureKey(previous);
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            if (pictures.size() == 1 || PictureKey(pictures[i]) != previousKey) {
                open.push_back(i);
            }
        }
    }
    return open[std::uniform_int_distribution<std::size_t>(0, open.size() - 1)(generator)];
}

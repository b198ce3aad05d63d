// Folders among the paths of an add: the pictures in them and their subfolders, in the order Explorer shows
// names, with the file system passed in so that the rule needs no disk.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct FolderEntry {
    std::wstring name;
    bool isFolder;
};

// What the walk asks of the file system.
struct FolderQueries {
    // The path names a folder (not a file).
    std::function<bool(const std::wstring& path)> isFolder;
    // The entries of a folder, without "." and "..", hidden and system entries and links to other folders
    // (which could lead back into the tree); empty when it cannot be listed.
    std::function<std::vector<FolderEntry>(const std::wstring& folder)> list;
    // One key for a folder however it is reached (its file id where the system gives one), so that no folder is
    // walked twice.
    std::function<std::wstring(const std::wstring& folder)> identity;
};
FolderQueries SystemFolderQueries();

// One file of an add and whether a folder brought it.
struct AddItem {
    std::wstring path;
    bool fromFolder;
};

// How deep below a dropped folder the walk goes: the folder itself is level 0.
inline constexpr int kMaxFolderDepth = 32;
// Told after each folder is listed, with the pictures found so far and that folder; false ends the walk.
using WalkProgressFn = std::function<bool(std::size_t picturesFound, const std::wstring& folder)>;

// The files of an add in order: each path that is no folder as it is; for a folder, in its place, the files of it
// and of its subfolders that isPicture accepts, each folder's subfolders first, then its files, both in name
// order with digits compared by value, as Explorer lists them. Folders below kMaxFolderDepth and folders walked
// already (by identity) are passed over. Nothing when keepGoing ended the walk.
std::optional<std::vector<AddItem>> ExpandFolders(const std::vector<std::wstring>& paths, const FolderQueries& queries,
                                                  const std::function<bool(std::wstring_view path)>& isPicture,
                                                  const WalkProgressFn& keepGoing = nullptr);

// Whether a sorts before b among names in Explorer's order ("2.jpg" before "10.jpg", any letter case).
bool ExplorerNameLess(const std::wstring& a, const std::wstring& b);

// Folders among the paths of an add: the pictures in them and their subfolders, in the order Explorer shows
// names, with the file system passed in so that the rule needs no disk.
#pragma once

#include <functional>
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
};
FolderQueries SystemFolderQueries();

// One file of an add and whether a folder brought it.
struct AddItem {
    std::wstring path;
    bool fromFolder;
};

// The files of an add in order: each path that is no folder as it is; for a folder, in its place, the files of it
// and of its subfolders that isPicture accepts, each folder's subfolders first, then its files, both in name
// order with digits compared by value, as Explorer lists them.
std::vector<AddItem> ExpandFolders(const std::vector<std::wstring>& paths, const FolderQueries& queries,
                                   const std::function<bool(std::wstring_view path)>& isPicture);

// Whether a sorts before b among names in Explorer's order ("2.jpg" before "10.jpg", any letter case).
bool ExplorerNameLess(const std::wstring& a, const std::wstring& b);

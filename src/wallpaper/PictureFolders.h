// A folder entry's pictures: the walk over the folder and its subfolders, bounded in depth and count, with the file
// system passed in so that the rule needs no disk; the order Explorer shows them in; the next picture in that order
// or at random.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

struct FolderEntry {
    std::wstring name;
    bool isFolder;
};

// What the walk asks of the file system.
struct FolderQueries {
    // The path names a folder (not a file).
    std::function<bool(const std::wstring& path)> isFolder;
    // The entries of a folder, at most the number given, without "." and "..", hidden and system entries and
    // links to other folders (which could lead back into the tree); empty when it cannot be listed.
    std::function<std::vector<FolderEntry>(const std::wstring& folder, std::size_t most)> list;
    // One key for a folder however it is reached (its file id where the system gives one), so that no folder is
    // walked twice.
    std::function<std::wstring(const std::wstring& folder)> identity;
};
FolderQueries SystemFolderQueries();

// How deep below the folder the walk goes: the folder itself is level 0.
inline constexpr int kMaxFolderDepth = 32;
// The most pictures a walk lists, and the most folder entries it reads on the way (pictures, other files and
// folders): a folder of millions of files costs a bounded time.
inline constexpr std::size_t kMaxFolderPictures = 100000;
inline constexpr std::size_t kMaxFolderEntriesRead = 400000;

// The pictures that isPicture accepts in a folder and its subfolders, as paths relative to the folder, in walk
// order (WalkOrderLess). Folders below kMaxFolderDepth and folders met already (by identity) are passed over.
struct FolderPictures {
    std::vector<std::wstring> pictures;
    bool whole = true; // false when a bound or stop ended the walk early
};
FolderPictures ListFolderPictures(const std::wstring& folder, const FolderQueries& queries,
                                  const std::function<bool(std::wstring_view path)>& isPicture,
                                  const std::atomic<bool>* stop = nullptr);

// Whether name a sorts before name b in Explorer's order ("2.jpg" before "10.jpg", any letter case).
bool ExplorerNameLess(const std::wstring& a, const std::wstring& b);
// Whether relative path a comes before b in a folder's walk: in each folder its subfolders first, then its files,
// each in Explorer's name order.
bool WalkOrderLess(std::wstring_view a, std::wstring_view b);

// In order: the position of the first picture after last (pictures in walk order), wrapping to the first; the first
// when last is empty. A last that has gone from the folder still has its place among the others. Nothing when the
// folder holds no picture.
std::optional<std::size_t> NextPictureAfter(const std::vector<std::wstring>& pictures, std::wstring_view last);

// At random: a position drawn uniformly among the pictures not in shown (keys of PictureKey). When every one has
// been shown the folder has been shown through: shown starts again empty, and the picture shown last (previous) is
// not drawn first unless it is the only one. Nothing when the folder holds no picture.
std::optional<std::size_t> RandomUnshown(const std::vector<std::wstring>& pictures,
                                         std::unordered_set<std::wstring>& shown, std::wstring_view previous,
                                         std::mt19937& generator);
// A picture's key among names in any letter case.
std::wstring PictureKey(std::wstring_view picture);

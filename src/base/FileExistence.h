// Which of many paths name existing files, fast enough for a purge of a long list on every change, and
// which lie on a volume (a drive or a network share) that is not there right now.
#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

enum class FileState {
    Present,
    // The file's volume is there and the file is not.
    Missing,
    // The drive or share is not there now (a stick not plugged in, a share not yet connected): nothing is
    // known about the file.
    VolumeAbsent,
};

class FileExistence {
public:
    // One state per path. Each volume is asked once per call, never once per path: an absent network server
    // can take seconds to answer. A folder holding many of the paths is listed once and its listing reused
    // for as long as the folder is unchanged; the listing stops at a few times as many entries as paths asked
    // in the folder, so that a few hundred pictures of a folder of thousands do not read all of it.
    std::vector<FileState> Check(const std::vector<std::wstring>& paths);

    // The checker that the program's load and purges share, so that listings outlive one purge.
    static FileExistence& Program();

private:
    struct Listing {
        FILETIME lastWrite;
        // How many of the folder's entries were read; SIZE_MAX when all were.
        std::size_t reach;
        std::unordered_set<std::wstring> names; // upper case
    };
    const Listing* CurrentListing(const std::wstring& folder, std::size_t reach);
    bool TracksChanges(const std::wstring& folder);

    std::unordered_map<std::wstring, Listing> listings_;
    std::unordered_map<std::wstring, bool> volumes_;
};

// A single path: present, missing, or on an absent volume (the volume asked first).
FileState FileStateOf(const std::wstring& path);

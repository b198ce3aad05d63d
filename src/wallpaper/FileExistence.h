// Which of many paths name existing files, fast enough for a purge of a long list on every change: a folder
// holding many entries is listed once and its listing reused for as long as the folder is unchanged.
#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class FileExistence {
public:
    // One flag per path, true when a file (not a folder) of that name exists now.
    std::vector<bool> Check(const std::vector<std::wstring>& paths);

private:
    struct Listing {
        FILETIME lastWrite;
        std::unordered_set<std::wstring> names; // upper case
    };
    const Listing* CurrentListing(const std::wstring& folder);
    bool TracksChanges(const std::wstring& folder);

    std::unordered_map<std::wstring, Listing> listings_;
    std::unordered_map<std::wstring, bool> volumes_;
};

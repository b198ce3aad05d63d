// Which of many paths name existing files, fast enough for a purge of a long list on every change, and
// which lie on a volume (a drive or a network share) that is not there right now.
#pragma once

#include <windows.h>

#include <memory>
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

// The questions the check puts to the system, each one virtual so that a test can count them or play a folder
// that changes and a server that does not answer.
class FileQueries {
public:
    virtual ~FileQueries() = default;
    // A volume is there when its root can be asked for; a drive without its medium, an unplugged stick, a share
    // that is not connected or refuses us all count as absent. Asking an absent server can take seconds.
    virtual bool VolumePresent(const std::wstring& volume);
    // When the folder last had an entry added, removed or renamed; false when it cannot be asked.
    virtual bool FolderStamp(const std::wstring& folder, FILETIME& lastWrite);
    // Milliseconds since the system started.
    virtual ULONGLONG Milliseconds();

    static FileQueries& System();
};

class FileExistence {
public:
    explicit FileExistence(FileQueries& queries = FileQueries::System()) : queries_(queries) {}

    // One state per path. Each volume is asked once per call, never once per path, and a share (or a drive
    // mapped to one) found absent is not asked again for a minute: an absent network server can take seconds to answer,
    // and the purge runs on the user-interface thread. A folder holding many of the paths, however each path spells it,
    // is listed once and its listing reused for as long as the folder is unchanged; the listing stops at a few times as
    // many entries as paths asked in the folder, so that a few hundred pictures of a folder of thousands do not
    // read all of it.
    // A path that names a folder (NamesFolder) is present while that folder is.
    std::vector<FileState> Check(const std::vector<std::wstring>& paths);

private:
    struct Listing {
        FILETIME lastWrite;
        // How many of the folder's entries were read; SIZE_MAX when all were.
        std::size_t reach;
        std::unordered_set<std::wstring> names; // upper case
    };
    // Shared, so that a listing one check uses stays alive when the cache drops or replaces it.
    std::shared_ptr<const Listing> CurrentListing(const std::wstring& identity, const std::wstring& folder,
                                                  std::size_t reach);
    bool TracksChanges(const std::wstring& folder);
    bool VolumePresentNow(const std::wstring& volume, ULONGLONG now);

    FileQueries& queries_;
    // By folder identity (FolderIdentity).
    std::unordered_map<std::wstring, std::shared_ptr<const Listing>> listings_;
    std::unordered_map<std::wstring, bool> tracksChanges_;
    // Upper-case volume → when it was found absent.
    std::unordered_map<std::wstring, ULONGLONG> absentSince_;
};

// A single path: present, missing, or on an absent volume (the volume asked first).
FileState FileStateOf(const std::wstring& path);

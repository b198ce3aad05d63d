// Folder listings as a stand-in for one file-system query per path. A listing is trusted only on volumes
// that stamp a folder whenever an entry is added, removed or renamed (NTFS, ReFS), only while that stamp is
// unchanged, and never when the stamp is so recent that a change in the same clock tick could hide behind it.
// A name missing from a listing is always asked for directly, so the listing can only confirm a file.
#include "base/FileExistence.h"

#include <cstdint>

#include "base/FileSystem.h"
#include "base/Handles.h"

namespace {
// Folders with fewer entries than this are asked path by path.
constexpr std::size_t kListingThreshold = 64;
// A listing reads at most this many folder entries per path asked in the folder. Under Wine an entry read costs
// about half of asking for one file (the first read gathers every name, each entry returned is asked for its
// attributes), so a few hundred pictures of a folder of thousands must not read them all; a folder of the
// list's bitmaps, with the JPEG files they came from beside them, is read (nearly) whole.
constexpr std::size_t kEntriesReadPerPath = 2;
// A folder stamp younger than this (in 100 ns units: 2 s) may not yet show every change.
constexpr ULONGLONG kSettleTime = 2ULL * 10000000ULL;
// How long a network volume found absent counts as absent without being asked again (ms): long enough that the purges
// of a 10-second schedule do not each wait out a network time-out, short enough that a share connected later
// serves its entries within a minute.
constexpr ULONGLONG kAbsentVolumeMemory = 60 * 1000;

std::wstring Upper(std::wstring text)
{
    if (!text.empty()) {
        CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    }
    return text;
}

ULONGLONG Ticks(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// A share, or a drive letter mapped to one: asking it may wait for a network time-out. A local drive answers at
// once, present or not, so a stick plugged back in serves its entries at the next check.
bool IsNetworkVolume(const std::wstring& volume)
{
    if (volume.size() >= 3 && volume[0] == L'\\' && volume[1] == L'\\') {
        return volume[2] != L'?' && volume[2] != L'.';
    }
    return GetDriveTypeW(volume.c_str()) == DRIVE_REMOTE;
}

bool AskVolume(const std::wstring& volume)
{
    return volume.empty() || GetFileAttributesW(volume.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring ListingPattern(const std::wstring& folder)
{
    return folder + (folder.back() == L'\\' || folder.back() == L'/' ? L"*" : L"\\*");
}

struct FindTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { FindClose(h); }
};
using FindHandle = UniqueHandle<FindTraits>;
} // namespace

bool FileQueries::VolumePresent(const std::wstring& volume)
{
    return AskVolume(volume);
}

bool FileQueries::FolderStamp(const std::wstring& folder, FILETIME& lastWrite)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(folder.c_str(), GetFileExInfoStandard, &data)) {
        return false;
    }
    lastWrite = data.ftLastWriteTime;
    return true;
}

ULONGLONG FileQueries::Milliseconds()
{
    return GetTickCount64();
}

FileQueries& FileQueries::System()
{
    static FileQueries queries;
    return queries;
}

bool FileExistence::TracksChanges(const std::wstring& folder)
{
    wchar_t root[MAX_PATH + 1] = {};
    if (!GetVolumePathNameW(folder.c_str(), root, MAX_PATH)) {
        return false;
    }
    std::wstring key = Upper(root);
    auto known = tracksChanges_.find(key);
    if (known != tracksChanges_.end()) {
        return known->second;
    }
    wchar_t fileSystem[MAX_PATH + 1] = {};
    bool tracks = GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, fileSystem, MAX_PATH) &&
                  (lstrcmpiW(fileSystem, L"NTFS") == 0 || lstrcmpiW(fileSystem, L"ReFS") == 0);
    tracksChanges_[key] = tracks;
    return tracks;
}

std::shared_ptr<const FileExistence::Listing>
FileExistence::CurrentListing(const std::wstring& identity, const std::wstring& folder, std::size_t reach)
{
    FILETIME lastWrite = {};
    if (!TracksChanges(folder) || !queries_.FolderStamp(folder, lastWrite)) {
        listings_.erase(identity);
        return nullptr;
    }
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    if (Ticks(now) < Ticks(lastWrite) + kSettleTime) {
        listings_.erase(identity);
        return nullptr;
    }
    auto cached = listings_.find(identity);
    if (cached != listings_.end() && CompareFileTime(&cached->second->lastWrite, &lastWrite) == 0 &&
        cached->second->reach >= reach) {
        return cached->second;
    }
    // A listing cut short confirms what it read, as any listing does: a name missing from it is asked directly.
    auto listing = std::make_shared<Listing>(Listing{lastWrite, SIZE_MAX, {}});
    WIN32_FIND_DATAW found = {};
    FindHandle find(FindFirstFileExW(ListingPattern(folder).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        listings_.erase(identity);
        return nullptr;
    }
    std::size_t read = 0;
    do {
        if (read++ == reach) {
            listing->reach = reach;
            break;
        }
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            listing->names.insert(Upper(found.cFileName));
        }
    } while (FindNextFileW(find.Get(), &found));
    listings_[identity] = listing;
    return listing;
}

bool FileExistence::VolumePresentNow(const std::wstring& volume, ULONGLONG now)
{
    if (volume.empty()) {
        return true;
    }
    if (auto absent = absentSince_.find(volume); absent != absentSince_.end()) {
        if (now - absent->second < kAbsentVolumeMemory) {
            return false;
        }
        absentSince_.erase(absent);
    }
    if (queries_.VolumePresent(volume)) {
        return true;
    }
    if (IsNetworkVolume(volume)) {
        absentSince_[volume] = now;
    }
    return false;
}

std::vector<FileState> FileExistence::Check(const std::vector<std::wstring>& paths)
{
    const ULONGLONG now = queries_.Milliseconds();
    std::unordered_map<std::wstring, bool> volumePresent;
    // Paths per folder decide which folders are worth a listing; the first spelling met names the folder.
    struct FolderWork {
        std::wstring folder;
        std::size_t count = 0;
        std::shared_ptr<const Listing> listing;
    };
    std::unordered_map<std::wstring, FolderWork> perFolder;
    // Per path its folder's work (null when the path names no folder or its volume is absent). A list holds its
    // folders' pictures one after another, so a folder spelled as the path before it is taken as it was: its
    // volume and identity are worked out once per run of paths, not once per path.
    std::vector<FolderWork*> workOf(paths.size(), nullptr);
    std::vector<bool> onVolume(paths.size(), false);
    std::wstring lastFolder;
    bool lastOnVolume = false;
    FolderWork* lastWork = nullptr;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        std::wstring folder = FolderOf(paths[i]);
        if (i == 0 || folder != lastFolder) {
            // The volume lies within the folder's spelling, so one spelling of a folder is on one volume.
            std::wstring volume = Upper(VolumeOf(paths[i]));
            auto [known, isNew] = volumePresent.try_emplace(volume, false);
            if (isNew) {
                known->second = VolumePresentNow(volume, now);
            }
            lastOnVolume = known->second;
            std::wstring identity = PathIdentity(folder);
            lastWork = lastOnVolume && !identity.empty() ? &perFolder[identity] : nullptr;
            if (lastWork && lastWork->count == 0) {
                lastWork->folder = folder;
            }
            lastFolder = std::move(folder);
        }
        onVolume[i] = lastOnVolume;
        workOf[i] = lastWork;
        if (lastWork) {
            ++lastWork->count;
        }
    }
    for (auto& [identity, work] : perFolder) {
        if (work.count >= kListingThreshold) {
            work.listing = CurrentListing(identity, work.folder, work.count * kEntriesReadPerPath);
        }
    }
    std::vector<FileState> states(paths.size(), FileState::Missing);
    std::wstring name;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (paths[i].empty()) {
            continue;
        }
        if (!onVolume[i]) {
            states[i] = FileState::VolumeAbsent;
            continue;
        }
        const Listing* listing = workOf[i] ? workOf[i]->listing.get() : nullptr;
        bool listed = false;
        if (listing) {
            name.assign(paths[i], paths[i].find_last_of(L"\\/") + 1);
            if (!name.empty()) {
                CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
            }
            listed = listing->names.count(name) > 0;
        }
        states[i] = listed || EntryExists(paths[i]) ? FileState::Present : FileState::Missing;
    }
    return states;
}

FileState FileStateOf(const std::wstring& path)
{
    if (EntryExists(path)) {
        return FileState::Present;
    }
    return AskVolume(VolumeOf(path)) ? FileState::Missing : FileState::VolumeAbsent;
}

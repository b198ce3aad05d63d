// The uninstaller's deletes in the installation folder: the folder's real path checked through one held handle,
// each file deleted through its own handle once its real path is checked.
#include "uninstaller/ProgramRemoval.h"

#include <windows.h>

#include "base/AppError.h"
#include "base/FileSystem.h"
#include "base/Handles.h"
#include "uninstaller/UninstallRules.h"

namespace {
class SystemEntry : public OpenedEntry {
public:
    explicit SystemEntry(FileHandle handle) : handle_(std::move(handle)) {}

    std::wstring RealPath() const override
    {
        std::wstring path(MAX_PATH, L'\0');
        for (;;) {
            const DWORD length = GetFinalPathNameByHandleW(handle_.Get(), path.data(), static_cast<DWORD>(path.size()),
                                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
            if (length == 0) {
                return {};
            }
            const bool fits = length < path.size();
            path.resize(length);
            if (fits) {
                return path;
            }
        }
    }

    bool Delete() override
    {
        FILE_DISPOSITION_INFO info = {};
        info.DeleteFile = TRUE;
        return SetFileInformationByHandle(handle_.Get(), FileDispositionInfo, &info, sizeof(info)) != FALSE;
    }

private:
    FileHandle handle_;
};

// The folder as a path to open: a drive alone ("C:") names that drive's current folder, so its root is meant.
std::wstring FolderPath(const std::wstring& folder)
{
    const std::wstring path = WithoutTrailingBackslash(folder);
    return path.size() == 2 && path[1] == L':' ? path + L"\\" : path;
}

bool IsRealPathOf(const std::wstring& realPath, const std::wstring& path)
{
    return !realPath.empty() &&
           PathIdentity(WithoutTrailingBackslash(realPath)) == PathIdentity(WithoutTrailingBackslash(path));
}

// A link on the way: the folder itself or a folder above it, up to its drive or share.
bool PassesThroughLink(const std::wstring& folder, RemovalFileSystem& files)
{
    const std::wstring volume = WithoutTrailingBackslash(VolumeOf(folder));
    for (std::wstring step = WithoutTrailingBackslash(folder); step.size() > volume.size();
         step = WithoutTrailingBackslash(FolderOf(step))) {
        if (files.IsLink(step)) {
            return true;
        }
    }
    return false;
}
} // namespace

bool SystemRemovalFileSystem::IsLink(const std::wstring& folder)
{
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return false;
    }
    WIN32_FIND_DATAW found = {};
    HANDLE find = FindFirstFileExW(folder.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) {
        return true;
    }
    FindClose(find);
    // Placeholders of cloud files and the like are reparse points that send a name nowhere else. Wine tells no
    // kind for the links of its host's file system.
    return found.dwReserved0 == 0 || IsReparseTagNameSurrogate(found.dwReserved0);
}

std::unique_ptr<OpenedEntry> SystemRemovalFileSystem::Open(const std::wstring& path, bool folder, bool& absent)
{
    // Without sharing the delete, nobody can rename the folder or put a link in its place while it is open.
    const DWORD flags = FILE_FLAG_OPEN_REPARSE_POINT | (folder ? FILE_FLAG_BACKUP_SEMANTICS : 0);
    FileHandle handle(CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flags, nullptr));
    if (!handle) {
        const DWORD error = GetLastError();
        absent = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return nullptr;
    }
    absent = false;
    return std::make_unique<SystemEntry>(std::move(handle));
}

void RemovePrograms(const std::wstring& folder, const std::wstring& self, RemovalFileSystem& files,
                    std::vector<std::wstring>& notRemoved)
{
    if (!IsUsableInstallFolder(folder)) {
        notRemoved.push_back(kNoFolderItem);
        return;
    }
    const std::wstring path = FolderPath(folder);
    bool absent = false;
    const std::unique_ptr<OpenedEntry> held = files.Open(path, true, absent);
    if (!held) {
        if (!absent) {
            notRemoved.push_back(FormatMessageText(kUnopenedFolderItem, path));
        }
        return;
    }
    // A user who may write where the package was unpacked could put a link there, to have an administrator's
    // uninstaller delete files of the same names elsewhere.
    if (!IsRealPathOf(held->RealPath(), path) || PassesThroughLink(path, files)) {
        notRemoved.push_back(FormatMessageText(kLinkedFolderItem, path));
        return;
    }
    for (const std::wstring& file : InstalledFiles(path)) {
        if (PathIdentity(file) == PathIdentity(self)) {
            continue;
        }
        const std::unique_ptr<OpenedEntry> entry = files.Open(file, false, absent);
        if (entry ? !IsRealPathOf(entry->RealPath(), file) || !entry->Delete() : !absent) {
            notRemoved.push_back(file);
        }
    }
    // The folder goes only when nothing else is left in it.
    held->Delete();
}

// The removal of Sorabune's files from the installation folder without reaching anything outside it: a folder that
// is, or passes through, a link is refused, and each file is deleted through a handle whose real path was checked.
#pragma once

#include <memory>
#include <string>
#include <vector>

inline constexpr wchar_t kLinkedFolderItem[] = L"インストール先 %s のプログラム (フォルダがリンクを経由しているため)";
inline constexpr wchar_t kUnopenedFolderItem[] = L"インストール先 %s のプログラム (フォルダを開けません)";

// A file or folder held open for deleting.
class OpenedEntry {
public:
    virtual ~OpenedEntry() = default;
    // The full path the file system reached, every link on the way followed; empty when it cannot tell.
    virtual std::wstring RealPath() const = 0;
    // Deletes it through this handle once the handle closes (a folder only when it is empty); false when it stays.
    virtual bool Delete() = 0;
};

// What the removal asks of the file system: the uninstaller passes the system's, tests their own.
class RemovalFileSystem {
public:
    virtual ~RemovalFileSystem() = default;
    // Whether the folder at a path is itself a link: a junction, a symbolic link or a mount point.
    virtual bool IsLink(const std::wstring& folder) = 0;
    // Opens a file or a folder for deleting without following a link in its own place; a folder is held so that it
    // cannot be renamed or replaced meanwhile. Null when it cannot be opened; absent then tells whether it is missing.
    virtual std::unique_ptr<OpenedEntry> Open(const std::wstring& path, bool folder, bool& absent) = 0;
};

// The system's file system.
class SystemRemovalFileSystem : public RemovalFileSystem {
public:
    bool IsLink(const std::wstring& folder) override;
    std::unique_ptr<OpenedEntry> Open(const std::wstring& path, bool folder, bool& absent) override;
};

// Deletes the programs and the read-me of an installation folder, all but the running uninstaller (self), then the
// folder when nothing else is left in it; adds to notRemoved what stays. Nothing is deleted in a folder that cannot
// be trusted for it (no full path, a link on the way), nor a file whose real path is not its name in the folder.
void RemovePrograms(const std::wstring& folder, const std::wstring& self, RemovalFileSystem& files,
                    std::vector<std::wstring>& notRemoved);

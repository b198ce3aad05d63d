// What the uninstaller removes and what it tells the user, without touching anything: the program files of
// an installation folder, which folder that is, the command that removes the
// uninstaller after it has ended, and the closing report.
#pragma once

#include <string>
#include <vector>

inline constexpr wchar_t kUninstallCaption[] = L"Sorabune のアンインストール";
inline constexpr wchar_t kConfirmText[] = L"Sorabune をアンインストールします。よろしいですか？";
inline constexpr wchar_t kDoneText[] = L"Sorabune のアンインストールが終了しました";
inline constexpr wchar_t kFailedHeading[] = L"次のものを削除できませんでした。";
inline constexpr wchar_t kNotEndedItem[] = L"実行中の Sorabune (終了できませんでした)";
inline constexpr wchar_t kNoFolderItem[] = L"インストール先のプログラム (\"Path\" が分かりません)";

// Whether a stored "Path" names a folder by its full path ("C:\...", "C:" for a drive's root, or a network
// path "\\server\share..."); anything else is not trusted for deleting files.
bool IsUsableInstallFolder(const std::wstring& folder);
// The folder whose programs the uninstaller deletes: the uninstall entry's "InstallLocation", which only an
// administrator can write. Without it (an installation by an earlier version) the settings' "Path", which the
// user can point anywhere, is taken only when it is usable and that folder holds the resident program. Empty when
// neither is.
std::wstring FolderToUninstall(const std::wstring& installLocation, const std::wstring& path,
                               bool (*fileExists)(const std::wstring& file));
// The files of a Sorabune installation in a folder: the programs and the read-me.
std::vector<std::wstring> InstalledFiles(const std::wstring& folder);
inline constexpr int kDeleteAttempts = 30;

// The arguments of cmd.exe that delete a file as soon as the program it belongs to has ended: a number of
// rounds about a second apart (about half a minute by default), leaving no other file behind.
std::wstring DeleteAfterExitCommand(const std::wstring& file, int attempts = kDeleteAttempts);
// The closing message: done, or the list of what could not be removed.
std::wstring UninstallReport(const std::vector<std::wstring>& notRemoved);

// The names by which the installer, the uninstaller and the programs find Sorabune's files, shortcuts and
// uninstall entry.
#pragma once

#include <string>

inline constexpr wchar_t kShortcutFileName[] = L"Sorabune.lnk";
inline constexpr wchar_t kShortcutDescription[] = L"Sorabune";
inline constexpr wchar_t kUninstallerFileName[] = L"Uninst_Sorabune.exe";
inline constexpr wchar_t kResidentFileName[] = L"SorabuneOpt.exe";
// The picture converter, beside the resident program: the one process that decodes picture files.
inline constexpr wchar_t kConverterFileName[] = L"SorabuneConv.exe";
inline constexpr wchar_t kInstallerFileName[] = L"Install.exe";
inline constexpr wchar_t kReadmeFileName[] = L"Readme.txt";
inline constexpr wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sorabune";
inline constexpr wchar_t kDisplayNameValue[] = L"DisplayName";
inline constexpr wchar_t kUninstallStringValue[] = L"UninstallString";
// The installation folder, in the machine-wide entry that only an administrator can change: the one folder whose
// programs the uninstaller deletes.
inline constexpr wchar_t kInstallLocationValue[] = L"InstallLocation";
inline constexpr wchar_t kDisplayName[] = L"Sorabune";
// The product's name and version as the version page and the start-up window show it.
inline constexpr wchar_t kTitleAndVersion[] = L"Sorabune ver 4a";

// The Sorabune.lnk inside a folder; empty for no folder.
std::wstring ShortcutIn(const std::wstring& folder);

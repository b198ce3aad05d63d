// The INI-style view of the registry that holds Sorabune's settings: sections are subkey paths under a
// start key, idents are value names, and every value is a registry string.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settings/SettingsLayout.h"
#include "settings/SettingsRules.h"
#include "base/AppError.h"
#include "base/Handles.h"
#include "base/Registry.h"

// Opens (create false) or creates with all missing parents (create true) a key below root, as OpenRegistryKey
// does. A store reaches the registry only through the opener it was made with, so tests can refuse access to
// chosen keys.
using RegistryKeyOpener =
    std::function<LSTATUS(HKEY root, const std::wstring& path, bool create, REGSAM access, HKEY* result)>;

// The error of a read that finds a value of a type other than REG_SZ or REG_EXPAND_SZ.
AppError WrongTypeError(const std::wstring& ident);

class IniStore : public IniWriter {
public:
    // root and startPath as HKEY_CURRENT_USER + "Software"; an empty startPath makes sections full paths.
    IniStore(HKEY root, std::wstring startPath, RegistryKeyOpener openKey = OpenRegistryKey);

    // Reads give the default when the section cannot be opened or the value is absent; a value of a type
    // other than REG_SZ or REG_EXPAND_SZ throws AppError "'<ident>' のデータ型が不正です".
    std::int32_t ReadInteger(const std::wstring& section, const std::wstring& ident, std::int32_t defaultValue);
    bool ReadBool(const std::wstring& section, const std::wstring& ident, bool defaultValue);
    std::wstring ReadString(const std::wstring& section, const std::wstring& ident, const std::wstring& defaultValue);
    // Every value of a section in one walk of its key, one registry query per value where a read by name takes
    // two (none when the section cannot be opened). For the lists of thousands of entries.
    std::vector<StoredValue> Values(const std::wstring& section);
    // The stored text, or nothing when the value is absent.
    std::optional<std::wstring> ReadText(const std::wstring& section, const std::wstring& ident);

    // Writes create the section with its parents; a section that cannot be created or opened for writing
    // throws AppError "キー <section> の作成に失敗しました", a value that cannot be set
    // "'<ident>' の設定に失敗しました".
    void WriteInteger(const std::wstring& section, const std::wstring& ident, std::int32_t value) override;
    void WriteBool(const std::wstring& section, const std::wstring& ident, bool value) override;
    void WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) override;
    // Deletes a value; nothing happens when the section cannot be opened or has no such value.
    void DeleteValue(const std::wstring& section, const std::wstring& ident);

private:
    std::wstring KeyPath(const std::wstring& section) const;
    // Keys stay open for the life of the store (one load or one commit); null when not openable.
    HKEY ReadKey(const std::wstring& section);
    HKEY WriteKey(const std::wstring& section);

    HKEY root_;
    std::wstring startPath_;
    RegistryKeyOpener openKey_;
    std::map<std::wstring, RegKey> readKeys_;
    std::map<std::wstring, RegKey> writeKeys_;
};

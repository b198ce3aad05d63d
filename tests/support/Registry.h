// The registry as the tests set and read it: values with their type, string values, and a key set aside
// during a test and put back after it.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "base/Handles.h"
#include "support/TestSupport.h"

// Writes a value, creating its key.
inline LSTATUS SetRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                                const void* data, DWORD size)
{
    RegKey key;
    LSTATUS status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.Put(), nullptr);
    return status != ERROR_SUCCESS
               ? status
               : RegSetValueExW(key.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

inline LSTATUS SetRegistryText(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& text,
                               DWORD type = REG_SZ)
{
    return SetRegistryValue(root, path, name, type, text.c_str(),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

inline void DeleteRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name)
{
    RegKey key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE, key.Put()) == ERROR_SUCCESS) {
        RegDeleteValueW(key.Get(), name.c_str());
    }
}

// A value's type and its data read as text up to the first null; REG_NONE when absent. RegGetValueW's flags say
// whether REG_EXPAND_SZ comes expanded.
inline std::pair<DWORD, std::wstring> ReadRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name,
                                                        DWORD flags = RRF_RT_ANY | RRF_NOEXPAND)
{
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegGetValueW(root, path.c_str(), name.c_str(), flags, &type, nullptr, &size) != ERROR_SUCCESS) {
        return {REG_NONE, L""};
    }
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    RegGetValueW(root, path.c_str(), name.c_str(), flags, &type, text.data(), &size);
    text.resize(wcslen(text.c_str()));
    return {type, text};
}

// The text of a string value, which must be REG_SZ; nothing when absent.
inline std::optional<std::wstring> RegistryText(HKEY root, const std::wstring& path, const std::wstring& name)
{
    auto [type, text] = ReadRegistryValue(root, path, name, RRF_RT_ANY);
    if (type == REG_NONE) {
        return std::nullopt;
    }
    EXPECT_EQ(type, DWORD{REG_SZ}) << Utf8(name);
    return text;
}

inline bool RegistryKeyExists(HKEY root, const std::wstring& path)
{
    RegKey key;
    return RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

// Copies a key of HKEY_CURRENT_USER with everything below it; false when there is none.
inline bool CopyUserKey(const std::wstring& from, const std::wstring& to)
{
    RegKey source, target;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, from.c_str(), 0, KEY_READ, source.Put()) != ERROR_SUCCESS) {
        return false;
    }
    RegCreateKeyExW(HKEY_CURRENT_USER, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, target.Put(), nullptr);
    return RegCopyTreeW(source.Get(), nullptr, target.Get()) == ERROR_SUCCESS;
}

// A key of HKEY_CURRENT_USER copied aside for a test, and put back as it was (or left absent) at its end.
class UserKeyAside {
public:
    UserKeyAside(std::wstring key, std::wstring backup) : key_(std::move(key)), backup_(std::move(backup))
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, backup_.c_str());
        hadKey_ = CopyUserKey(key_, backup_);
    }
    ~UserKeyAside()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
        if (hadKey_) {
            CopyUserKey(backup_, key_);
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, backup_.c_str());
    }
    UserKeyAside(const UserKeyAside&) = delete;
    UserKeyAside& operator=(const UserKeyAside&) = delete;

private:
    std::wstring key_;
    std::wstring backup_;
    bool hadKey_ = false;
};

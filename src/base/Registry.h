// The one way the programs reach the registry: keys owned by RegKey, string values (REG_SZ) read, written and
// deleted, and key trees deleted.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/Handles.h"

// Opens (create false) or creates with all missing parents (create true) a key below root.
LSTATUS OpenRegistryKey(HKEY root, const std::wstring& path, bool create, REGSAM access, HKEY* result);

// The text of a string value's data: registry strings need not end in a zero and may even have an odd byte count,
// so it is the text before the first zero.
std::wstring RegistryStringText(std::wstring_view data);

enum class StoredString { Absent, Text, OtherType };
// Reads a value of any length into text: REG_SZ or REG_EXPAND_SZ as stored (unexpanded), up to its first zero.
StoredString ReadStringValue(HKEY key, const wchar_t* name, std::wstring& text);
// A string value below root; empty when the key or the value is missing or of another type.
std::wstring ReadRegistryString(HKEY root, const wchar_t* path, const wchar_t* name);
// Writes a REG_SZ value.
LSTATUS WriteStringValue(HKEY key, const wchar_t* name, const std::wstring& value);
// Deletes a value of the key at path below root; the status of the opening or of the deletion.
LSTATUS DeleteRegistryValue(HKEY root, const wchar_t* path, const wchar_t* name);
// Deletes a key with everything below it; a key already gone gives ERROR_FILE_NOT_FOUND.
LSTATUS DeleteRegistryTree(HKEY root, const std::wstring& path);

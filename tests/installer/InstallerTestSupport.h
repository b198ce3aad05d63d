// What the installer's tests read back: a key's values (shortcuts through support/ShortcutReader.h).
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "base/Handles.h"
#include "support/ShortcutReader.h"
#include "support/TestSupport.h"

// Names and texts of a key's values in the order the registry lists them; every value must be a string.
inline std::vector<std::pair<std::wstring, std::wstring>> ValuesOf(HKEY root, const std::wstring& path)
{
    std::vector<std::pair<std::wstring, std::wstring>> values;
    RegKey key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) {
        return values;
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256] = {};
        DWORD nameLength = 256;
        wchar_t data[1024] = {};
        DWORD bytes = sizeof(data) - sizeof(wchar_t);
        DWORD type = 0;
        if (RegEnumValueW(key.Get(), i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes) !=
            ERROR_SUCCESS) {
            break;
        }
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << Utf8(name);
        values.emplace_back(name, data);
    }
    return values;
}

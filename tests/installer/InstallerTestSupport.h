// What the installer's tests read back: a shortcut file through the shell's link object, a key's values.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>
#include <utility>
#include <vector>

#include "shell/Handles.h"
#include "support/TestSupport.h"

// What a shortcut holds; empty fields when the file cannot be read.
struct Shortcut {
    std::wstring path, workingFolder, description, arguments;
};

inline Shortcut ReadShortcut(const std::wstring& file)
{
    Shortcut s;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
        return s;
    }
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
        if (SUCCEEDED(persist->Load(file.c_str(), STGM_READ))) {
            wchar_t text[1024] = {};
            link->GetPath(text, 1024, nullptr, SLGP_RAWPATH);
            s.path = text;
            link->GetWorkingDirectory(text, 1024);
            s.workingFolder = text;
            link->GetDescription(text, 1024);
            s.description = text;
            text[0] = L'\0';
            link->GetArguments(text, 1024);
            s.arguments = text;
        }
        persist->Release();
    }
    link->Release();
    return s;
}

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

// A shortcut file read back through the shell's link object, for the installer's tests and the program driver.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

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

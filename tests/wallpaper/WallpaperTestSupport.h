// Helpers of the wallpaper tests: the JPEG test images and their reference decodings, copies of them and
// dropped files (the scratch folder and the bitmaps are in support/ScratchFolder.h).
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/ScratchFolder.h"

inline std::wstring TestImage(const std::wstring& name)
{
    return std::wstring(SORABUNE_JPEG_TEST_IMAGES) + L"\\" + name;
}

// Derived pictures (greyscale, crops, CMYK) and the reference decodings (.pnm) live here.
inline std::wstring Reference(const std::wstring& name)
{
    return std::wstring(SORABUNE_JPEG_REFERENCES) + L"\\" + name;
}

inline bool CopyTestFile(const std::wstring& from, const std::wstring& to)
{
    return WriteBytes(to, ReadBytes(from)) && !ReadBytes(to).empty();
}

inline bool FileExistsForTest(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES;
}

// A WM_DROPFILES handle as the shell makes it: a DROPFILES block with wide names, each ended by a null.
inline HDROP MakeDrop(const std::vector<std::wstring>& files)
{
    std::size_t chars = 1;
    for (const auto& f : files) {
        chars += f.size() + 1;
    }
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* names = reinterpret_cast<wchar_t*>(header + 1);
    for (const auto& f : files) {
        std::copy(f.begin(), f.end(), names);
        names += f.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// Scratch files of the tests: a folder of its own under %TEMP%, drive T: that can be pulled like a stick,
// whole-file reads and writes and the small grey bitmaps the folders are filled with.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/Handles.h"

inline std::vector<unsigned char> ReadBytes(const std::wstring& path)
{
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::vector<unsigned char> bytes;
    if (!file) {
        return bytes;
    }
    LARGE_INTEGER size = {};
    GetFileSizeEx(file.Get(), &size);
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (!bytes.empty()) {
        ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    }
    bytes.resize(got);
    return bytes;
}

inline bool WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes)
{
    FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           (bytes.empty() ||
            WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) &&
           written == bytes.size();
}

// An all-grey 24-bit bitmap file of the given size.
inline std::vector<unsigned char> GreyBitmap(unsigned width, unsigned height)
{
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    const DWORD stride = (width * 3 + 3) & ~3u;
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + stride * height;
    info.biSize = sizeof(info);
    info.biWidth = static_cast<LONG>(width);
    info.biHeight = static_cast<LONG>(height);
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = stride * height;
    std::vector<unsigned char> bytes(file.bfSize, 0x80);
    std::memcpy(bytes.data(), &file, sizeof(file));
    std::memcpy(bytes.data() + sizeof(file), &info, sizeof(info));
    return bytes;
}

// A name in %TEMP% (the folder itself, with its final backslash, for an empty name).
inline std::wstring TempPath(const std::wstring& name = L"")
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return temp + name;
}

// A folder of its own under %TEMP%, removed with everything in it at the end. The process id is part of its
// name: ctest runs the tests of one program in parallel processes, which must not clear each other's files.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& name)
    {
        path_ = TempPath(name) + L"." + std::to_wstring(GetCurrentProcessId()) + L"\\";
        Remove();
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { Remove(); }
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + name; }

    std::wstring Bitmap(const std::wstring& name, unsigned width = 4, unsigned height = 3) const
    {
        WriteBytes(path_ + name, GreyBitmap(width, height));
        return path_ + name;
    }

    // Names of the files in the folder, sorted.
    std::vector<std::wstring> Names() const
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data = {};
        HANDLE find = FindFirstFileW((path_ + L"*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) {
            return names;
        }
        do {
            std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") {
                names.push_back(name);
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    void Remove()
    {
        std::wstring from = path_;
        from.pop_back();
        from.push_back(L'\0');
        from.push_back(L'\0');
        SHFILEOPSTRUCTW op = {};
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = FOF_NO_UI;
        SHFileOperationW(&op);
    }

    std::wstring path_;
};

// Drive T: of the test session's Wine prefix, whose root is a folder of the build (SORABUNE_TEST_DRIVE_FOLDER,
// as Wine sees it on Z:). Unplug renames that folder, so the drive is absent to every program as a pulled
// stick is; Plug brings it back.
class TestDrive {
public:
    static constexpr wchar_t kRoot[] = L"T:\\";
    TestDrive() { Clear(); }
    ~TestDrive()
    {
        Plug();
        Clear();
    }
    static bool Available()
    {
#ifdef SORABUNE_TEST_DRIVE_FOLDER
        // A run ended while the drive was away left the folder renamed.
        Move(Folder() + L".away", Folder());
        return GetFileAttributesW(SORABUNE_TEST_DRIVE_FOLDER) != INVALID_FILE_ATTRIBUTES &&
               GetFileAttributesW(kRoot) != INVALID_FILE_ATTRIBUTES;
#else
        return false;
#endif
    }
    std::wstring Bitmap(const std::wstring& name) const
    {
        WriteBytes(kRoot + name, GreyBitmap(4, 3));
        return kRoot + name;
    }
    void Unplug()
    {
        Move(Folder(), Folder() + L".away");
    }
    void Plug()
    {
        Move(Folder() + L".away", Folder());
    }

private:
    static std::wstring Folder()
    {
#ifdef SORABUNE_TEST_DRIVE_FOLDER
        return SORABUNE_TEST_DRIVE_FOLDER;
#else
        return L"";
#endif
    }
    static void Move(const std::wstring& from, const std::wstring& to)
    {
        if (GetFileAttributesW(from.c_str()) != INVALID_FILE_ATTRIBUTES) {
            MoveFileW(from.c_str(), to.c_str());
        }
    }
    void Clear()
    {
        WIN32_FIND_DATAW data = {};
        HANDLE find = FindFirstFileW((std::wstring(kRoot) + L"*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) {
            return;
        }
        do {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                DeleteFileW((std::wstring(kRoot) + data.cFileName).c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
};

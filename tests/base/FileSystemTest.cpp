// Folder and volume of a path: a root keeps its backslash, a share is its own volume.
#include <gtest/gtest.h>

#include "base/FileSystem.h"

TEST(FileSystemTest, FolderAndVolumeOfPaths)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* folder;
        const wchar_t* volume;
    };
    const Case cases[] = {
        {L"D:\\a.bmp", L"D:\\", L"D:\\"},
        {L"C:\\壁紙\\a.bmp", L"C:\\壁紙", L"C:\\"},
        {L"C:/x/y/a.bmp", L"C:/x/y", L"C:\\"},
        {L"\\\\server\\share\\a.bmp", L"\\\\server\\share\\", L"\\\\server\\share\\"},
        {L"\\\\server\\share\\sub\\a.bmp", L"\\\\server\\share\\sub", L"\\\\server\\share\\"},
        {L"\\\\server\\share", L"\\\\server\\share", L"\\\\server\\share\\"},
        {L"a.bmp", L"", L""},
        {L"sub\\a.bmp", L"sub", L""},
        {L"D:a.bmp", L"", L""},
        {L"", L"", L""},
        {L"\\\\?\\C:\\壁紙\\a.bmp", L"\\\\?\\C:\\壁紙", L"C:\\"},
        {L"\\\\?\\D:\\a.bmp", L"\\\\?\\D:\\", L"D:\\"},
        {L"\\\\?\\UNC\\server\\share\\sub\\a.bmp", L"\\\\?\\UNC\\server\\share\\sub", L"\\\\server\\share\\"},
        {L"\\\\?\\unc\\server\\share\\a.bmp", L"\\\\?\\unc\\server\\share\\", L"\\\\server\\share\\"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FolderOf(c.path), c.folder) << testing::PrintToString(std::wstring(c.path));
        EXPECT_EQ(VolumeOf(c.path), c.volume) << testing::PrintToString(std::wstring(c.path));
    }
    // Every spelling of one folder is one folder.
    for (const wchar_t* path : {L"c:/pics/b.bmp", L"\\\\?\\C:\\PICS\\c.bmp", L"C:\\Pics\\"}) {
        EXPECT_EQ(FolderIdentity(path), L"C:\\PICS") << testing::PrintToString(std::wstring(path));
    }
    EXPECT_EQ(FolderIdentity(L"\\\\?\\UNC\\Srv\\Pics\\x\\a.bmp"), L"\\\\SRV\\PICS\\X");
}

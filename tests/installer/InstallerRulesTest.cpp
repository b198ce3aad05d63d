// The installer's path rules: folders from program paths, shortcut places, long and Japanese paths kept
// whole, and the shell's double-null lists.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "installer/InstallerRules.h"
#include "support/TestSupport.h"

TEST(InstallerRulesTest, PathsFollowTheInstallersOwnFolder)
{
    InstallPaths p = MakeInstallPaths(L"D:\\ソフト\\Sorabune\\Install.exe", L"C:\\WINDOWS",
                                      L"C:\\Documents and Settings\\空舟\\デスクトップ",
                                      L"C:\\Documents and Settings\\空舟\\スタート メニュー\\プログラム\\");
    EXPECT_EQ(Utf8(p.installFolder), "D:\\ソフト\\Sorabune");
    EXPECT_EQ(Utf8(p.shortcutTarget), "D:\\ソフト\\Sorabune\\Sorabune.exe");
    EXPECT_EQ(Utf8(p.workingFolder), "D:\\ソフト\\Sorabune\\");
    EXPECT_EQ(Utf8(p.uninstallerSource), "D:\\ソフト\\Sorabune\\Uninst_Sorabune.exe");
    EXPECT_EQ(Utf8(p.uninstallerCommand), "C:\\WINDOWS\\Uninst_Sorabune.exe");
    EXPECT_EQ(Utf8(p.desktopShortcut), "C:\\Documents and Settings\\空舟\\デスクトップ\\Sorabune.lnk");
    EXPECT_EQ(Utf8(p.programsShortcut),
              "C:\\Documents and Settings\\空舟\\スタート メニュー\\プログラム\\Sorabune.lnk");
}

TEST(InstallerRulesTest, RootFoldersMissingFoldersAndLongPaths)
{
    InstallPaths root = MakeInstallPaths(L"E:\\Install.exe", L"C:\\Windows\\", L"", L"");
    EXPECT_EQ(Utf8(root.shortcutTarget), "E:\\Sorabune.exe");
    EXPECT_EQ(Utf8(root.workingFolder), "E:\\");
    EXPECT_EQ(Utf8(root.uninstallerCommand), "C:\\Windows\\Uninst_Sorabune.exe");
    // No desktop or Programs folder: no shortcut there (never one at the root of the current drive).
    EXPECT_TRUE(root.desktopShortcut.empty());
    EXPECT_TRUE(root.programsShortcut.empty());

    const std::wstring longFolder = L"C:\\" + std::wstring(300, L'あ');
    InstallPaths deep = MakeInstallPaths(longFolder + L"\\Install.exe", longFolder, longFolder, longFolder);
    EXPECT_EQ(deep.desktopShortcut, longFolder + L"\\Sorabune.lnk");
    EXPECT_EQ(deep.uninstallerCommand, longFolder + L"\\Uninst_Sorabune.exe");
    EXPECT_EQ(deep.shortcutTarget, longFolder + L"\\Sorabune.exe");
}

TEST(InstallerRulesTest, ShellListsEndInTwoZeros)
{
    std::wstring list = DoubleZeroList(L"C:\\a b\\Uninst_Sorabune.exe");
    ASSERT_EQ(list.size(), wcslen(L"C:\\a b\\Uninst_Sorabune.exe") + 2);
    EXPECT_EQ(list[list.size() - 1], L'\0');
    EXPECT_EQ(list[list.size() - 2], L'\0');
    EXPECT_EQ(FolderOfFile(L"Install.exe"), L"");
}

// The uninstaller's rules: the folders it trusts, the one the uninstall entry names, the files it removes and
// only where they lie in that folder itself, its delete command as cmd.exe runs it and its report.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "support/ScratchFolder.h"
#include "support/TestSupport.h"
#include "uninstaller/ProgramRemoval.h"
#include "uninstaller/UninstallRules.h"

TEST(UninstallRulesTest, OnlyFullPathsAreTrustedForDeleting)
{
    for (const wchar_t* good : {L"C:\\Program Files\\Sorabune", L"d:", L"C:\\", L"\\\\server\\share\\Sorabune"}) {
        EXPECT_TRUE(IsUsableInstallFolder(good)) << Utf8(good);
    }
    for (const wchar_t* bad : {L"", L"Sorabune", L"\\Sorabune", L"C:Sorabune", L"\\\\?\\C:\\x", L"\\\\.\\pipe",
                               L"C:\\a\" & del x", L"1:\\x"}) {
        EXPECT_FALSE(IsUsableInstallFolder(bad)) << Utf8(bad);
    }
}

// Only "InstallLocation" of the machine-wide entry is trusted; the user's "Path" only for an entry without it
// (an earlier installation), and only where the resident program lies.
TEST(UninstallRulesTest, TheEntrysInstallLocationNamesTheFolderAndPathOnlyAFolderHoldingTheProgram)
{
    const auto holdsProgram = [](const std::wstring& file) { return file == L"C:\\旧\\SorabuneOpt.exe"; };
    const wchar_t* rows[][3] = {{L"C:\\ソフト", L"C:\\旧", L"C:\\ソフト"},
                                {L"C:\\ソフト", L"C:\\Windows", L"C:\\ソフト"},
                                {L"", L"C:\\旧\\", L"C:\\旧\\"},
                                {L"", L"C:\\Windows", L""},
                                {L"", L"", L""}};
    for (const auto& row : rows) {
        EXPECT_EQ(FolderToUninstall(row[0], row[1], holdsProgram), row[2]) << Utf8(row[0]) << " / " << Utf8(row[1]);
    }
}

TEST(UninstallRulesTest, RemovesTheProgramsAndTheReadmeOfTheFolder)
{
    auto files = InstalledFiles(L"C:\\ソフト\\Sorabune\\");
    std::vector<std::string> names;
    for (const auto& f : files) {
        names.push_back(Utf8(f));
    }
    EXPECT_EQ(names, (std::vector<std::string>{
                         "C:\\ソフト\\Sorabune\\SorabuneOpt.exe", "C:\\ソフト\\Sorabune\\SorabuneConv.exe",
                         "C:\\ソフト\\Sorabune\\Sorabune.exe", "C:\\ソフト\\Sorabune\\Install.exe",
                         "C:\\ソフト\\Sorabune\\Uninst_Sorabune.exe", "C:\\ソフト\\Sorabune\\Readme.txt"}));
    EXPECT_EQ(Utf8(InstalledFiles(L"d:").front()), "d:\\SorabuneOpt.exe");
}

// What cmd.exe makes of the command, in a scratch folder whose name has a space and Japanese characters: the
// file goes; held open it outlasts the rounds; and nothing else appears in the folder either way.
TEST(UninstallRulesTest, DeleteCommandUnderCmdRemovesTheFileAndLeavesNothingElse)
{
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring cmd = std::wstring(system) + L"\\cmd.exe";
    const std::wstring folder = TempPath(L"空舟 削除試験");
    const std::wstring file = folder + L"\\Uninst_Sorabune.exe";
    const struct {
        bool held;
        int attempts;
        std::vector<std::wstring> left;
    } cases[] = {{false, kDeleteAttempts, {}}, {true, 2, {L"Uninst_Sorabune.exe"}}};
    for (const auto& c : cases) {
        CreateDirectoryW(folder.c_str(), nullptr);
        FileHandle target(CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(target);
        if (!c.held) {
            target.Reset();
        }
        std::wstring commandLine = L"\"" + cmd + L"\" " + DeleteAfterExitCommand(file, c.attempts);
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        ASSERT_TRUE(CreateProcessW(cmd.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                   folder.c_str(), &si, &pi));
        CloseHandle(pi.hThread);
        EXPECT_EQ(WaitForSingleObject(pi.hProcess, 120000), WAIT_OBJECT_0);
        CloseHandle(pi.hProcess);
        target.Reset();

        std::vector<std::wstring> left;
        WIN32_FIND_DATAW found = {};
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
        for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found)) {
            if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0) {
                left.push_back(found.cFileName);
                DeleteFileW((folder + L"\\" + found.cFileName).c_str());
            }
        }
        if (find != INVALID_HANDLE_VALUE) {
            FindClose(find);
        }
        RemoveDirectoryW(folder.c_str());
        EXPECT_EQ(left, c.left) << "held: " << c.held;
    }
}

TEST(UninstallRulesTest, ReportNamesEverythingLeftBehind)
{
    EXPECT_EQ(Utf8(UninstallReport({})), "Sorabune のアンインストールが終了しました");
    EXPECT_EQ(Utf8(UninstallReport({L"C:\\a\\Sorabune.exe", L"HKEY_CURRENT_USER\\Software\\Sorabune"})),
              "次のものを削除できませんでした。\r\n\r\nC:\\a\\Sorabune.exe\r\nHKEY_CURRENT_USER\\Software\\Sorabune");
}

namespace {
// The programs' removal on a file system of named entries: the real path each name reaches, the folders that are
// links, and what was deleted.
class NamedEntries : public RemovalFileSystem {
public:
    std::map<std::wstring, std::wstring> realPaths; // of the entries present
    std::set<std::wstring> links;
    std::vector<std::wstring> deleted;

    bool IsLink(const std::wstring& folder) override { return links.count(folder) > 0; }
    std::unique_ptr<OpenedEntry> Open(const std::wstring& path, bool, bool& absent) override
    {
        const auto found = realPaths.find(path);
        absent = found == realPaths.end();
        return absent ? nullptr : std::make_unique<Entry>(found->second, deleted);
    }

private:
    struct Entry : OpenedEntry {
        Entry(std::wstring realPath, std::vector<std::wstring>& deleted) : real(std::move(realPath)), log(deleted) {}
        std::wstring RealPath() const override { return real; }
        bool Delete() override
        {
            log.push_back(real);
            return true;
        }
        std::wstring real;
        std::vector<std::wstring>& log;
    };
};
} // namespace

TEST(UninstallRulesTest, DeletesOnlyWhatLiesInTheInstallationFolderItself)
{
    const std::wstring folder = L"C:\\ソフト\\Sorabune";
    const std::vector<std::wstring> files = InstalledFiles(folder);
    const std::wstring linked = L"インストール先 " + folder + L" のプログラム (フォルダがリンクを経由しているため)";
    const struct {
        const char* row;
        std::wstring folderReal; // where the folder's name leads
        std::wstring link;       // a folder on the way that is a link
        std::wstring readmeReal; // where the read-me's name leads
        std::vector<std::wstring> deleted;
        std::vector<std::wstring> notRemoved;
    } rows[] = {
        {"plain",
         L"\\\\?\\c:\\ソフト\\SORABUNE",
         L"",
         files[4],
         {files[0], files[1], files[2], files[3], files[4], L"\\\\?\\c:\\ソフト\\SORABUNE"},
         {}},
        {"redirected folder", L"C:\\他", folder, files[4], {}, {linked}},
        {"link above", folder, L"C:\\ソフト", files[4], {}, {linked}},
        {"linked read-me",
         folder,
         L"",
         L"C:\\他\\Readme.txt",
         {files[0], files[1], files[2], files[3], folder},
         {files[4]}},
    };
    for (const auto& r : rows) {
        NamedEntries entries;
        entries.realPaths = {{folder, r.folderReal}, {files[0], files[0]}, {files[1], files[1]},
                             {files[2], files[2]},   {files[3], files[3]}, {files[4], r.readmeReal}};
        entries.links = {r.link};
        std::vector<std::wstring> notRemoved;
        RemovePrograms(folder + L"\\", L"C:\\Windows\\Uninst_Sorabune.exe", entries, notRemoved);
        EXPECT_EQ(entries.deleted, r.deleted) << r.row;
        EXPECT_EQ(notRemoved, r.notRemoved) << r.row;
    }
}

// The existence check behind the purge: path by path for small folders, a reused folder listing for large
// settled ones, and never a missing file reported present after its folder changed.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "base/FileExistence.h"
#include "base/FileSystem.h"
#include "support/ScratchFolder.h"

namespace {
constexpr int kMany = 100;

// Stamps a folder as last changed a minute ago plus an offset, as a settled folder is.
void SetFolderStamp(const std::wstring& folder, int offsetSeconds)
{
    FileHandle handle(CreateFileW(folder.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_TRUE(static_cast<bool>(handle));
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t = {{now.dwLowDateTime, now.dwHighDateTime}};
    t.QuadPart -= (60ULL - offsetSeconds) * 10000000ULL;
    FILETIME stamp = {t.LowPart, t.HighPart};
    ASSERT_TRUE(SetFileTime(handle.Get(), nullptr, nullptr, &stamp));
}

class FileExistenceTest : public testing::Test {
protected:
    std::vector<bool> Present(const std::vector<std::wstring>& asked)
    {
        std::vector<bool> present;
        for (FileState state : existence.Check(asked)) {
            EXPECT_NE(state, FileState::VolumeAbsent);
            present.push_back(state == FileState::Present);
        }
        return present;
    }

    void SetUp() override
    {
        for (int i = 0; i < kMany; ++i) {
            paths.push_back(folder.Bitmap(L"壁紙" + std::to_wstring(i) + L".bmp", 1, 1));
        }
    }
    std::wstring Folder() const { return folder.Path().substr(0, folder.Path().size() - 1); }

    ScratchFolder folder{L"SorabuneFileExistenceTest"};
    std::vector<std::wstring> paths;
    FileExistence existence;
};
} // namespace

TEST_F(FileExistenceTest, FilesFoldersAndMissingNamesInSmallAndLargeFolders)
{
    CreateDirectoryW((folder / L"sub.bmp").c_str(), nullptr);
    std::vector<std::wstring> asked = paths;
    asked.push_back(folder / L"sub.bmp");
    asked.push_back(folder / L"none.bmp");
    asked.push_back(L"");
    asked.push_back(L"C:\\no\\such\\folder\\x.bmp");
    std::wstring upper = paths[3];
    CharUpperW(upper.data());
    asked.push_back(upper);
    // Right after a path of the listed folder: another folder, spelled as long, with the same name in it.
    std::wstring sibling = paths[3];
    sibling[Folder().size() - 1] = L'~';
    asked.push_back(sibling);
    SetFolderStamp(Folder(), 0);
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<bool> present = Present(asked);
        for (int i = 0; i < kMany; ++i) {
            EXPECT_TRUE(present[i]) << i;
        }
        EXPECT_FALSE(present[kMany]) << "a folder is no file";
        EXPECT_FALSE(present[kMany + 1]);
        EXPECT_FALSE(present[kMany + 2]);
        EXPECT_FALSE(present[kMany + 3]);
        EXPECT_TRUE(present[kMany + 4]) << "names are not case-sensitive";
        EXPECT_FALSE(present[kMany + 5]) << "another folder's listing";
    }
    EXPECT_EQ(Present({paths[0], folder / L"none.bmp"}), (std::vector<bool>{true, false})) << "small batch";
}

TEST_F(FileExistenceTest, AChangedFolderIsListedAgainAndNewFilesAreFoundAtOnce)
{
    SetFolderStamp(Folder(), 0);
    std::vector<std::wstring> asked = paths;
    asked.push_back(folder / L"later.bmp");
    EXPECT_FALSE(Present(asked).back());

    // Deleting stamps the folder anew: the next check sees it, at once and after the stamp has settled.
    DeleteFileW(paths[10].c_str());
    DeleteFileW(paths[11].c_str());
    EXPECT_FALSE(Present(asked)[10]);
    SetFolderStamp(Folder(), 1);
    std::vector<bool> present = Present(asked);
    EXPECT_FALSE(present[10]);
    EXPECT_FALSE(present[11]);
    EXPECT_TRUE(present[12]);

    // A file that was not in the listing is asked for directly, whatever the stamp says.
    folder.Bitmap(L"later.bmp", 1, 1);
    SetFolderStamp(Folder(), 1);
    EXPECT_TRUE(Present(asked).back());
}

// Counts the questions and plays the clock, a folder that changes whenever it is asked again (a sync client
// saving into it) and a server that is away.
class CountingQueries : public FileQueries {
public:
    bool VolumePresent(const std::wstring& volume) override
    {
        ++volumeQuestions[volume];
        return volume.rfind(L"\\\\AWAY\\", 0) != 0 && FileQueries::VolumePresent(volume);
    }
    bool FolderStamp(const std::wstring& folder, FILETIME& lastWrite) override
    {
        if (!FileQueries::FolderStamp(folder, lastWrite)) {
            return false;
        }
        if (stampQuestions++ > 0) {
            GetSystemTimeAsFileTime(&lastWrite);
        }
        return true;
    }
    ULONGLONG Milliseconds() override { return now; }

    std::map<std::wstring, int> volumeQuestions;
    int stampQuestions = 0;
    ULONGLONG now = 1000;
};

TEST_F(FileExistenceTest, OneFolderSpelledSeveralWaysIsOneFolderThroughoutACheck)
{
    SetFolderStamp(Folder(), 0);
    std::vector<std::wstring> asked = paths;
    for (const std::wstring& path : paths) {
        std::wstring other = L"\\\\?\\" + path;
        CharUpperW(other.data());
        asked.push_back(other);
    }
    asked.push_back(folder / L"none.bmp");
    CountingQueries queries;
    FileExistence existence(queries);
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<FileState> states = existence.Check(asked);
        EXPECT_EQ(std::count(states.begin(), states.end(), FileState::Present), 2 * kMany) << pass;
        EXPECT_EQ(states.back(), FileState::Missing);
        EXPECT_EQ(queries.stampQuestions, pass + 1) << "one listing decision per folder and check";
    }
}

TEST(FileExistenceVolumeTest, AnAbsentShareIsAskedOnceAMinuteAPresentVolumeAtEveryCheck)
{
    ScratchFolder folder{L"SorabuneFileExistenceVolumes"};
    const std::wstring here = folder.Bitmap(L"here.bmp");
    const std::wstring away = L"\\\\away\\pics\\a.bmp", awayLong = L"\\\\?\\UNC\\away\\pics\\b.bmp";
    const std::wstring local = VolumeOf(here);
    CountingQueries queries;
    FileExistence existence(queries);
    struct Step {
        ULONGLONG now;
        int awayQuestions, localQuestions;
    };
    for (const Step& step : {Step{1000, 1, 1}, Step{31000, 1, 2}, Step{60999, 1, 3}, Step{61000, 2, 4}}) {
        queries.now = step.now;
        EXPECT_EQ(existence.Check({away, here, awayLong}),
                  (std::vector<FileState>{FileState::VolumeAbsent, FileState::Present, FileState::VolumeAbsent}));
        EXPECT_EQ(queries.volumeQuestions[L"\\\\AWAY\\PICS\\"], step.awayQuestions) << step.now;
        EXPECT_EQ(queries.volumeQuestions[local], step.localQuestions) << step.now;
    }
}

TEST(FileExistenceRootTest, ARootFolderIsListedAndStampedAsTheRootNotAsTheDrivesCurrentFolder)
{
    ASSERT_TRUE(TestDrive::Available()) << "no drive T: (scripts/wine-session maps it)";
    TestDrive drive;
    const std::wstring sub = std::wstring(TestDrive::kRoot) + L"sub";
    CreateDirectoryW(sub.c_str(), nullptr);
    std::vector<std::wstring> paths;
    for (int i = 0; i < kMany; ++i) {
        paths.push_back(drive.Bitmap(L"r" + std::to_wstring(i) + L".bmp"));
    }
    // "T:" alone is the drive's current folder: here a subfolder, which a deletion in the root leaves alone.
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(sub.c_str());
    SetFolderStamp(TestDrive::kRoot, 0);
    SetFolderStamp(sub, 0);
    FileExistence existence;
    std::vector<FileState> states = existence.Check(paths);
    EXPECT_EQ(std::count(states.begin(), states.end(), FileState::Present), kMany);
    DeleteFileW(paths[5].c_str());
    SetFolderStamp(TestDrive::kRoot, 1);
    states = existence.Check(paths);
    SetCurrentDirectoryW(previous);
    RemoveDirectoryW(sub.c_str());
    EXPECT_EQ(states[5], FileState::Missing);
    EXPECT_EQ(states[6], FileState::Present);
}

TEST(FileExistenceRootTest, EntriesOnAnAbsentDriveOrShareAreNeitherPresentNorMissing)
{
    ASSERT_TRUE(TestDrive::Available()) << "no drive T: (scripts/wine-session maps it)";
    TestDrive drive;
    ScratchFolder folder{L"SorabuneFileExistenceAbsent"};
    const std::wstring here = folder.Bitmap(L"here.bmp");
    const std::wstring there = drive.Bitmap(L"there.bmp");
    const std::vector<std::wstring> asked = {here, there, std::wstring(TestDrive::kRoot) + L"never.bmp",
                                             L"\\\\sorabune-no-server\\pics\\a.bmp", folder / L"gone.bmp"};
    FileExistence existence;
    using S = FileState;
    EXPECT_EQ(existence.Check(asked),
              (std::vector<S>{S::Present, S::Present, S::Missing, S::VolumeAbsent, S::Missing}));
    drive.Unplug();
    EXPECT_EQ(existence.Check(asked),
              (std::vector<S>{S::Present, S::VolumeAbsent, S::VolumeAbsent, S::VolumeAbsent, S::Missing}));
    EXPECT_EQ(FileStateOf(there), S::VolumeAbsent);
    drive.Plug();
    EXPECT_EQ(existence.Check(asked)[1], S::Present);
}

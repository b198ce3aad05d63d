// The installation run in-process on scratch folders with Japanese names, its registry writes redirected
// into a scratch key: values in order, shortcuts read back, a second run, an older uninstaller that cannot be
// deleted, a shortcut that cannot be made, the refused machine key, the refusal without a restricted library
// search, and the completion window.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "installer/InstallerWindow.h"
#include "installer/Installation.h"
#include "installer/InstallerTestSupport.h"
#include "installer/InstallerIds.h"
#include "settings/IniStore.h"
#include "settings/SettingsLayout.h"
#include "base/Dpi.h"
#include "base/ElevatedStart.h"
#include "base/Handles.h"
#include "base/Registry.h"
#include "support/Registry.h"
#include "support/ScratchFolder.h"
#include "support/TestSupport.h"

namespace {
constexpr wchar_t kScratchKey[] = L"Software\\SorabuneInstallationTest";
struct FileOperationCall {
    HWND owner;
    UINT function;
    std::wstring from; // with its two closing zeros
    std::wstring to;
    FILEOP_FLAGS flags;
};

std::wstring ZeroZeroList(const wchar_t* list)
{
    std::wstring text;
    while (*list) {
        text.append(list).push_back(L'\0');
        list += wcslen(list) + 1;
    }
    return text + L'\0';
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteFile(const std::wstring& path, const char* content)
{
    WriteBytes(path, std::vector<unsigned char>(content, content + strlen(content)));
}

std::string Content(const std::wstring& path)
{
    const std::vector<unsigned char> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void SetText(const std::wstring& path, const wchar_t* name, const std::wstring& text)
{
    SetRegistryText(HKEY_CURRENT_USER, path, name, text);
}

// Passes the installer's settings on to the real store and notes their order.
class RecordingWriter : public IniWriter {
public:
    explicit RecordingWriter(IniStore& store) : store_(store) {}
    void WriteInteger(const std::wstring& section, const std::wstring& ident, std::int32_t value) override
    {
        written.push_back(section + L"\\" + ident);
        store_.WriteInteger(section, ident, value);
    }
    void WriteBool(const std::wstring& section, const std::wstring& ident, bool value) override
    {
        written.push_back(section + L"\\" + ident);
        store_.WriteBool(section, ident, value);
    }
    void WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) override
    {
        written.push_back(section + L"\\" + ident);
        store_.WriteString(section, ident, value);
    }
    std::vector<std::wstring> written;

private:
    IniStore& store_;
};

// What the layout's starting values are, written nowhere: each write's section and name in order, and the texts by
// section.
class DefaultsRecorder : public IniWriter {
public:
    void WriteInteger(const std::wstring& section, const std::wstring& ident, std::int32_t value) override
    {
        WriteString(section, ident, EncodeInteger(value));
    }
    void WriteBool(const std::wstring& section, const std::wstring& ident, bool value) override
    {
        WriteString(section, ident, EncodeFlag(value));
    }
    void WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) override
    {
        written.push_back(section + L"\\" + ident);
        values[section].emplace_back(ident, value);
    }
    std::vector<std::wstring> written;
    std::map<std::wstring, std::vector<std::pair<std::wstring, std::wstring>>> values;
};

std::vector<std::pair<std::wstring, std::wstring>> Sorted(std::vector<std::pair<std::wstring, std::wstring>> values)
{
    std::sort(values.begin(), values.end());
    return values;
}

class InstallationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
        scratch_.emplace(L"空舟インストール試験");
        root_ = scratch_->Path().substr(0, scratch_->Path().size() - 1);
        for (const wchar_t* sub : {L"\\ソフト", L"\\ウィンドウズ", L"\\デスクトップ", L"\\プログラム"}) {
            CreateDirectoryW((root_ + sub).c_str(), nullptr);
        }
        WriteFile(root_ + L"\\ソフト\\Uninst_Sorabune.exe", "uninstaller");
        paths_ = MakeInstallPaths(root_ + L"\\ソフト\\Install.exe", root_ + L"\\ウィンドウズ",
                                  root_ + L"\\デスクトップ", root_ + L"\\プログラム");
        CapturedErrors().clear();
        owner_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(owner_);
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
        RegDeleteKeyW(HKEY_CURRENT_USER, kScratchKey);
        scratch_.reset();
        CoUninitialize();
    }

    std::wstring Settings(const wchar_t* section) const
    {
        return std::wstring(kScratchKey) + L"\\HKCU\\Software\\" + section;
    }

    std::optional<ScratchFolder> scratch_;
    std::wstring root_;
    InstallPaths paths_;
    bool denyMachine_ = false;
    std::vector<std::wstring> created_;
    std::vector<FileOperationCall> fileOperations_;
    const InstallSystem system_{
        // Every key of the installation lands below the scratch key, under a subkey naming its root.
        [this](HKEY root, const std::wstring& path, bool create, REGSAM access, HKEY* result) {
            const bool machine = root == HKEY_LOCAL_MACHINE;
            if (machine && denyMachine_) {
                return static_cast<LSTATUS>(ERROR_ACCESS_DENIED);
            }
            if (create) {
                created_.push_back(path);
            }
            std::wstring redirected = std::wstring(kScratchKey) + (machine ? L"\\HKLM\\" : L"\\HKCU\\") + path;
            return OpenRegistryKey(HKEY_CURRENT_USER, redirected, create, access, result);
        },
        // Notes the call as the installer made it, then lets the shell do it without windows of its own, which
        // would wait for an answer.
        [this](SHFILEOPSTRUCTW* op) {
            fileOperations_.push_back(
                {op->hwnd, op->wFunc, ZeroZeroList(op->pFrom), ZeroZeroList(op->pTo), op->fFlags});
            SHFILEOPSTRUCTW quiet = *op;
            quiet.fFlags |= FOF_NOERRORUI | FOF_SILENT;
            return SHFileOperationW(&quiet);
        }};
    HWND owner_ = nullptr;
};
} // namespace

TEST_F(InstallationTest, WritesEntryShortcutsAndDefaultsValueForValueInOrder)
{
    IniStore store(HKEY_CURRENT_USER, kSettingsStartPath, system_.openKey);
    RecordingWriter writer(store);
    RunInstallation(owner_, system_, TestErrors(), paths_, &writer);
    EXPECT_TRUE(CapturedErrors().empty());

    auto entry = ValuesOf(HKEY_CURRENT_USER, std::wstring(kScratchKey) + L"\\HKLM\\" + kUninstallKey);
    EXPECT_EQ(Sorted(entry), Sorted({{L"DisplayName", L"Sorabune"},
                                     {L"UninstallString", root_ + L"\\ウィンドウズ\\Uninst_Sorabune.exe"},
                                     {L"InstallLocation", root_ + L"\\ソフト"}}));

    EXPECT_FALSE(FileExists(paths_.uninstallerSource));
    EXPECT_TRUE(FileExists(paths_.uninstallerCommand));

    for (const std::wstring& file : {paths_.desktopShortcut, paths_.programsShortcut}) {
        Shortcut s = ReadShortcut(file);
        EXPECT_EQ(s.path, root_ + L"\\ソフト\\Sorabune.exe") << Utf8(file);
        EXPECT_EQ(s.workingFolder, root_ + L"\\ソフト\\") << Utf8(file);
        EXPECT_EQ(s.description, L"Sorabune");
        EXPECT_EQ(s.arguments, L"");
    }

    // The installation writes the layout's starting values (pinned in SettingsLayoutTest), in the table's order, with
    // the installation folder as "Path"; nothing else.
    DefaultsRecorder defaults;
    WriteInstallerDefaults(defaults, root_ + L"\\ソフト");
    EXPECT_EQ(writer.written, defaults.written);
    for (const wchar_t* section : {L"Sorabune", L"Sorabune\\OsiraseTimer", L"Sorabune\\KabeBmp"}) {
        EXPECT_EQ(Sorted(ValuesOf(HKEY_CURRENT_USER, Settings(section))), Sorted(defaults.values[section]));
    }
}

TEST_F(InstallationTest, SecondRunResetsTheDefaultsAndKeepsListsAndSounds)
{
    RunInstallation(owner_, system_, TestErrors(), paths_);
    const std::wstring main = Settings(L"Sorabune");
    const std::wstring wallpaper = Settings(L"Sorabune\\KabeBmp");
    SetText(main, L"TimerWave", L"9");
    SetText(main, L"TimerWaveCount", L"9");
    SetText(main, L"TimerWave9", L"C:\\音.wav");
    SetText(wallpaper, L"KabeStyle", L"0");
    SetText(wallpaper, L"KabeListCount", L"1");
    SetText(wallpaper, L"KabeBmp1", L"C:\\壁紙.bmp");
    // A newer uninstaller in the package replaces the one in place by a new file: the old one, seen through a
    // second name, is not written over (it may belong to whoever unpacked an earlier package).
    WriteFile(paths_.uninstallerSource, "newer");
    const std::wstring oldUninstaller = root_ + L"\\古いアンインストーラ.exe";
    ASSERT_TRUE(CreateHardLinkW(oldUninstaller.c_str(), paths_.uninstallerCommand.c_str(), nullptr));

    RunInstallation(owner_, system_, TestErrors(), paths_);
    EXPECT_TRUE(CapturedErrors().empty());
    IniStore store(HKEY_CURRENT_USER, std::wstring(kScratchKey) + L"\\HKCU\\Software");
    EXPECT_EQ(store.ReadString(L"Sorabune", L"TimerWave", L""), L"0");
    EXPECT_EQ(store.ReadString(L"Sorabune", L"TimerWaveCount", L""), L"9");
    EXPECT_EQ(store.ReadString(L"Sorabune", L"TimerWave9", L""), L"C:\\音.wav");
    EXPECT_EQ(store.ReadString(L"Sorabune\\KabeBmp", L"KabeStyle", L""), L"2");
    EXPECT_EQ(store.ReadString(L"Sorabune\\KabeBmp", L"KabeListCount", L""), L"1");
    EXPECT_EQ(store.ReadString(L"Sorabune\\KabeBmp", L"KabeBmp1", L""), L"C:\\壁紙.bmp");
    EXPECT_FALSE(FileExists(paths_.uninstallerSource));
    EXPECT_EQ(Content(paths_.uninstallerCommand), "newer");
    EXPECT_EQ(Content(oldUninstaller), "uninstaller");

    // A third run from the same folder still asks the shell to copy the uninstaller, whose source is gone; the
    // shell reports that in its own window, and the installation goes on with the copy in place.
    fileOperations_.clear();
    RunInstallation(owner_, system_, TestErrors(), paths_);
    ASSERT_EQ(fileOperations_.size(), 1u);
    const FileOperationCall& copy = fileOperations_[0];
    EXPECT_EQ(copy.owner, owner_);
    EXPECT_EQ(copy.function, static_cast<UINT>(FO_COPY)) << "a moved file would keep its owner";
    EXPECT_EQ(copy.from, paths_.uninstallerSource + L'\0' + L'\0');
    EXPECT_EQ(copy.to, paths_.uninstallerCommand + L'\0' + L'\0');
    EXPECT_EQ(copy.flags, 0x0090) << "no confirmation, files only; the shell's own windows are not suppressed";
    EXPECT_TRUE(CapturedErrors().empty());
    EXPECT_TRUE(FileExists(paths_.uninstallerCommand));
}

// An older uninstaller that cannot be deleted (here open in a program that lets others write but not delete it) is
// not written over, since it would keep its owner: the copy takes a numbered name and the entry names that, also
// at a run after it from the same folder, which finds no uninstaller beside it.
TEST_F(InstallationTest, OlderUninstallerThatCannotBeDeletedIsNotWrittenOver)
{
    RunInstallation(owner_, system_, TestErrors(), paths_);
    WriteFile(paths_.uninstallerSource, "newer");
    FileHandle held(CreateFileW(paths_.uninstallerCommand.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    const std::wstring numbered = root_ + L"\\ウィンドウズ\\Uninst_Sorabune_2.exe";
    const std::wstring entry = std::wstring(kScratchKey) + L"\\HKLM\\" + kUninstallKey;
    for (int run = 2; run <= 3; ++run) {
        RunInstallation(owner_, system_, TestErrors(), paths_);
        EXPECT_TRUE(CapturedErrors().empty()) << run;
        EXPECT_EQ(Content(paths_.uninstallerCommand), "uninstaller") << run;
        EXPECT_EQ(Content(numbered), "newer") << run;
        EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, entry.c_str(), L"UninstallString"), numbered) << run;
    }
    EXPECT_FALSE(FileExists(paths_.uninstallerSource));
}

// A shortcut that cannot be saved, or whose folder the shell cannot give, is named; the rest is still made.
TEST_F(InstallationTest, ShortcutThatCannotBeMadeIsNamedAndTheRestGoesOn)
{
    const struct {
        std::wstring desktopFolder;
        std::wstring named;
    } rows[] = {{root_ + L"\\無いフォルダ", root_ + L"\\無いフォルダ\\Sorabune.lnk"},
                {L"", L"デスクトップ\\Sorabune.lnk"}};
    for (const auto& row : rows) {
        CapturedErrors().clear();
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
        DeleteFileW(paths_.programsShortcut.c_str());
        paths_ = MakeInstallPaths(root_ + L"\\ソフト\\Install.exe", root_ + L"\\ウィンドウズ", row.desktopFolder,
                                  root_ + L"\\プログラム");
        RunInstallation(owner_, system_, TestErrors(), paths_);
        ASSERT_EQ(CapturedErrors().size(), 1u) << Utf8(row.named);
        EXPECT_EQ(CapturedErrors()[0], L"ショートカット " + row.named + L" を作成できません");
        EXPECT_FALSE(FileExists(paths_.desktopShortcut));
        EXPECT_TRUE(FileExists(paths_.programsShortcut));
        EXPECT_FALSE(ValuesOf(HKEY_CURRENT_USER, Settings(L"Sorabune\\KabeBmp")).empty()) << "the settings are written";
    }
}

TEST_F(InstallationTest, RefusedMachineKeyShowsOneMessageAndTouchesNothingElse)
{
    denyMachine_ = true;
    RunInstallation(owner_, system_, TestErrors(), paths_);
    ASSERT_EQ(CapturedErrors().size(), 1u);
    EXPECT_EQ(Utf8(CapturedErrors()[0]), "'DisplayName' の設定に失敗しました");
    EXPECT_TRUE(FileExists(paths_.uninstallerSource));
    EXPECT_FALSE(FileExists(paths_.uninstallerCommand));
    EXPECT_FALSE(FileExists(paths_.desktopShortcut));
    EXPECT_FALSE(FileExists(paths_.programsShortcut));
    EXPECT_TRUE(created_.empty()) << "no settings key was created";
}

// Windows 7 without its library-loading update cannot restrict the library search: the programs with
// administrator rights then refuse to run, in a box that names the update.
TEST(ElevatedStartTest, WithoutTheRestrictedSearchTheProgramRefusesNamingTheUpdate)
{
    std::wstring text;
    std::thread answer([&] {
        HWND box = nullptr;
        for (int i = 0; i < 500 && !(box = FindWindowW(L"#32770", L"Sorabune のインストール")); ++i) {
            Sleep(20);
        }
        text = WindowText(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_FALSE(StartWithSystemLibrariesOnly(L"Sorabune のインストール", nullptr));
    answer.join();
    EXPECT_EQ(Utf8(text), "この Windows には、ライブラリの読み込みに関する更新プログラム KB2533623 が入っていないため、"
                          "実行できません。\r\nWindows Update で KB2533623 を入れてから、もう一度実行してください。");
}

TEST(InstallerWindowTest, CompletionWindowHasItsCaptionTextAndButton)
{
    InstallerWindow window(TestErrors());
    ASSERT_TRUE(window.Create(false));
    HWND hwnd = window.Hwnd();
    EXPECT_EQ(Utf8(WindowText(hwnd)), "Sorabune のインストール");
    // The layout's figures at the window's DPI.
    const int dpi = window.Dpi();
    RECT rc;
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(rc.right - rc.left, Scale(451, dpi));
    EXPECT_EQ(rc.bottom - rc.top, Scale(201, dpi));
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_FALSE(style & WS_SYSMENU) << "no system menu and no title-bar buttons";
    EXPECT_TRUE(style & WS_CAPTION);
    HWND label = GetDlgItem(hwnd, IDC_INSTALL_MESSAGE);
    EXPECT_EQ(Utf8(WindowText(label)), "Sorabune のインストールが終了しました");
    LOGFONTW lf = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    EXPECT_EQ(lf.lfHeight, -Scale(20, dpi));
    EXPECT_GE(lf.lfWeight, FW_BOLD);
    HWND button = GetDlgItem(hwnd, IDC_INSTALL_BUTTON);
    EXPECT_EQ(Utf8(WindowText(button)), "O  K");
    RECT b;
    GetWindowRect(button, &b);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&b), 2);
    EXPECT_NEAR(b.left, 304 * dpi / 96.0, 1);
    EXPECT_NEAR(b.top, 104 * dpi / 96.0, 1);
    EXPECT_NEAR(b.right, 401 * dpi / 96.0, 1);
    EXPECT_NEAR(b.bottom, 137 * dpi / 96.0, 1);
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_GE(client.bottom, b.bottom) << "the button shows whole";

    // On a screen of another DPI the text and the button are set out anew, and back as they were.
    const ChildPlaces before = ChildPlacesOf(hwnd);
    const int other = dpi == 96 ? 144 : 96;
    ASSERT_TRUE(MoveToDpi(hwnd, other));
    const ChildPlaces moved = ChildPlacesOf(hwnd);
    for (std::size_t i = 0; i < moved.size(); ++i) {
        for (std::size_t field = 1; field < moved[i].size(); ++field) {
            EXPECT_NEAR(moved[i][field], before[i][field] * other / static_cast<double>(dpi), 1) << field;
        }
    }
    ASSERT_TRUE(MoveToDpi(hwnd, dpi));
    EXPECT_EQ(ChildPlacesOf(hwnd), before);

    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd)) << "O  K ends the installer";
    PumpMessages();
}

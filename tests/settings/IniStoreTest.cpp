// The INI-style registry store against the real registry of the Wine prefix, in a scratch key.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "settings/IniStore.h"
#include "base/AppError.h"
#include "support/Registry.h"
#include "support/TestSupport.h"

namespace {
const wchar_t kScratch[] = L"Software\\SorabuneIniStoreTest";

LSTATUS DenyCreating(HKEY root, const std::wstring& path, bool create, REGSAM access, HKEY* result)
{
    if (create) {
        return ERROR_ACCESS_DENIED;
    }
    return OpenRegistryKey(root, path, create, access, result);
}

// Hands out keys that only allow reading, as a key whose security forbids writing would.
LSTATUS ReadOnlyKeys(HKEY root, const std::wstring& path, bool create, REGSAM access, HKEY* result)
{
    return OpenRegistryKey(root, path, create, KEY_READ, result);
}

class IniStoreTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
        CapturedErrors().clear();
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kScratch); }

    std::wstring Path(const std::wstring& section) const { return std::wstring(kScratch) + L"\\" + section; }

    void SetRaw(const std::wstring& section, const wchar_t* name, DWORD type, const void* data, DWORD size)
    {
        ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, Path(section), name, type, data, size), ERROR_SUCCESS);
    }
    void SetText(const std::wstring& section, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ)
    {
        ASSERT_EQ(SetRegistryText(HKEY_CURRENT_USER, Path(section), name, text, type), ERROR_SUCCESS);
    }

    // Type and text of a stored value; type REG_NONE when absent.
    std::pair<DWORD, std::wstring> Raw(const std::wstring& section, const wchar_t* name)
    {
        return ReadRegistryValue(HKEY_CURRENT_USER, Path(section), name);
    }

    IniStore store_{HKEY_CURRENT_USER, kScratch};
};
} // namespace

TEST_F(IniStoreTest, EveryKindIsStoredAsRegistryText)
{
    store_.WriteInteger(L"Sorabune", L"Minus", -1);
    store_.WriteInteger(L"Sorabune", L"Year", 2003);
    store_.WriteBool(L"Sorabune", L"On", true);
    store_.WriteBool(L"Sorabune", L"Off", false);
    store_.WriteString(L"Sorabune", L"Memo", L"会議 15:00");
    store_.WriteString(L"Sorabune", L"Empty", L"");
    EXPECT_EQ(Raw(L"Sorabune", L"Minus"), std::make_pair(DWORD{REG_SZ}, std::wstring(L"-1")));
    EXPECT_EQ(Raw(L"Sorabune", L"Year"), std::make_pair(DWORD{REG_SZ}, std::wstring(L"2003")));
    EXPECT_EQ(Raw(L"Sorabune", L"On"), std::make_pair(DWORD{REG_SZ}, std::wstring(L"1")));
    EXPECT_EQ(Raw(L"Sorabune", L"Off"), std::make_pair(DWORD{REG_SZ}, std::wstring(L"0")));
    EXPECT_EQ(Raw(L"Sorabune", L"Memo"), std::make_pair(DWORD{REG_SZ}, std::wstring(L"会議 15:00")));
    EXPECT_EQ(Raw(L"Sorabune", L"Empty"), std::make_pair(DWORD{REG_SZ}, std::wstring()));

    IniStore reader(HKEY_CURRENT_USER, kScratch);
    EXPECT_EQ(reader.ReadInteger(L"Sorabune", L"Minus", 0), -1);
    EXPECT_TRUE(reader.ReadBool(L"Sorabune", L"On", false));
    EXPECT_FALSE(reader.ReadBool(L"Sorabune", L"Off", true));
    EXPECT_EQ(reader.ReadString(L"Sorabune", L"Memo", L"x"), L"会議 15:00");
    EXPECT_EQ(reader.ReadString(L"Sorabune", L"Empty", L"x"), L"");
}

TEST_F(IniStoreTest, WritingCreatesTheSectionWithAllParentsAndAnEmptyStartPathTakesFullPaths)
{
    store_.WriteInteger(L"A\\B\\C", L"Deep", 7);
    EXPECT_EQ(Raw(L"A\\B\\C", L"Deep").second, L"7");

    IniStore full(HKEY_CURRENT_USER, L"");
    full.WriteString(Path(L"Full"), L"Name", L"v");
    EXPECT_EQ(Raw(L"Full", L"Name").second, L"v");
    EXPECT_EQ(full.ReadString(Path(L"Full"), L"Name", L""), L"v");
}

TEST_F(IniStoreTest, AbsentValuesAndSectionsGiveTheDefaults)
{
    EXPECT_EQ(store_.ReadInteger(L"Missing", L"X", 42), 42);
    EXPECT_TRUE(store_.ReadBool(L"Missing", L"X", true));
    EXPECT_EQ(store_.ReadString(L"Missing", L"X", L"d"), L"d");
    EXPECT_FALSE(store_.ReadText(L"Missing", L"X").has_value());
    SetText(L"Sorabune", L"Other", L"1");
    IniStore reader(HKEY_CURRENT_USER, kScratch);
    EXPECT_EQ(reader.ReadInteger(L"Sorabune", L"X", -1), -1);
    EXPECT_FALSE(reader.ReadBool(L"Sorabune", L"X", false));
}

TEST_F(IniStoreTest, AwkwardTextsReadByTheRules)
{
    SetText(L"S", L"Abc", L"abc");
    SetText(L"S", L"Five", L"5");
    SetText(L"S", L"Plus", L"+5");
    SetText(L"S", L"Huge", L"99999999999");
    SetText(L"S", L"Expand", L"%TEMP%\\a.wav", REG_EXPAND_SZ);
    SetText(L"S", L"ExpandNumber", L"3", REG_EXPAND_SZ);
    EXPECT_EQ(store_.ReadInteger(L"S", L"Abc", 0), 0);
    EXPECT_EQ(store_.ReadInteger(L"S", L"Abc", 9), 9);
    EXPECT_TRUE(store_.ReadBool(L"S", L"Five", false));
    EXPECT_EQ(store_.ReadInteger(L"S", L"Plus", 0), 5);
    EXPECT_EQ(store_.ReadInteger(L"S", L"Huge", -1), -1);
    EXPECT_EQ(store_.ReadString(L"S", L"Expand", L""), L"%TEMP%\\a.wav");
    EXPECT_EQ(store_.ReadInteger(L"S", L"ExpandNumber", 0), 3);
}

TEST_F(IniStoreTest, StringDataWithoutTerminatorOrWithAnOddByteCountIsRead)
{
    const wchar_t text[] = L"abc";
    SetRaw(L"S", L"NoZero", REG_SZ, text, 3 * sizeof(wchar_t));
    SetRaw(L"S", L"Odd", REG_SZ, text, 3 * sizeof(wchar_t) + 1);
    SetRaw(L"S", L"Nothing", REG_SZ, text, 0);
    EXPECT_EQ(store_.ReadString(L"S", L"NoZero", L""), L"abc");
    EXPECT_EQ(store_.ReadString(L"S", L"Odd", L""), L"abc");
    EXPECT_EQ(store_.ReadString(L"S", L"Nothing", L"d"), L"");
}

TEST_F(IniStoreTest, AValueOfAnotherTypeFailsWithItsNameForEveryRead)
{
    DWORD number = 1;
    SetRaw(L"S", L"Dword", REG_DWORD, &number, sizeof(number));
    SetRaw(L"S", L"Binary", REG_BINARY, "\x01\x02", 2);
    const wchar_t multi[] = L"a\0b\0";
    SetRaw(L"S", L"Multi", REG_MULTI_SZ, multi, sizeof(multi));
    auto message = [&](auto read) -> std::string {
        try {
            read();
        } catch (const AppError& error) {
            return Utf8(error.Message());
        }
        return "no error";
    };
    EXPECT_EQ(message([&] { store_.ReadInteger(L"S", L"Dword", 0); }), "'Dword' のデータ型が不正です");
    EXPECT_EQ(message([&] { store_.ReadBool(L"S", L"Dword", false); }), "'Dword' のデータ型が不正です");
    EXPECT_EQ(message([&] { store_.ReadString(L"S", L"Binary", L""); }), "'Binary' のデータ型が不正です");
    EXPECT_EQ(message([&] { store_.ReadString(L"S", L"Multi", L""); }), "'Multi' のデータ型が不正です");
}

TEST_F(IniStoreTest, DeletingRemovesTheValueAndIsSilentWhenThereIsNothingToDelete)
{
    store_.WriteString(L"S", L"Gone", L"x");
    store_.WriteString(L"S", L"Stays", L"y");
    store_.DeleteValue(L"S", L"Gone");
    EXPECT_EQ(Raw(L"S", L"Gone").first, DWORD{REG_NONE});
    EXPECT_EQ(Raw(L"S", L"Stays").second, L"y");
    EXPECT_NO_THROW(store_.DeleteValue(L"S", L"Gone"));
    EXPECT_NO_THROW(store_.DeleteValue(L"NoSuchSection", L"Gone"));
}

TEST_F(IniStoreTest, ASectionThatCannotBeCreatedFailsWithItsPathAndWritesNothing)
{
    IniStore store(HKEY_CURRENT_USER, kScratch, DenyCreating);
    try {
        store.WriteInteger(L"Sorabune\\KabeBmp", L"KabeStyle", 1);
        ADD_FAILURE() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(Utf8(error.Message()), "キー Sorabune\\KabeBmp の作成に失敗しました");
    }
    EXPECT_EQ(Raw(L"Sorabune\\KabeBmp", L"KabeStyle").first, DWORD{REG_NONE});
    // Reading and deleting never create keys, so the refusal does not touch them.
    EXPECT_EQ(store.ReadInteger(L"Sorabune\\KabeBmp", L"KabeStyle", 3), 3);
    EXPECT_NO_THROW(store.DeleteValue(L"Sorabune\\KabeBmp", L"KabeStyle"));
}

TEST_F(IniStoreTest, AValueThatCannotBeSetFailsWithItsName)
{
    SetText(L"S", L"Existing", L"1");
    IniStore store(HKEY_CURRENT_USER, kScratch, ReadOnlyKeys);
    try {
        store.WriteBool(L"S", L"Existing", false);
        ADD_FAILURE() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(Utf8(error.Message()), "'Existing' の設定に失敗しました");
    }
    EXPECT_EQ(Raw(L"S", L"Existing").second, L"1");
}

TEST_F(IniStoreTest, LongTextsRoundTrip)
{
    std::wstring longText(5000, L'あ');
    store_.WriteString(L"S", L"Long", longText);
    IniStore reader(HKEY_CURRENT_USER, kScratch);
    EXPECT_EQ(reader.ReadString(L"S", L"Long", L""), longText);
}

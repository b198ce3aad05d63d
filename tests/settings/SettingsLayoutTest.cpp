// The settings layout from outside: the stored names that every installation's registry holds, the table's
// invariants, and what the installer takes from it.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "settings/SettingsLayout.h"
#include "settings/SettingsRules.h"
#include "support/TestSupport.h"

namespace {
// Section and name of every stored value, in the table's order. Installations hold them, and the load, the
// commit, the installer and the uninstaller find their values by them.
std::vector<std::wstring> StoredNames()
{
    std::vector<std::wstring> names = {L"Sorabune\\Path",           L"Sorabune\\TimerWave",
                                       L"Sorabune\\TimerWaveOnOff", L"Sorabune\\StartupOnOff",
                                       L"Sorabune\\TimerWaveCount", L"Sorabune\\TimerWave%d"};
    const wchar_t* timerStems[] = {L"YoyakuHouhou", L"OsiraseHouhou", L"Jihou",  L"YoyakuHouhouE", L"OsiraseHouhouE",
                                   L"JihouE",       L"Year",          L"Month",  L"Day",           L"Hour",
                                   L"Min",          L"Sec",           L"Date",   L"Time",          L"TimerOnOff",
                                   L"TimerOnOffE",  L"Week1",         L"Week2",  L"Week3",         L"Week4",
                                   L"Week5",        L"Week6",         L"Week7",  L"Week1E",        L"Week2E",
                                   L"Week3E",       L"Week4E",        L"Week5E", L"Week6E",        L"Week7E",
                                   L"Memo",         L"MemoE"};
    for (const wchar_t* timer : {L"OsiraseTimer1", L"OsiraseTimer2"}) {
        for (const wchar_t* stem : timerStems) {
            names.push_back(std::wstring(L"Sorabune\\OsiraseTimer\\") + timer + stem);
        }
    }
    for (const wchar_t* name : {L"KabeChangeTime", L"KabeJyunn", L"KabeStyle", L"KabeListCount", L"KabeBmp%d"}) {
        names.push_back(std::wstring(L"Sorabune\\KabeBmp\\") + name);
    }
    return names;
}

// Records what the installer writes, as the registry text each value would get.
class RecordingWriter : public IniWriter {
public:
    void WriteInteger(const std::wstring& section, const std::wstring& ident, std::int32_t value) override
    {
        writes.emplace_back(section, ident, EncodeInteger(value));
    }
    void WriteBool(const std::wstring& section, const std::wstring& ident, bool value) override
    {
        writes.emplace_back(section, ident, EncodeFlag(value));
    }
    void WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) override
    {
        writes.emplace_back(section, ident, value);
    }
    std::vector<std::tuple<std::wstring, std::wstring, std::wstring>> writes;
};
} // namespace

TEST(SettingsLayoutTest, StoredNamesStayAsInstallationsHoldThem)
{
    std::vector<std::wstring> names;
    for (const SettingDef& def : SettingsLayout()) {
        names.push_back(def.section + L"\\" + def.name);
    }
    EXPECT_EQ(names, StoredNames());
    EXPECT_EQ(std::set<std::wstring>(names.begin(), names.end()).size(), names.size()) << "every name once";
}

TEST(SettingsLayoutTest, NamesAreFoundByName)
{
    for (const SettingDef& def : SettingsLayout()) {
        EXPECT_EQ(&Setting(def.name), &def) << Utf8(def.name);
    }
    EXPECT_THROW(Setting(L"OsiraseTimer3Memo"), std::invalid_argument);
    EXPECT_EQ(TimerValueName(2, L"Week3E"), L"OsiraseTimer2Week3E");
    EXPECT_EQ(ListEntryName(Setting(L"KabeBmp%d"), 12), L"KabeBmp12");
    EXPECT_EQ(ListEntryName(Setting(L"TimerWave%d"), 9), L"TimerWave9");
}

// A key without a value loads 0 or false, but for the switches that a fresh reminder needs to be usable.
TEST(SettingsLayoutTest, AnEmptyKeyLeavesOnlyTheReminderChoicesAndTheirSwitchUsable)
{
    std::vector<std::wstring> notZero;
    for (const SettingDef& def : SettingsLayout()) {
        if (def.loadDefault != 0) {
            notZero.push_back(def.name + L"=" + std::to_wstring(def.loadDefault));
        }
    }
    EXPECT_EQ(notZero, (std::vector<std::wstring>{L"OsiraseTimer1YoyakuHouhouE=1", L"OsiraseTimer1OsiraseHouhouE=1",
                                                  L"OsiraseTimer1TimerOnOffE=1", L"OsiraseTimer2YoyakuHouhouE=1",
                                                  L"OsiraseTimer2OsiraseHouhouE=1", L"OsiraseTimer2TimerOnOffE=1"}));
}

TEST(SettingsLayoutTest, StoreLocationsAndAutostartEntry)
{
    EXPECT_STREQ(kSettingsStartPath, L"Software");
    EXPECT_STREQ(kAutostartSection, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    EXPECT_STREQ(kAutostartValue, L"Sorabune");
    EXPECT_STREQ(kCompanionFileName, L"Sorabune.exe");
}

// The values themselves are pinned where the installation writes them (InstallationTest); here only that the
// installer writes each row that has a starting value, once and in order, the folder as "Path", and never a count
// or a list, which a second installation must leave as the user made them.
TEST(SettingsLayoutTest, InstallerWritesTheRowsWithStartingValuesInOrderAndLeavesCountsAndListsAlone)
{
    RecordingWriter writer;
    WriteInstallerDefaults(writer, L"C:\\Program Files\\Sorabune");
    std::vector<std::wstring> expected;
    for (const SettingDef& def : SettingsLayout()) {
        const bool countOrList = def.name.find(L"%d") != std::wstring::npos || def.name.ends_with(L"Count");
        if (!countOrList) {
            expected.push_back(def.section + L"\\" + def.name);
        }
    }
    std::vector<std::wstring> written;
    for (const auto& [section, name, text] : writer.writes) {
        written.push_back(section + L"\\" + name);
    }
    EXPECT_EQ(written, expected);
    ASSERT_FALSE(writer.writes.empty());
    EXPECT_EQ(std::get<2>(writer.writes.front()), L"C:\\Program Files\\Sorabune");
}

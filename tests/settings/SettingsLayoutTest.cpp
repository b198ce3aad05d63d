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
// Section and name of every stored value in the table's order, with the text the installer writes ("=" and the
// text; none for a count or a list, which a second installation must leave as the user made them). Installations
// hold them, and the load, the commit, the installer and the uninstaller find their values by them. This is the
// one place that names them all.
std::vector<std::wstring> StoredNames()
{
    std::vector<std::wstring> names = {L"Sorabune\\Path=<folder>",    L"Sorabune\\TimerWaveCount",
                                       L"Sorabune\\TimerWave%d",      L"Sorabune\\TimerWave=0",
                                       L"Sorabune\\TimerWaveOnOff=0", L"Sorabune\\StartupOnOff=0"};
    const wchar_t* timerStems[] = {L"YoyakuHouhou=-1",  L"OsiraseHouhou=0", L"Jihou=0",      L"YoyakuHouhouE=1",
                                   L"OsiraseHouhouE=1", L"JihouE=1",        L"Year=2002",    L"Month=4",
                                   L"Day=14",           L"Hour=0",          L"Min=0",        L"Sec=0",
                                   L"Date=0",           L"Time=0",          L"TimerOnOff=0", L"TimerOnOffE=1",
                                   L"Week1=0",          L"Week2=0",         L"Week3=0",      L"Week4=0",
                                   L"Week5=0",          L"Week6=0",         L"Week7=0",      L"Week1E=0",
                                   L"Week2E=0",         L"Week3E=0",        L"Week4E=0",     L"Week5E=0",
                                   L"Week6E=0",         L"Week7E=0",        L"Memo=",        L"MemoE=0"};
    for (const wchar_t* timer : {L"OsiraseTimer1", L"OsiraseTimer2"}) {
        for (const wchar_t* stem : timerStems) {
            names.push_back(std::wstring(L"Sorabune\\OsiraseTimer\\") + timer + stem);
        }
    }
    for (const wchar_t* name : {L"KabeChangeTime=0", L"KabeJyunn=0", L"KabeStyle=2", L"KabeListCount", L"KabeBmp%d"}) {
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

TEST(SettingsLayoutTest, StoredNamesAndInstallerTextsStayAsInstallationsHoldThem)
{
    RecordingWriter writer;
    WriteInstallerDefaults(writer, L"<folder>");
    std::vector<std::wstring> names;
    auto write = writer.writes.begin();
    for (const SettingDef& def : SettingsLayout()) {
        names.push_back(def.section + L"\\" + def.name);
        // The installer writes in the table's order.
        if (write != writer.writes.end() && std::get<0>(*write) == def.section && std::get<1>(*write) == def.name) {
            names.back() += L"=" + std::get<2>(*write++);
        }
    }
    EXPECT_EQ(names, StoredNames());
    EXPECT_TRUE(write == writer.writes.end()) << "every write is of a row of the table, once";
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

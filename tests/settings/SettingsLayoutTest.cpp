// Pins every name, kind, default and control of the settings layout, and the installer's starting values.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "resource.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsRules.h"
#include "support/TestSupport.h"

namespace {
constexpr auto I = ValueKind::Integer;
constexpr auto F = ValueKind::Flag;
constexpr auto S = ValueKind::String;
constexpr auto No = InstallerDefault::NotWritten;
constexpr auto Yes = InstallerDefault::Value;

struct Expected {
    const wchar_t* section;
    std::wstring name;
    ValueKind kind;
    int loadDefault;
    InstallerDefault installer;
    int installerValue;
    int controlId;
    Mirror mirror;
};

const wchar_t kMain[] = L"Sorabune";
const wchar_t kTimer[] = L"Sorabune\\OsiraseTimer";
const wchar_t kKabe[] = L"Sorabune\\KabeBmp";

std::vector<Expected> TimerRows(int t)
{
    const std::wstring p = L"OsiraseTimer" + std::to_wstring(t);
    const int d = (t - 1) * 100;
    std::vector<Expected> rows = {
        {kTimer, p + L"YoyakuHouhou", I, 0, Yes, -1, IDC_OSIRASETIMER1YOYAKUHOUHOU + d, Mirror::Index},
        {kTimer, p + L"OsiraseHouhou", I, 0, Yes, 0, IDC_OSIRASETIMER1OSIRASEHOUHOU + d, Mirror::Index},
        {kTimer, p + L"Jihou", I, 0, Yes, 0, IDC_OSIRASETIMER1JIHOU + d, Mirror::Index},
        {kTimer, p + L"YoyakuHouhouE", F, 1, Yes, 1, IDC_OSIRASETIMER1YOYAKUHOUHOU + d, Mirror::Enabled},
        {kTimer, p + L"OsiraseHouhouE", F, 1, Yes, 1, IDC_OSIRASETIMER1OSIRASEHOUHOU + d, Mirror::Enabled},
        {kTimer, p + L"JihouE", F, 0, Yes, 1, IDC_OSIRASETIMER1JIHOU + d, Mirror::Enabled},
        {kTimer, p + L"Year", I, 0, Yes, 2002, IDC_OSIRASETIMER1DATE + d, Mirror::Year},
        {kTimer, p + L"Month", I, 0, Yes, 4, IDC_OSIRASETIMER1DATE + d, Mirror::Month},
        {kTimer, p + L"Day", I, 0, Yes, 14, IDC_OSIRASETIMER1DATE + d, Mirror::Day},
        {kTimer, p + L"Hour", I, 0, Yes, 0, IDC_OSIRASETIMER1TIME + d, Mirror::Hour},
        {kTimer, p + L"Min", I, 0, Yes, 0, IDC_OSIRASETIMER1TIME + d, Mirror::Minute},
        {kTimer, p + L"Sec", I, 0, Yes, 0, IDC_OSIRASETIMER1TIME + d, Mirror::Second},
        {kTimer, p + L"Date", F, 0, Yes, 0, IDC_OSIRASETIMER1DATE + d, Mirror::Enabled},
        {kTimer, p + L"Time", F, 0, Yes, 0, IDC_OSIRASETIMER1TIME + d, Mirror::Enabled},
        {kTimer, p + L"TimerOnOff", F, 0, Yes, 0, IDC_OSIRASETIMER1TIMERONOFF + d, Mirror::Down},
        {kTimer, p + L"TimerOnOffE", F, 1, Yes, 1, IDC_OSIRASETIMER1TIMERONOFF + d, Mirror::Enabled},
    };
    for (int day = 1; day <= 7; ++day) {
        rows.push_back({kTimer, p + L"Week" + std::to_wstring(day), F, 0, Yes, 0, IDC_OSIRASETIMER1WEEK1 + d + day - 1,
                        Mirror::Down});
    }
    for (int day = 1; day <= 7; ++day) {
        rows.push_back({kTimer, p + L"Week" + std::to_wstring(day) + L"E", F, 0, Yes, 0,
                        IDC_OSIRASETIMER1WEEK1 + d + day - 1, Mirror::Enabled});
    }
    rows.push_back({kTimer, p + L"Memo", S, 0, Yes, 0, IDC_OSIRASETIMER1MEMO + d, Mirror::Text});
    rows.push_back({kTimer, p + L"MemoE", F, 0, Yes, 0, IDC_OSIRASETIMER1MEMO + d, Mirror::Enabled});
    return rows;
}

std::vector<Expected> ExpectedLayout()
{
    std::vector<Expected> rows = {
        {kMain, L"Path", S, 0, InstallerDefault::InstallFolder, 0, 0, Mirror::None},
        {kMain, L"TimerWave", I, 0, Yes, 0, IDC_TIMERWAVE, Mirror::Index},
        {kMain, L"TimerWaveOnOff", I, 0, Yes, 0, IDC_TIMERWAVEONOFF, Mirror::Index},
        {kMain, L"StartupOnOff", F, 0, Yes, 0, IDC_STARTUPONOFF, Mirror::Down},
        {kMain, L"TimerWaveCount", I, 0, No, 0, IDC_TIMERWAVE, Mirror::ItemCount},
        {kMain, L"TimerWave%d", S, 0, No, 0, IDC_TIMERWAVE, Mirror::Items},
    };
    for (int t = 1; t <= 2; ++t) {
        auto timer = TimerRows(t);
        rows.insert(rows.end(), timer.begin(), timer.end());
    }
    rows.push_back({kKabe, L"KabeChangeTime", I, 0, Yes, 0, IDC_KABECHANGETIME, Mirror::Index});
    rows.push_back({kKabe, L"KabeJyunn", I, 0, Yes, 0, IDC_KABEJYUNN, Mirror::Index});
    rows.push_back({kKabe, L"KabeStyle", I, 0, Yes, 2, IDC_KABESTYLE, Mirror::Index});
    rows.push_back({kKabe, L"KabeListCount", I, 0, No, 0, IDC_KABELIST, Mirror::ItemCount});
    rows.push_back({kKabe, L"KabeBmp%d", S, 0, No, 0, IDC_KABELIST, Mirror::Items});
    return rows;
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

TEST(SettingsLayoutTest, EveryStoredValueHasItsDocumentedNameKindDefaultsAndControl)
{
    const auto expected = ExpectedLayout();
    const auto& table = SettingsLayout();
    ASSERT_EQ(table.size(), expected.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(Utf8(expected[i].name));
        EXPECT_EQ(table[i].section, expected[i].section);
        EXPECT_EQ(table[i].name, expected[i].name);
        EXPECT_EQ(table[i].kind, expected[i].kind);
        EXPECT_EQ(table[i].loadDefault, expected[i].loadDefault);
        EXPECT_EQ(table[i].installer, expected[i].installer);
        EXPECT_EQ(table[i].installerValue, expected[i].installerValue);
        EXPECT_EQ(table[i].controlId, expected[i].controlId);
        EXPECT_EQ(table[i].mirror, expected[i].mirror);
    }
}

TEST(SettingsLayoutTest, NamesAreUniqueAndFoundByName)
{
    for (const SettingDef& def : SettingsLayout()) {
        EXPECT_EQ(&Setting(def.name), &def) << Utf8(def.name);
    }
    EXPECT_THROW(Setting(L"OsiraseTimer3Memo"), std::invalid_argument);
    EXPECT_EQ(TimerValueName(2, L"Week3E"), L"OsiraseTimer2Week3E");
    EXPECT_EQ(ListEntryName(Setting(L"KabeBmp%d"), 12), L"KabeBmp12");
    EXPECT_EQ(ListEntryName(Setting(L"TimerWave%d"), 9), L"TimerWave9");
    EXPECT_EQ(TimerControl(2, IDC_OSIRASETIMER1WEEK3), IDC_OSIRASETIMER2WEEK3);
}

TEST(SettingsLayoutTest, StoreLocationsAndAutostartEntry)
{
    EXPECT_STREQ(kSettingsStartPath, L"Software");
    EXPECT_STREQ(kAutostartSection, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    EXPECT_STREQ(kAutostartValue, L"Sorabune");
    EXPECT_STREQ(kCompanionFileName, L"Sorabune.exe");
}

TEST(SettingsLayoutTest, InstallerWritesExactlyItsTableInOrderAndLeavesCountsAndListsAlone)
{
    RecordingWriter writer;
    WriteInstallerDefaults(writer, L"C:\\Program Files\\Sorabune");

    std::vector<std::tuple<std::wstring, std::wstring, std::wstring>> expected = {
        {kMain, L"Path", L"C:\\Program Files\\Sorabune"},
        {kMain, L"TimerWave", L"0"},
        {kMain, L"TimerWaveOnOff", L"0"},
        {kMain, L"StartupOnOff", L"0"},
    };
    for (int t = 1; t <= 2; ++t) {
        const std::wstring p = L"OsiraseTimer" + std::to_wstring(t);
        for (auto [stem, text] : std::vector<std::pair<std::wstring, std::wstring>>{{L"YoyakuHouhou", L"-1"},
                                                                                    {L"OsiraseHouhou", L"0"},
                                                                                    {L"Jihou", L"0"},
                                                                                    {L"YoyakuHouhouE", L"1"},
                                                                                    {L"OsiraseHouhouE", L"1"},
                                                                                    {L"JihouE", L"1"},
                                                                                    {L"Year", L"2002"},
                                                                                    {L"Month", L"4"},
                                                                                    {L"Day", L"14"},
                                                                                    {L"Hour", L"0"},
                                                                                    {L"Min", L"0"},
                                                                                    {L"Sec", L"0"},
                                                                                    {L"Date", L"0"},
                                                                                    {L"Time", L"0"},
                                                                                    {L"TimerOnOff", L"0"},
                                                                                    {L"TimerOnOffE", L"1"}}) {
            expected.emplace_back(kTimer, p + stem, text);
        }
        for (int day = 1; day <= 7; ++day) {
            expected.emplace_back(kTimer, p + L"Week" + std::to_wstring(day), L"0");
        }
        for (int day = 1; day <= 7; ++day) {
            expected.emplace_back(kTimer, p + L"Week" + std::to_wstring(day) + L"E", L"0");
        }
        expected.emplace_back(kTimer, p + L"Memo", L"");
        expected.emplace_back(kTimer, p + L"MemoE", L"0");
    }
    expected.emplace_back(kKabe, L"KabeChangeTime", L"0");
    expected.emplace_back(kKabe, L"KabeJyunn", L"0");
    expected.emplace_back(kKabe, L"KabeStyle", L"2");

    ASSERT_EQ(writer.writes.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(writer.writes[i], expected[i]) << "write " << i << ": " << Utf8(std::get<1>(expected[i]));
    }
    std::size_t timerValues = 0;
    for (const auto& write : writer.writes) {
        timerValues += std::get<0>(write) == kTimer ? 1 : 0;
    }
    EXPECT_EQ(timerValues, 2u * kValuesPerTimer);
}

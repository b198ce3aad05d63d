// The settings layout table and the installer's starting values taken from it.
#include "settings/SettingsLayout.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "settings/WallpaperChoices.h"

namespace {
constexpr wchar_t kTimerPrefix[] = L"OsiraseTimer";
constexpr wchar_t kNumberPlaceholder[] = L"%d";
constexpr std::int32_t kTrue = 1;
constexpr std::int32_t kFalse = 0;
constexpr std::int32_t kNoSelection = -1;
constexpr std::int32_t kInstallYear = 2002;
constexpr std::int32_t kInstallMonth = 4;
constexpr std::int32_t kInstallDay = 14;

SettingDef Installed(const wchar_t* section, std::wstring name, ValueKind kind, std::int32_t loadDefault,
                     std::int32_t installerValue)
{
    return {section, std::move(name), kind, loadDefault, InstallerDefault::Value, installerValue};
}

SettingDef NotInstalled(const wchar_t* section, std::wstring name, ValueKind kind)
{
    return {section, std::move(name), kind, 0, InstallerDefault::NotWritten, 0};
}

void AddTimer(std::vector<SettingDef>& table, int timer)
{
    auto add = [&](const wchar_t* stem, ValueKind kind, std::int32_t loadDefault, std::int32_t installerValue) {
        table.push_back(Installed(kReminderSection, TimerValueName(timer, stem), kind, loadDefault, installerValue));
    };
    const auto integer = ValueKind::Integer;
    const auto flag = ValueKind::Flag;
    add(L"YoyakuHouhou", integer, 0, kNoSelection);
    add(L"OsiraseHouhou", integer, 0, 0);
    add(L"Jihou", integer, 0, 0);
    add(L"YoyakuHouhouE", flag, kTrue, kTrue);
    add(L"OsiraseHouhouE", flag, kTrue, kTrue);
    add(L"JihouE", flag, kFalse, kTrue);
    add(L"Year", integer, 0, kInstallYear);
    add(L"Month", integer, 0, kInstallMonth);
    add(L"Day", integer, 0, kInstallDay);
    add(L"Hour", integer, 0, 0);
    add(L"Min", integer, 0, 0);
    add(L"Sec", integer, 0, 0);
    add(L"Date", flag, kFalse, kFalse);
    add(L"Time", flag, kFalse, kFalse);
    add(L"TimerOnOff", flag, kFalse, kFalse);
    add(L"TimerOnOffE", flag, kTrue, kTrue);
    for (int day = 1; day <= kWeekdayCount; ++day) {
        add((L"Week" + std::to_wstring(day)).c_str(), flag, kFalse, kFalse);
    }
    for (int day = 1; day <= kWeekdayCount; ++day) {
        add((L"Week" + std::to_wstring(day) + L"E").c_str(), flag, kFalse, kFalse);
    }
    add(L"Memo", ValueKind::String, 0, 0);
    add(L"MemoE", flag, kFalse, kFalse);
}

std::vector<SettingDef> BuildLayout()
{
    std::vector<SettingDef> table;
    table.push_back({kMainSection, L"Path", ValueKind::String, 0, InstallerDefault::InstallFolder, 0});
    // The user's chime files come before every choice of a chime, which may select one of them.
    table.push_back(NotInstalled(kMainSection, L"TimerWaveCount", ValueKind::Integer));
    table.push_back(NotInstalled(kMainSection, L"TimerWave%d", ValueKind::String));
    table.push_back(Installed(kMainSection, L"TimerWave", ValueKind::Integer, 0, 0));
    table.push_back(Installed(kMainSection, L"TimerWaveOnOff", ValueKind::Integer, 0, 0));
    table.push_back(Installed(kMainSection, L"StartupOnOff", ValueKind::Flag, kFalse, kFalse));
    for (int timer = 1; timer <= kReminderTimerCount; ++timer) {
        AddTimer(table, timer);
    }
    table.push_back(Installed(kWallpaperSection, L"KabeChangeTime", ValueKind::Integer, 0, 0));
    table.push_back(Installed(kWallpaperSection, L"KabeJyunn", ValueKind::Integer, 0, 0));
    table.push_back(Installed(kWallpaperSection, L"KabeStyle", ValueKind::Integer, 0,
                              static_cast<std::int32_t>(kInstallWallpaperStyle)));
    table.push_back(NotInstalled(kWallpaperSection, L"KabeListCount", ValueKind::Integer));
    table.push_back(NotInstalled(kWallpaperSection, L"KabeBmp%d", ValueKind::String));
    return table;
}
} // namespace

const std::vector<SettingDef>& SettingsLayout()
{
    static const std::vector<SettingDef> table = BuildLayout();
    return table;
}

const SettingDef& Setting(std::wstring_view name)
{
    const auto& table = SettingsLayout();
    auto it = std::find_if(table.begin(), table.end(), [&](const SettingDef& d) { return d.name == name; });
    if (it == table.end()) {
        throw std::invalid_argument("value name not in the settings layout");
    }
    return *it;
}

std::wstring TimerValueName(int timer, std::wstring_view stem)
{
    return kTimerPrefix + std::to_wstring(timer) + std::wstring(stem);
}

std::wstring ListEntryName(const SettingDef& list, int number)
{
    std::wstring name = list.name;
    auto pos = name.find(kNumberPlaceholder);
    if (pos != std::wstring::npos) {
        name.replace(pos, std::size(kNumberPlaceholder) - 1, std::to_wstring(number));
    }
    return name;
}

void WriteSetting(IniWriter& store, const SettingDef& def, std::int32_t value)
{
    if (def.kind == ValueKind::Flag) {
        store.WriteBool(def.section, def.name, value != 0);
    } else {
        store.WriteInteger(def.section, def.name, value);
    }
}

void WriteSetting(IniWriter& store, const SettingDef& def, const std::wstring& value)
{
    store.WriteString(def.section, def.name, value);
}

void WriteInstallerDefaults(IniWriter& store, const std::wstring& installFolder)
{
    for (const SettingDef& def : SettingsLayout()) {
        switch (def.installer) {
        case InstallerDefault::NotWritten:
            break;
        case InstallerDefault::InstallFolder:
            WriteSetting(store, def, installFolder);
            break;
        case InstallerDefault::Value:
            if (def.kind == ValueKind::String) {
                WriteSetting(store, def, std::wstring());
            } else {
                WriteSetting(store, def, def.installerValue);
            }
            break;
        }
    }
}

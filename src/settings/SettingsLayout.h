// The one table of every stored setting of Sorabune: section, value name, kind, and the defaults of the load
// and of the installer. Load, commit and installer use it; the pages say which control mirrors each value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class ValueKind { Integer, Flag, String };

enum class InstallerDefault { NotWritten, Value, InstallFolder };

struct SettingDef {
    std::wstring section;
    std::wstring name;
    ValueKind kind;
    // Integer, or 1/0 for a flag; every string value reads as empty when absent.
    std::int32_t loadDefault;
    InstallerDefault installer;
    // Integer, or 1/0 for a flag, when the installer writes a value; its strings are empty.
    std::int32_t installerValue;
};

// The settings store is opened on HKEY_CURRENT_USER and this path.
inline constexpr wchar_t kSettingsStartPath[] = L"Software";
inline constexpr wchar_t kMainSection[] = L"Sorabune";
inline constexpr wchar_t kReminderSection[] = L"Sorabune\\OsiraseTimer";
inline constexpr wchar_t kWallpaperSection[] = L"Sorabune\\KabeBmp";

// The autostart entry: a store on HKEY_LOCAL_MACHINE with an empty start path, naming the companion program
// beside the running executable.
inline constexpr wchar_t kAutostartSection[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kAutostartValue[] = L"Sorabune";
inline constexpr wchar_t kCompanionFileName[] = L"Sorabune.exe";

inline constexpr int kReminderTimerCount = 2;
inline constexpr int kWeekdayCount = 7;
// Values of one reminder timer.
inline constexpr int kValuesPerTimer = 32;

// Every stored value, in the installer's order, which is also the order of the load and the commit; values the
// installer leaves alone stand where they belong.
const std::vector<SettingDef>& SettingsLayout();
// The entry of a value name (list patterns as "KabeBmp%d"); a name not in the table is a programming error
// and throws std::invalid_argument.
const SettingDef& Setting(std::wstring_view name);
// "OsiraseTimer" + the timer's digit + stem, e.g. TimerValueName(2, L"Week3E") = "OsiraseTimer2Week3E".
std::wstring TimerValueName(int timer, std::wstring_view stem);
// The value name of a numbered list entry, e.g. "KabeBmp" + 3.
std::wstring ListEntryName(const SettingDef& list, int number);
// The writing half of the INI-style settings store.
class IniWriter {
public:
    virtual ~IniWriter() = default;
    virtual void WriteInteger(const std::wstring& section, const std::wstring& ident, std::int32_t value) = 0;
    virtual void WriteBool(const std::wstring& section, const std::wstring& ident, bool value) = 0;
    virtual void WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) = 0;
};

// Writes an integer or flag value as its kind demands.
void WriteSetting(IniWriter& store, const SettingDef& def, std::int32_t value);
void WriteSetting(IniWriter& store, const SettingDef& def, const std::wstring& value);

// The installer's starting values, in table order; installFolder is stored as "Path".
void WriteInstallerDefaults(IniWriter& store, const std::wstring& installFolder);

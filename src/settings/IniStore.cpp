// Registry access of the settings store: string values only, keys opened once per load or commit.
#include "settings/IniStore.h"

#include <algorithm>

#include "settings/SettingsRules.h"
#include "base/AppError.h"

namespace {
constexpr wchar_t kTypeError[] = L"'%s' のデータ型が不正です";
// The registry's limit of a value name, without its closing zero.
constexpr std::size_t kMaxValueNameChars = 16383;
constexpr wchar_t kCreateKeyError[] = L"キー %s の作成に失敗しました";
constexpr wchar_t kSetValueError[] = L"'%s' の設定に失敗しました";
constexpr REGSAM kWriteAccess = KEY_READ | KEY_WRITE;

} // namespace

AppError WrongTypeError(const std::wstring& ident)
{
    return AppError(FormatMessageText(kTypeError, ident));
}

IniStore::IniStore(HKEY root, std::wstring startPath, RegistryKeyOpener openKey)
    : root_(root), startPath_(std::move(startPath)), openKey_(std::move(openKey))
{
}

std::wstring IniStore::KeyPath(const std::wstring& section) const
{
    if (startPath_.empty()) {
        return section;
    }
    return section.empty() ? startPath_ : startPath_ + L"\\" + section;
}

HKEY IniStore::ReadKey(const std::wstring& section)
{
    auto it = readKeys_.find(section);
    if (it == readKeys_.end()) {
        RegKey key;
        if (openKey_(root_, KeyPath(section), false, KEY_READ, key.Put()) != ERROR_SUCCESS) {
            key.Release();
        }
        it = readKeys_.emplace(section, std::move(key)).first;
    }
    return it->second.Get();
}

HKEY IniStore::WriteKey(const std::wstring& section)
{
    auto it = writeKeys_.find(section);
    if (it != writeKeys_.end()) {
        return it->second.Get();
    }
    RegKey key;
    if (openKey_(root_, KeyPath(section), true, kWriteAccess, key.Put()) != ERROR_SUCCESS || !key) {
        key.Release();
        throw AppError(FormatMessageText(kCreateKeyError, section));
    }
    return writeKeys_.emplace(section, std::move(key)).first->second.Get();
}

std::vector<StoredValue> IniStore::Values(const std::wstring& section)
{
    std::vector<StoredValue> values;
    HKEY key = ReadKey(section);
    DWORD count = 0;
    DWORD longestName = 0;
    DWORD longestData = 0;
    if (!key || RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                                 &longestData, nullptr, nullptr) != ERROR_SUCCESS) {
        return values;
    }
    values.reserve(count);
    std::wstring name(longestName + 1, L'\0');
    std::wstring data(longestData / sizeof(wchar_t) + 1, L'\0');
    for (DWORD index = 0;;) {
        auto nameLength = static_cast<DWORD>(name.size());
        auto dataSize = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        DWORD type = REG_NONE;
        const LSTATUS status = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type,
                                             reinterpret_cast<BYTE*>(data.data()), &dataSize);
        if (status == ERROR_MORE_DATA) {
            // A value written since the key was measured: ask again with room for the longest there can be.
            name.resize(kMaxValueNameChars + 1);
            data.resize(std::max<std::size_t>(data.size() * 2, dataSize / sizeof(wchar_t) + 1));
            continue;
        }
        if (status != ERROR_SUCCESS) {
            break;
        }
        StoredValue& value = values.emplace_back();
        value.name.assign(name.data(), nameLength);
        value.isText = type == REG_SZ || type == REG_EXPAND_SZ;
        if (value.isText) {
            value.text = RegistryStringText(std::wstring_view(data.data(), dataSize / sizeof(wchar_t)));
        }
        ++index;
    }
    return values;
}

std::optional<std::wstring> IniStore::ReadText(const std::wstring& section, const std::wstring& ident)
{
    HKEY key = ReadKey(section);
    if (!key) {
        return std::nullopt;
    }
    std::wstring text;
    switch (ReadStringValue(key, ident.c_str(), text)) {
    case StoredString::Text:
        return text;
    case StoredString::OtherType:
        throw WrongTypeError(ident);
    default:
        return std::nullopt;
    }
}

std::int32_t IniStore::ReadInteger(const std::wstring& section, const std::wstring& ident, std::int32_t defaultValue)
{
    auto text = ReadText(section, ident);
    return text ? IntegerFromText(*text, defaultValue) : defaultValue;
}

bool IniStore::ReadBool(const std::wstring& section, const std::wstring& ident, bool defaultValue)
{
    auto text = ReadText(section, ident);
    return text ? FlagFromText(*text, defaultValue) : defaultValue;
}

std::wstring IniStore::ReadString(const std::wstring& section, const std::wstring& ident,
                                  const std::wstring& defaultValue)
{
    return ReadText(section, ident).value_or(defaultValue);
}

void IniStore::WriteInteger(const std::wstring& section, const std::wstring& ident, std::int32_t value)
{
    WriteString(section, ident, EncodeInteger(value));
}

void IniStore::WriteBool(const std::wstring& section, const std::wstring& ident, bool value)
{
    WriteString(section, ident, EncodeFlag(value));
}

void IniStore::WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value)
{
    if (WriteStringValue(WriteKey(section), ident.c_str(), value) != ERROR_SUCCESS) {
        throw AppError(FormatMessageText(kSetValueError, ident));
    }
}

void IniStore::DeleteValue(const std::wstring& section, const std::wstring& ident)
{
    RegKey key;
    if (openKey_(root_, KeyPath(section), false, KEY_SET_VALUE, key.Put()) != ERROR_SUCCESS) {
        key.Release();
        return;
    }
    RegDeleteValueW(key.Get(), ident.c_str());
}

// Registry keys and string values for the settings store, the installer and the uninstaller.
#include "base/Registry.h"

namespace {
bool IsText(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ;
}
} // namespace

std::wstring RegistryStringText(std::wstring_view data)
{
    return std::wstring(data.substr(0, data.find(L'\0')));
}

LSTATUS OpenRegistryKey(HKEY root, const std::wstring& path, bool create, REGSAM access, HKEY* result)
{
    if (create) {
        return RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, result,
                               nullptr);
    }
    return RegOpenKeyExW(root, path.c_str(), 0, access, result);
}

StoredString ReadStringValue(HKEY key, const wchar_t* name, std::wstring& text)
{
    // Most values are short: one query into a small buffer, under Wine one round trip to the server; a longer
    // value is asked for again at the size that the first query reported.
    constexpr std::size_t kFirstTry = 64;
    DWORD type = REG_NONE;
    std::wstring data(kFirstTry, L'\0');
    auto size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    LSTATUS status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    while (status == ERROR_MORE_DATA) {
        data.assign(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    }
    if (status != ERROR_SUCCESS) {
        return StoredString::Absent;
    }
    if (!IsText(type)) {
        return StoredString::OtherType;
    }
    data.resize(size / sizeof(wchar_t));
    text = RegistryStringText(data);
    return StoredString::Text;
}

std::wstring ReadRegistryString(HKEY root, const wchar_t* path, const wchar_t* name)
{
    RegKey key;
    std::wstring text;
    if (RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) {
        key.Release();
        return text;
    }
    if (ReadStringValue(key.Get(), name, text) != StoredString::Text) {
        text.clear();
    }
    return text;
}

LSTATUS WriteStringValue(HKEY key, const wchar_t* name, const std::wstring& value)
{
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
}

LSTATUS DeleteRegistryValue(HKEY root, const wchar_t* path, const wchar_t* name)
{
    RegKey key;
    const LSTATUS status = RegOpenKeyExW(root, path, 0, KEY_SET_VALUE, key.Put());
    if (status != ERROR_SUCCESS) {
        key.Release();
        return status;
    }
    return RegDeleteValueW(key.Get(), name);
}

LSTATUS DeleteRegistryTree(HKEY root, const std::wstring& path)
{
    // Where RegDeleteTreeW leaves the emptied key, it goes after; where the key went along, that step finds nothing
    // (ERROR_FILE_NOT_FOUND).
    const LSTATUS status = RegDeleteTreeW(root, path.c_str());
    return status == ERROR_SUCCESS ? RegDeleteKeyW(root, path.c_str()) : status;
}

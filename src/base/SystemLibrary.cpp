// The system-folder-only library search of every program and the loader of libraries used on first use.
#include "base/SystemLibrary.h"

namespace {
bool SearchFlagsSupported()
{
    // Asked each time: a guarded static would bring the C++ library's guard and terminate handling into the
    // companion program, several times its own size. AddDllDirectory came with the same update.
    return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory") != nullptr;
}
} // namespace

SetDefaultDllDirectoriesFn SystemSetDefaultDllDirectories()
{
    // kernel32 is always loaded and always from the system folder, so looking it up cannot load anything.
    return reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
}

bool RestrictLibrarySearch(SetDefaultDllDirectoriesFn setDefault)
{
    return setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

HMODULE LoadSystemLibrary(const wchar_t* name)
{
    if (SearchFlagsSupported()) {
        return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    // Without the flags, a full path is the only way to keep the program's own folder out of the search.
    // Built in a fixed buffer: the companion program uses this file and carries no string library.
    wchar_t path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    const size_t nameLength = lstrlenW(name);
    if (length == 0 || length + 1 + nameLength >= MAX_PATH) {
        return nullptr;
    }
    path[length] = L'\\';
    lstrcpynW(path + length + 1, name, static_cast<int>(nameLength + 1));
    return LoadLibraryExW(path, nullptr, 0);
}

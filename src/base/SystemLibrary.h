// Where the programs find libraries: only in the system folder, never beside the program (an installer run
// from a downloads folder must not pick up a planted file), and libraries loaded on first use by the same rule.
#pragma once

#include <windows.h>

// The system's way to restrict the search, which Windows 7 has only with its library-loading update (KB2533623).
using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD flags);
// SetDefaultDllDirectories of this Windows; null where it lacks it.
SetDefaultDllDirectoriesFn SystemSetDefaultDllDirectories();

// Limits the search of every later library load, the system's own loads on the program's behalf included, to
// the system folder. Called first thing in every program's entry; false where the system cannot restrict it
// (no setDefault), where the loads below still name the system folder.
bool RestrictLibrarySearch(SetDefaultDllDirectoriesFn setDefault = SystemSetDefaultDllDirectories());

// Loads a system library from the system folder only. The module stays loaded for the program's life.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A function of a system library looked up on first use; null when the library or the function is missing.
template <typename Fn> Fn SystemFunction(const wchar_t* library, const char* name)
{
    const HMODULE module = LoadSystemLibrary(library);
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// The first step of the two programs that run with administrator rights, the installer and the uninstaller: the
// library search restricted to the system folder, or a refusal to run where Windows cannot restrict it.
#pragma once

#include <windows.h>

#include "base/SystemLibrary.h"

inline constexpr wchar_t kLibraryUpdateMissingText[] =
    L"この Windows には、ライブラリの読み込みに関する更新プログラム KB2533623 が入っていないため、実行できません。\r\n"
    L"Windows Update で KB2533623 を入れてから、もう一度実行してください。";

// Restricts the library search through setDefault. Where it cannot (Windows 7 without KB2533623, whose old search
// order would load a library planted beside the program with the program's rights), shows the refusal under the
// given caption and returns false: the program must then end without doing anything else.
bool StartWithSystemLibrariesOnly(const wchar_t* caption,
                                  SetDefaultDllDirectoriesFn setDefault = SystemSetDefaultDllDirectories());

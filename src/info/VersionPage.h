// The version page's links hand their targets to the shell through the opener its factory is given.
#pragma once

#include <windows.h>

// How the links open their targets: ShellExecuteW in the program.
using ShellOpenFn = HINSTANCE(WINAPI*)(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                                       INT showCommand);

// The author's mail address and home page that the links show and open.
extern const wchar_t kMailAddress[];
extern const wchar_t kHomepageUrl[];

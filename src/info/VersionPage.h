// The version page バージョン: the title, the author and two links, which hand their targets to the shell
// through the opener its factory is given.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "settings/SettingsPage.h"

// How the links open their targets: ShellExecuteW in the program.
using ShellOpenFn = std::function<HINSTANCE(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                            LPCWSTR directory, INT showCommand)>;

// The author's mail address and home page that the links show and open.
extern const wchar_t kMailAddress[];
extern const wchar_t kHomepageUrl[];

std::unique_ptr<SettingsPage> MakeVersionPage(ShellOpenFn openLink);

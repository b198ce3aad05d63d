// The version page バージョン: the title, the author and two links, which hand their targets to the shell;
// tests put their own opener in its place.
#pragma once

#include <windows.h>

#include <memory>

#include "settings/SettingsPage.h"

using ShellOpenFn = HINSTANCE(WINAPI*)(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                                       INT showCommand);
// Installs the function the links open their targets with; null restores ShellExecuteW. Returns the previous.
ShellOpenFn SetLinkOpener(ShellOpenFn opener);

// The author's mail address and home page that the links show and open.
extern const wchar_t kMailAddress[];
extern const wchar_t kHomepageUrl[];

std::unique_ptr<SettingsPage> MakeVersionPage();

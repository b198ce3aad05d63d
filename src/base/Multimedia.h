// The multimedia library's calls the programs make: PlaySound and MCI commands. The
// library is not one Windows protects from a planted copy, so it is loaded from the system folder on first use.
#pragma once

#include <windows.h>
#include <mmsystem.h>

BOOL MultimediaPlaySound(LPCWSTR sound, HMODULE module, DWORD flags);
MCIERROR MultimediaSendCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters);

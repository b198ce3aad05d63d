// A library that no Sorabune program names: lying beside a program, it stands for a planted copy of a system
// library. Loading it does nothing.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}

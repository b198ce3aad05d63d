// Calls into the multimedia library, looked up once in the copy of the system folder.
#include "base/Multimedia.h"

#include "base/SystemLibrary.h"

namespace {
constexpr wchar_t kLibrary[] = L"winmm.dll";

template <typename Fn> Fn Lookup(const char* name)
{
    return SystemFunction<Fn>(kLibrary, name);
}
} // namespace

BOOL MultimediaPlaySound(LPCWSTR sound, HMODULE module, DWORD flags)
{
    static const auto fn = Lookup<decltype(&PlaySoundW)>("PlaySoundW");
    return fn ? fn(sound, module, flags) : FALSE;
}

MCIERROR MultimediaSendCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters)
{
    static const auto fn = Lookup<decltype(&mciSendCommandW)>("mciSendCommandW");
    return fn ? fn(device, message, flags, parameters) : MCIERR_DEVICE_NOT_INSTALLED;
}

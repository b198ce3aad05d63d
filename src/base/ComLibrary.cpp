// COM loaded from the system folder on first use, and the apartment of one operation.
#include "base/ComLibrary.h"

#include "base/SystemLibrary.h"

namespace {
template <typename Fn> Fn Ole32Function(const char* name)
{
    return SystemFunction<Fn>(L"ole32.dll", name);
}
} // namespace

const ComLibrary& Com()
{
    static const ComLibrary library = {
        Ole32Function<decltype(&CoInitializeEx)>("CoInitializeEx"),
        Ole32Function<decltype(&CoUninitialize)>("CoUninitialize"),
        Ole32Function<decltype(&CoCreateInstance)>("CoCreateInstance"),
        Ole32Function<decltype(&CoTaskMemFree)>("CoTaskMemFree"),
        Ole32Function<decltype(&PropVariantClear)>("PropVariantClear"),
    };
    return library;
}

ComApartment::ComApartment()
    : initialised_(Com().Complete() && SUCCEEDED(Com().initialize(nullptr, COINIT_APARTMENTTHREADED)))
{
}

ComApartment::~ComApartment()
{
    if (initialised_) {
        Com().uninitialize();
    }
}

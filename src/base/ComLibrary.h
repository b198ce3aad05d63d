// COM for the system components the programs use (the item dialog, the imaging component), loaded on first use,
// and an apartment held for one operation.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <propidl.h>

// The library's functions; any of them null when ole32 lacks it.
struct ComLibrary {
    decltype(&CoInitializeEx) initialize;
    decltype(&CoUninitialize) uninitialize;
    decltype(&CoCreateInstance) createInstance;
    decltype(&CoTaskMemFree) taskMemFree;
    decltype(&PropVariantClear) propVariantClear;
    bool Complete() const { return initialize && uninitialize && createInstance && taskMemFree && propVariantClear; }
};
// The imaging component's factory, named here as the item dialog's class is: the system's GUID library would bring
// every GUID it knows.
inline constexpr CLSID kImagingFactoryClass = {
    0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};

// Loaded when first asked for: nothing at start needs COM.
const ComLibrary& Com();

// COM for an operation's time on this thread; a thread that already has it keeps it as it was.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

// COM for the wallpaper page's system components (the item dialog, the imaging component), loaded on first use,
// and an apartment held for one operation on the UI thread.
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
// Loaded when first asked for: nothing at start needs COM.
const ComLibrary& Com();

// COM for an operation's time on the UI thread; a thread that already has it keeps it as it was.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

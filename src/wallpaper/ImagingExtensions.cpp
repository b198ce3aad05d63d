// The file extensions of the installed imaging decoders, from the imaging component's list of its components;
// nothing of a picture is read here.
#include "wallpaper/ImagingExtensions.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cwchar>

#include "base/ComLibrary.h"
#include "base/Handles.h"

namespace {
std::wstring LowerCase(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; });
    return text;
}
} // namespace

std::vector<std::wstring> SystemPictureExtensions()
{
    std::vector<std::wstring> extensions;
    ComApartment com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IEnumUnknown> decoders;
    if (!Com().Complete() ||
        FAILED(
            Com().createInstance(kImagingFactoryClass, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.Put()))) ||
        FAILED(factory->CreateComponentEnumerator(WICDecoder, WICComponentEnumerateDefault, decoders.Put()))) {
        return extensions;
    }
    for (;;) {
        ComPtr<IUnknown> component;
        ULONG got = 0;
        if (decoders->Next(1, component.Put(), &got) != S_OK || got != 1) {
            break;
        }
        ComPtr<IWICBitmapDecoderInfo> info;
        UINT length = 0;
        if (FAILED(component->QueryInterface(IID_PPV_ARGS(info.Put()))) ||
            FAILED(info->GetFileExtensions(0, nullptr, &length)) || length == 0) {
            continue;
        }
        std::wstring list(length, L'\0');
        if (FAILED(info->GetFileExtensions(length, list.data(), &length))) {
            continue;
        }
        list.resize(std::wcslen(list.c_str()));
        // A list such as ".tiff,.tif"; some decoders part them by semicolons.
        std::size_t from = 0;
        while (from <= list.size()) {
            std::size_t end = std::min(list.find_first_of(L",; ", from), list.size());
            std::wstring extension = LowerCase(list.substr(from, end - from));
            if (extension.size() > 1 && extension[0] == L'.' &&
                std::find(extensions.begin(), extensions.end(), extension) == extensions.end()) {
                extensions.push_back(extension);
            }
            from = end + 1;
        }
    }
    return extensions;
}

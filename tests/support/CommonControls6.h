// Common controls of version 6, which the programs' manifests ask for and the test programs' do not: the controls
// created while an object of this class lives are of that version, with its notifications.
#pragma once

#include <windows.h>

#include <string>

#include "base/Handles.h"

class CommonControls6 {
public:
    CommonControls6()
    {
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        path_ = std::wstring(folder) + L"SorabuneControls6." + std::to_wstring(GetCurrentProcessId()) + L".manifest";
        {
            FileHandle file(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            DWORD written = 0;
            WriteFile(file.Get(), kManifest, sizeof(kManifest) - 1, &written, nullptr);
        }
        ACTCTXW request = {};
        request.cbSize = sizeof(request);
        request.lpSource = path_.c_str();
        context_ = CreateActCtxW(&request);
        active_ = context_ != INVALID_HANDLE_VALUE && ActivateActCtx(context_, &cookie_);
    }
    ~CommonControls6()
    {
        if (active_) {
            DeactivateActCtx(0, cookie_);
        }
        if (context_ != INVALID_HANDLE_VALUE) {
            ReleaseActCtx(context_);
        }
        DeleteFileW(path_.c_str());
    }
    CommonControls6(const CommonControls6&) = delete;
    CommonControls6& operator=(const CommonControls6&) = delete;
    bool Active() const { return active_; }

private:
    static constexpr char kManifest[] =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <dependency><dependentAssembly>
    <assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0"
      processorArchitecture="*" publicKeyToken="6595b64144ccf1df" language="*"/>
  </dependentAssembly></dependency>
</assembly>
)";
    std::wstring path_;
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};

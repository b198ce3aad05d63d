// Whether another process would load a library lying in its program's folder: the process is made to call
// LoadLibraryW on the bare name, as Windows does for an imported or system-loaded library, and its module
// list is read afterwards.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <string>

#include "base/Handles.h"

namespace e2e {

constexpr wchar_t kPlantedLibrary[] = L"planted_probe.dll";

// The base address of a module of the process, by file name; null when it has none of that name.
inline BYTE* ModuleBase(DWORD pid, const wchar_t* name)
{
    KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, pid));
    if (!snapshot || snapshot.Get() == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    MODULEENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Module32FirstW(snapshot.Get(), &entry); more; more = Module32NextW(snapshot.Get(), &entry)) {
        if (lstrcmpiW(entry.szModule, name) == 0) {
            return entry.modBaseAddr;
        }
    }
    return nullptr;
}

// True when the process, asked to load the library by its bare name, took it from its own folder.
inline bool LoadsLibraryBesideIt(HANDLE process, const wchar_t* library)
{
    const DWORD pid = GetProcessId(process);
    // Kernel32 may lie at another address in the other process: its LoadLibraryW is found by offset.
    const HMODULE localKernel = GetModuleHandleW(L"kernel32.dll");
    BYTE* remoteKernel = ModuleBase(pid, L"kernel32.dll");
    if (!remoteKernel) {
        ADD_FAILURE() << "no module list of process " << pid;
        return false;
    }
    const auto offset =
        reinterpret_cast<BYTE*>(GetProcAddress(localKernel, "LoadLibraryW")) - reinterpret_cast<BYTE*>(localKernel);
    const size_t bytes = (lstrlenW(library) + 1) * sizeof(wchar_t);
    void* name = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!name || !WriteProcessMemory(process, name, library, bytes, nullptr)) {
        ADD_FAILURE() << "cannot write into process " << pid;
        return false;
    }
    KernelHandle thread(CreateRemoteThread(
        process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(remoteKernel + offset), name, 0, nullptr));
    if (!thread || WaitForSingleObject(thread.Get(), 10000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "no call into process " << pid;
        return false;
    }
    VirtualFreeEx(process, name, 0, MEM_RELEASE);
    return ModuleBase(pid, library) != nullptr;
}

} // namespace e2e

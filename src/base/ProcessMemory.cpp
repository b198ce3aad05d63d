// The walk over the process's address space.
#include "base/ProcessMemory.h"

#include <windows.h>

std::uint64_t CommittedPrivateMemory()
{
    std::uint64_t total = 0;
    MEMORY_BASIC_INFORMATION info = {};
    for (auto* address = static_cast<BYTE*>(nullptr); VirtualQuery(address, &info, sizeof(info)) == sizeof(info);
         address = static_cast<BYTE*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) {
            total += info.RegionSize;
        }
        if (info.RegionSize == 0) {
            break;
        }
    }
    return total;
}

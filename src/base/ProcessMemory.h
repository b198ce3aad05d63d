// How much memory this process holds, as every system answers it (Wine gives no figure of another process's).
#pragma once

#include <cstdint>

// The committed private memory of this process, region by region.
std::uint64_t CommittedPrivateMemory();

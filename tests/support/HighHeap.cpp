// Puts every C++ allocation of a 64-bit test program above 4 GiB, so that a pointer cut to 32 bits on its way
// through window data or a message parameter points nowhere and the test that uses it crashes.
#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

#include "support/HighHeap.h"

#if defined(_WIN64)

namespace {

// Wine and Windows otherwise hand a young 64-bit process heap memory below 4 GiB, where a truncated pointer
// still works. A small free-list allocator over one reserved range far above that boundary makes it fail.
constexpr ULONG_PTR kArenaBase = 0x200000000000ull; // 32 TiB; well inside the user range of both systems
constexpr SIZE_T kArenaSize = SIZE_T{16} << 30;     // reserved address space only; committed as used
constexpr SIZE_T kCommitStep = SIZE_T{4} << 20;
constexpr SIZE_T kHeader = 16; // keeps blocks 16-byte aligned and remembers their size class
constexpr int kClasses = 24;   // 16 B … 128 MiB; larger blocks get their own pages
constexpr SIZE_T kLargeMark = ~SIZE_T{0};
constexpr unsigned char kFreedByte = 0xFE;

struct FreeBlock {
    FreeBlock* next;
};

SRWLOCK lock = SRWLOCK_INIT;
char* arenaStart = nullptr;
char* arenaTop = nullptr;       // next unused byte
char* arenaCommitted = nullptr; // end of committed pages
bool arenaTried = false;
FreeBlock* freeLists[kClasses] = {};

bool ReserveArena()
{
    arenaTried = true;
    void* base = VirtualAlloc(reinterpret_cast<void*>(kArenaBase), kArenaSize, MEM_RESERVE, PAGE_NOACCESS);
    if (!base) {
        base = VirtualAlloc(nullptr, kArenaSize, MEM_RESERVE | MEM_TOP_DOWN, PAGE_NOACCESS);
    }
    if (!base) {
        return false;
    }
    arenaStart = arenaTop = arenaCommitted = static_cast<char*>(base);
    return true;
}

int ClassOf(SIZE_T total)
{
    int c = 0;
    while ((SIZE_T{16} << c) < total) {
        ++c;
    }
    return c;
}

void* TakeFromArena(SIZE_T total)
{
    if (!arenaTried && !ReserveArena()) {
        return nullptr;
    }
    if (!arenaStart || static_cast<SIZE_T>(arenaStart + kArenaSize - arenaTop) < total) {
        return nullptr;
    }
    char* block = arenaTop;
    if (block + total > arenaCommitted) {
        SIZE_T need = static_cast<SIZE_T>(block + total - arenaCommitted);
        SIZE_T grow = (need + kCommitStep - 1) / kCommitStep * kCommitStep;
        if (grow > static_cast<SIZE_T>(arenaStart + kArenaSize - arenaCommitted)) {
            grow = static_cast<SIZE_T>(arenaStart + kArenaSize - arenaCommitted);
        }
        if (!VirtualAlloc(arenaCommitted, grow, MEM_COMMIT, PAGE_READWRITE)) {
            return nullptr;
        }
        arenaCommitted += grow;
    }
    arenaTop += total;
    return block;
}

void* Allocate(std::size_t size) noexcept
{
    SIZE_T total = (size ? size : 1) + kHeader;
    if (total < size) {
        return nullptr;
    }
    char* block = nullptr;
    if (total <= (SIZE_T{16} << (kClasses - 1))) {
        int c = ClassOf(total);
        AcquireSRWLockExclusive(&lock);
        if (FreeBlock* reused = freeLists[c]) {
            freeLists[c] = reused->next;
            block = reinterpret_cast<char*>(reused);
        } else {
            block = static_cast<char*>(TakeFromArena(SIZE_T{16} << c));
        }
        ReleaseSRWLockExclusive(&lock);
        if (!block) {
            return nullptr;
        }
        *reinterpret_cast<SIZE_T*>(block) = static_cast<SIZE_T>(c);
    } else {
        block =
            static_cast<char*>(VirtualAlloc(nullptr, total, MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN, PAGE_READWRITE));
        if (!block) {
            return nullptr;
        }
        *reinterpret_cast<SIZE_T*>(block) = kLargeMark;
    }
    return block + kHeader;
}

void Release(void* p) noexcept
{
    if (!p) {
        return;
    }
    char* block = static_cast<char*>(p) - kHeader;
    SIZE_T c = *reinterpret_cast<SIZE_T*>(block);
    if (c == kLargeMark) {
        VirtualFree(block, 0, MEM_RELEASE);
        return;
    }
    // A freed block reads as a pointer that points nowhere, so that code using an object after its end crashes
    // instead of reading what the object held.
    std::memset(block + kHeader, kFreedByte, (SIZE_T{16} << c) - kHeader);
    AcquireSRWLockExclusive(&lock);
    auto* freed = reinterpret_cast<FreeBlock*>(block);
    freed->next = freeLists[c];
    freeLists[c] = freed;
    ReleaseSRWLockExclusive(&lock);
}

void* AllocateOrThrow(std::size_t size)
{
    for (;;) {
        if (void* p = Allocate(size)) {
            return p;
        }
        std::new_handler handler = std::get_new_handler();
        if (!handler) {
            throw std::bad_alloc();
        }
        handler();
    }
}

// Blocks come 16-byte aligned; a stricter alignment takes a larger block and steps forward inside it, keeping
// the distance just before the pointer handed out.
void* AllocateAligned(std::size_t size, std::align_val_t alignment, bool mayThrow)
{
    auto align = static_cast<std::size_t>(alignment);
    if (align <= kHeader) {
        return mayThrow ? AllocateOrThrow(size) : Allocate(size);
    }
    std::size_t padded = size + align;
    if (padded < size) {
        if (mayThrow) {
            throw std::bad_alloc();
        }
        return nullptr;
    }
    void* raw = mayThrow ? AllocateOrThrow(padded) : Allocate(padded);
    if (!raw) {
        return nullptr;
    }
    auto address = reinterpret_cast<ULONG_PTR>(raw);
    ULONG_PTR aligned = (address + align) & ~static_cast<ULONG_PTR>(align - 1);
    reinterpret_cast<ULONG_PTR*>(aligned)[-1] = aligned - address;
    return reinterpret_cast<void*>(aligned);
}

void ReleaseAligned(void* p, std::align_val_t alignment) noexcept
{
    if (!p) {
        return;
    }
    if (static_cast<std::size_t>(alignment) <= kHeader) {
        Release(p);
        return;
    }
    auto aligned = reinterpret_cast<ULONG_PTR>(p);
    Release(reinterpret_cast<void*>(aligned - reinterpret_cast<ULONG_PTR*>(aligned)[-1]));
}

} // namespace

void* operator new(std::size_t size)
{
    return AllocateOrThrow(size);
}
void* operator new[](std::size_t size)
{
    return AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void operator delete(void* p) noexcept
{
    Release(p);
}
void operator delete[](void* p) noexcept
{
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
    Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    Release(p);
}

void* operator new(std::size_t size, std::align_val_t a)
{
    return AllocateAligned(size, a, true);
}
void* operator new[](std::size_t size, std::align_val_t a)
{
    return AllocateAligned(size, a, true);
}
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept
{
    return AllocateAligned(size, a, false);
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept
{
    return AllocateAligned(size, a, false);
}
void operator delete(void* p, std::align_val_t a) noexcept
{
    ReleaseAligned(p, a);
}
void operator delete[](void* p, std::align_val_t a) noexcept
{
    ReleaseAligned(p, a);
}
void operator delete(void* p, std::size_t, std::align_val_t a) noexcept
{
    ReleaseAligned(p, a);
}
void operator delete[](void* p, std::size_t, std::align_val_t a) noexcept
{
    ReleaseAligned(p, a);
}
void operator delete(void* p, std::align_val_t a, const std::nothrow_t&) noexcept
{
    ReleaseAligned(p, a);
}
void operator delete[](void* p, std::align_val_t a, const std::nothrow_t&) noexcept
{
    ReleaseAligned(p, a);
}

bool HighHeapActive()
{
    AcquireSRWLockShared(&lock);
    bool active = arenaStart != nullptr && reinterpret_cast<ULONG_PTR>(arenaStart) > 0xFFFFFFFFull;
    ReleaseSRWLockShared(&lock);
    return active;
}

#else

bool HighHeapActive()
{
    return false;
}

#endif

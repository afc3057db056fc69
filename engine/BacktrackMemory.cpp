#include "BacktrackMemory.h"

#include "WorkBudget.h"

#include <algorithm>
#include <atomic>
#include <cstdint>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/mman.h>
#define TAMARIN_BACKTRACK_REGION 1
static_assert(tamarin::backtrack_memory::HasRegion);
#else
static_assert(!tamarin::backtrack_memory::HasRegion);
#endif

namespace tamarin::backtrack_memory {

namespace {

// Pages are asked for in this size where the system has it: a match that
// fills hundreds of megabytes then takes a fault per 2 MiB instead of one
// per 4 KiB.
constexpr std::size_t LargePage = std::size_t{2} << 20;
constexpr std::size_t RegionBytes = MaxBacktrackMemory;
static_assert(RegionBytes % LargePage == 0 && LargePage % BlockBytes == 0);

struct Region {
    char* base = nullptr;
    bool reserved = false;    // tried to: base stays null when that failed
    std::size_t used = 0;     // blocks handed out, from the start
    std::size_t touched = 0;  // blocks that may hold pages
};
Region region;
// The thread whose match holds the region (an address of its own), or null.
std::atomic<const void*> owner{nullptr};
thread_local const char thisThread = 0;

bool Own()
{
    const void* expected = nullptr;
    return owner.load(std::memory_order_acquire) == &thisThread ||
           owner.compare_exchange_strong(expected, &thisThread, std::memory_order_acquire);
}

void Disown()
{
    owner.store(nullptr, std::memory_order_release);
}

// Address space for the whole region, which holds no page until touched.
void Reserve()
{
    region.reserved = true;
#ifdef TAMARIN_BACKTRACK_REGION
    void* mapped = mmap(nullptr, RegionBytes + LargePage, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (mapped == MAP_FAILED)
        return;
    // Large pages need their alignment; the slack before and after stays unused.
    const auto address = reinterpret_cast<std::uintptr_t>(mapped);
    region.base = reinterpret_cast<char*>((address + LargePage - 1) & ~(LargePage - 1));
#ifdef MADV_HUGEPAGE
    madvise(region.base, RegionBytes, MADV_HUGEPAGE);
#endif
#endif
}

// Gives the pages of the blocks from `block` on back to the system.
void Release(std::size_t block)
{
#ifdef TAMARIN_BACKTRACK_REGION
    if (block < region.touched)
        madvise(region.base + block * BlockBytes, (region.touched - block) * BlockBytes, MADV_DONTNEED);
#endif
    region.touched = std::min(region.touched, block);
}

} // namespace

void* TakeBlock()
{
    if (!Own())
        return nullptr;
    if (!region.reserved)
        Reserve();
    if (!region.base || region.used == RegionBytes / BlockBytes) {
        if (region.used == 0)
            Disown();
        return nullptr;
    }
    void* block = region.base + region.used * BlockBytes;
    ++region.used;
    region.touched = std::max(region.touched, region.used);
    return block;
}

bool GiveBack(void* block)
{
    const char* at = static_cast<const char*>(block);
    if (!region.base || at < region.base || at >= region.base + RegionBytes)
        return false;
    // Last in, first out: this block and any above it are free again.
    region.used = std::min(region.used, static_cast<std::size_t>(at - region.base) / BlockBytes);
    if (region.used == 0)
        Disown();
    return true;
}

void KeepAtMost(std::size_t bytes)
{
    if (!Own())
        return;
    if (region.used == 0) {
        // Whole large pages are kept, so that none is split.
        const std::size_t kept = std::min(RegionBytes, (bytes + LargePage - 1) / LargePage * LargePage);
        Release(kept / BlockBytes);
        Disown();
    }
}

std::size_t KeptBytes()
{
    return region.touched * BlockBytes;
}

} // namespace tamarin::backtrack_memory

#include "HeapPolicy.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace heap {

void KeepLargeBuffersForReuse()
{
#ifdef __GLIBC__
    // Blocks of any size come from the heap (a mapped block would be
    // unmapped when freed), and up to this much freed memory stays there.
    constexpr int KeptFreeMemory = 512 * 1024 * 1024;
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, KeptFreeMemory);
#endif
}

void ReturnFreedMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace heap

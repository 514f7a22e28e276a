#include "HugePageHeap.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdlib>

void HugePageHeap::prepare()
{
    // No block mapped on its own, however large; a heap that grows by the
    // reserve and is never trimmed.
    if (mallopt(M_MMAP_MAX, 0) == 0 || mallopt(M_TOP_PAD, static_cast<int>(RESERVE)) == 0
        || mallopt(M_TRIM_THRESHOLD, INT_MAX) == 0)
        return;

    // Grow the heap now, then mark the new part, from its first whole large page.
    const auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
    void* volatile grow = std::malloc(64u << 20);
    std::free(grow);
    const auto after = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t largePage = std::uintptr_t(2) << 20;
    const std::uintptr_t start = (before + largePage - 1) & ~(largePage - 1);
    if (after > start)
        madvise(reinterpret_cast<void*>(start), after - start, MADV_HUGEPAGE);
}

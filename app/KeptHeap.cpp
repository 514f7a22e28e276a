#include "KeptHeap.h"

#include <malloc.h>

#include <climits>

void KeptHeap::prepare()
{
    // No block mapped on its own, however large; a heap that grows by the
    // reserve and is never trimmed. Where the C library takes none of this
    // (another allocator), the program runs as it would have.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TOP_PAD, static_cast<int>(RESERVE));
    mallopt(M_TRIM_THRESHOLD, INT_MAX);
}

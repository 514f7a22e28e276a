#pragma once

#include <cstddef>

// Keeps the program's memory in the one heap, handed back to nobody.
//
// The start builds the terrain several times over (the engine's copy, the
// one it draws and the renderer's) and frees some of it again. By default
// the C library maps each large block on its own and unmaps it when freed,
// so the next large block faults in fresh, zeroed pages: the kernel's work,
// and on a virtual machine whose host takes back free memory, the host's
// too. Here every block comes from the one heap, which grows a gigabyte of
// address space at a time and is never trimmed, so freed memory is reused
// as it stands.
//
// The heap is not put on 2 MiB pages: on our virtual machines memory left
// free for a few seconds goes back to the host, and faulting it in again on
// large pages took 260 to 670 ms for 256 MB, against 90 to 140 ms on 4 KiB
// pages. Only a start right after another process freed its large pages
// was faster on them.
class KeptHeap {
public:
    // Call first thing in main, before anything large is allocated.
    static void prepare();

    static constexpr std::size_t RESERVE = std::size_t(1) << 30;  // bytes of address space the heap grows by
};

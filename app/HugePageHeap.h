#pragma once

#include <cstddef>

// Puts the program's heap on the kernel's 2 MiB pages.
//
// The start reads some 300 MB into memory: the terrain three times over (the
// engine's copy, the one it draws and the renderer's), the pictures and their
// textures. Each 4 KiB page of it costs a page fault the first time it is
// touched: 80,000 of them, over a third of the start on our machines. On
// 2 MiB pages that is a few thousand.
//
// The kernel gives large pages only to memory marked for them, so the C
// library is told to take every block from the one heap, growing it a
// gigabyte at a time and never handing it back, and the heap is marked once.
// Where any of this is not available (another allocator, large pages turned
// off), the program runs as it would have.
class HugePageHeap {
public:
    // Call first thing in main, before anything large is allocated.
    static void prepare();

    static constexpr std::size_t RESERVE = std::size_t(1) << 30;  // bytes the heap grows by at a time
};

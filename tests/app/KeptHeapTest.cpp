#include "KeptHeap.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

namespace {

long minorFaults()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

} // namespace

// Run alone in its process, as ctest runs each test: the heap is the test's own.
// A large block comes from the heap, and once freed its pages stay: the next
// block of that size is the same memory and touching it faults nothing in.
TEST(KeptHeap, LargeBlocksAreReusedWithoutFreshPages)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's allocator keeps its own heap";
#endif
    KeptHeap::prepare();
    const std::size_t size = 96u << 20;
    char* first = new char[size];
    std::memset(first, 1, size);
    const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
    EXPECT_LT(reinterpret_cast<std::uintptr_t>(first) + size, end) << "the block was mapped on its own";
    delete[] first;

    char* second = new char[size];
    const long before = minorFaults();
    std::memset(second, 2, size);
    // 96 MB of fresh 4 KiB pages would be 24,576 faults.
    EXPECT_LT(minorFaults() - before, 100);
    EXPECT_EQ(second[size / 2], 2);
    delete[] second;
}

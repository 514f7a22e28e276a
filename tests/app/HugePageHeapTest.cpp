#include "HugePageHeap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

std::string readFile(const char* path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Kilobytes of this process's memory on large pages.
long largePageKb()
{
    std::istringstream rollup(readFile("/proc/self/smaps_rollup"));
    std::string line;
    while (std::getline(rollup, line))
        if (line.rfind("AnonHugePages:", 0) == 0)
            return std::stol(line.substr(std::strlen("AnonHugePages:")));
    return -1;
}

} // namespace

// Run alone in its process, as ctest runs each test: the heap is the test's own.
TEST(HugePageHeap, LargeBlocksLandOnLargePages)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's allocator keeps its own heap";
#endif
    const std::string mode = readFile("/sys/kernel/mm/transparent_hugepage/enabled");
    if (mode.empty() || mode.find("[never]") != std::string::npos)
        GTEST_SKIP() << "the kernel gives no large pages here";
    ASSERT_GE(largePageKb(), 0);

    HugePageHeap::prepare();
    const long before = largePageKb();
    const std::size_t size = 96u << 20;
    std::unique_ptr<char[]> block(new char[size]);
    std::memset(block.get(), 1, size);
    // All but the large pages cut at its two ends.
    EXPECT_GE(largePageKb() - before, static_cast<long>((size >> 10) - 4096));
    EXPECT_EQ(block[size / 2], 1);
}

// Bakes every resource the game reads from ../res/ into the directory given
// on the command line. Deterministic: the same baker writes the same bytes.

#include "BakeRegistry.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s RES_DIR [STEP...]\n", argv[0]);
        return 2;
    }
    const std::string resDir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(resDir, error);
    if (error) {
        std::fprintf(stderr, "cannot create %s: %s\n", resDir.c_str(), error.message().c_str());
        return 1;
    }

    // Steps run in name order so that the output never depends on link order.
    std::vector<BakeRegistry::Entry> steps = BakeRegistry::entries();
    std::sort(steps.begin(), steps.end(), [](const auto& a, const auto& b) {
        return std::strcmp(a.name, b.name) < 0;
    });

    int failures = 0;
    for (const auto& step : steps) {
        bool wanted = argc == 2;
        for (int i = 2; i < argc; ++i)
            wanted = wanted || std::strcmp(argv[i], step.name) == 0;
        if (!wanted)
            continue;
        const auto begin = std::chrono::steady_clock::now();
        const bool ok = step.bake(resDir);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
        std::printf("%-10s %s %7.0f ms\n", step.name, ok ? "ok    " : "FAILED", ms);
        if (!ok)
            ++failures;
    }
    return failures == 0 ? 0 : 1;
}

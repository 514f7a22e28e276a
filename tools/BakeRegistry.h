#pragma once

#include <string>
#include <vector>

// Every baker registers itself here with the files it writes, so the baker
// program runs all of them without knowing each one.
class BakeRegistry {
public:
    using BakeFunction = bool (*)(const std::string& resDir);

    struct Entry {
        const char* name;       // what the step bakes, for messages
        BakeFunction bake;      // writes its files into resDir; false on failure
    };

    // Adds a step at static initialisation time; use through a file-level
    // `static const BakeRegistry::Registration`.
    struct Registration {
        Registration(const char* name, BakeFunction bake);
    };

    static const std::vector<Entry>& entries();

private:
    static std::vector<Entry>& mutableEntries();
};

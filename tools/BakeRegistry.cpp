#include "BakeRegistry.h"

BakeRegistry::Registration::Registration(const char* name, BakeFunction bake)
{
    mutableEntries().push_back(Entry{name, bake});
}

const std::vector<BakeRegistry::Entry>& BakeRegistry::entries()
{
    return mutableEntries();
}

std::vector<BakeRegistry::Entry>& BakeRegistry::mutableEntries()
{
    static std::vector<Entry> list;
    return list;
}

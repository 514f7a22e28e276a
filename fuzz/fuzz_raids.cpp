// The best raids' file as the game meets it: the text through the parser,
// and the same bytes as the file in the player's data folder, loaded at
// start and read again when a raid is lost and recorded.
#include "RaidTable.h"
#include "ScratchFolder.h"

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

bool isSorted(const std::vector<RaidTable::Entry>& table)
{
    for (std::size_t i = 1; i < table.size(); ++i)
        if (RaidTable::ranksAbove(table[i], table[i - 1]))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<RaidTable::Entry> table;
    std::string fault;
    if (RaidTable::parse(text, table, fault)) {
        // What was read is a table the game could have written, and writes back the same.
        if (table.size() > RaidTable::capacity || !isSorted(table))
            std::abort();
        std::vector<RaidTable::Entry> again;
        if (!RaidTable::parse(RaidTable::format(table), again, fault) || !(again == table))
            std::abort();
    } else if (!table.empty() || fault.empty()) {
        std::abort();
    }

    const ScratchFolder& folder = ScratchFolder::shared();
    folder.clear();
    const std::string path = folder.write("raids", data, size);
    RaidTable raids(path);
    raids.load();
    if (raids.getEntries().size() > RaidTable::capacity)
        std::abort();
    raids.record(RaidTable::Entry{31000, 3, 42, 1718000000});
    std::cerr.clear();
    return 0;
}

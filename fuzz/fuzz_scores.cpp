// The best rounds' file as the game meets it: the text through the parser,
// and the same bytes as the file in the player's data folder, loaded at
// start and read again when a round ends and is recorded.
#include "ScoreTable.h"
#include "ScratchFolder.h"

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

bool isSorted(const std::vector<ScoreTable::Entry>& table)
{
    for (std::size_t i = 1; i < table.size(); ++i)
        if (ScoreTable::ranksAbove(table[i], table[i - 1]))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<ScoreTable::Entry> table;
    std::string fault;
    if (ScoreTable::parse(text, table, fault)) {
        // What was read is a table the game could have written, and writes back the same.
        if (table.size() > ScoreTable::capacity || !isSorted(table) || !fault.empty())
            std::abort();
        std::vector<ScoreTable::Entry> again;
        if (!ScoreTable::parse(ScoreTable::format(table), again, fault) || !(again == table))
            std::abort();
    } else if (!table.empty() || fault.empty()) {
        std::abort();
    }

    const ScratchFolder& folder = ScratchFolder::shared();
    folder.clear();
    const std::string path = folder.write("scores", data, size);
    ScoreTable scores(path);
    scores.load();
    if (scores.getEntries().size() > ScoreTable::capacity)
        std::abort();
    scores.record(ScoreTable::Entry{1234, 3, 1718000000});
    std::cerr.clear();
    return 0;
}

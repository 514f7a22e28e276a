// Ends rounds for ever through the real best-rounds table, for the kill test.
// Round n scores n points, so it always enters at the top: the table after
// round n holds rounds n, n-1, ... down to the tenth. After each round's end
// has been recorded the writer prints its number on standard output.
//
//     score_writer FIRST      the table lives where the game keeps it ($XDG_DATA_HOME)

#include "ScoreTable.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    ScoreTable table(ScoreTable::defaultPath());
    table.load();
    for (unsigned long n = std::strtoul(argv[1], nullptr, 10);; ++n) {
        const irr::u32 points = static_cast<irr::u32>(n);
        if (table.record({points, points % 6, 1700000000ull + n}) != 0)
            return 1;
        const std::string line = std::to_string(n) + "\n";
        if (::write(1, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
            return 1;
    }
}

#include "CommandLine.h"

#include <getopt.h>

#include <cerrno>
#include <cstdlib>

const char* const CommandLine::usage = "usage: torvel [--raid NUMBER]";

bool CommandLine::parse(int argc, char** argv)
{
    static const option options[] = {
        {"raid", required_argument, nullptr, 'r'},
        {nullptr, 0, nullptr, 0},
    };
    opterr = 0;   // the caller prints the usage line, not getopt's own words
    optind = 1;
    int option;
    while ((option = getopt_long(argc, argv, "", options, nullptr)) != -1) {
        if (option != 'r')
            return false;
        // Digits only: no sign, no blanks, no base prefix, nothing after.
        const char* text = optarg;
        if (text[0] < '0' || text[0] > '9')
            return false;
        char* end = nullptr;
        errno = 0;
        const unsigned long long value = std::strtoull(text, &end, 10);
        if (errno != 0 || *end != '\0' || value > 0xFFFFFFFFull)
            return false;
        raidGiven = true;
        raidNumber = static_cast<irr::u32>(value);
    }
    return optind == argc;
}

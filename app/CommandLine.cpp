#include "CommandLine.h"

#include <getopt.h>

#include <cerrno>
#include <cstdlib>

const char* CommandLine::usage()
{
    return "usage: torvel [--raid NUMBER] [--fullscreen | --windowed]";
}

const char* CommandLine::help()
{
    return "usage: torvel [--raid NUMBER] [--fullscreen | --windowed]\n"
           "  --raid NUMBER  make the first air raid the one of that number, to play it again\n"
           "  --fullscreen   play fullscreen this time, whatever the settings say\n"
           "  --windowed     play in a window this time\n"
           "  --help         show this help\n";
}

namespace {

// Digits only: no sign, no blanks, no base prefix, nothing after.
bool readNumber(const char* text, irr::u32& number)
{
    if (text[0] < '0' || text[0] > '9')
        return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0' || value > 0xFFFFFFFFull)
        return false;
    number = static_cast<irr::u32>(value);
    return true;
}

} // namespace

bool CommandLine::parse(int argc, char** argv)
{
    static const option options[] = {
        {"raid", required_argument, nullptr, 'r'},
        {"fullscreen", no_argument, nullptr, 'f'},
        {"windowed", no_argument, nullptr, 'w'},
        {"help", no_argument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    window = Window::AsSet;
    helpWanted = false;
    raidGiven = false;
    fault.clear();
    // getopt keeps its place in globals: start it afresh, and quietly, since
    // the reason is ours to tell.
    optind = 0;
    opterr = 0;
    for (int c; (c = getopt_long(argc, argv, "h", options, nullptr)) != -1;) {
        switch (c) {
        case 'f': window = Window::Fullscreen; break;
        case 'w': window = Window::Windowed; break;
        case 'h': helpWanted = true; break;
        case 'r':
            if (!readNumber(optarg, raidNumber)) {
                fault = std::string("'") + optarg + "' is not a raid number";
                return false;
            }
            raidGiven = true;
            break;
        case ':':
            fault = "--raid needs a number";
            return false;
        default:
            fault = std::string("unknown option '") + (optind > 0 && optind <= argc ? argv[optind - 1] : "?") + "'";
            return false;
        }
    }
    if (optind < argc) {
        fault = std::string("unexpected argument '") + argv[optind] + "'";
        return false;
    }
    return true;
}

#include "CommandLine.h"

#include <getopt.h>

const char* CommandLine::usage()
{
    return "usage: torvel [--fullscreen | --windowed]\n"
           "  --fullscreen  play fullscreen this time, whatever the settings say\n"
           "  --windowed    play in a window this time\n"
           "  --help        show this help\n";
}

bool CommandLine::parse(int argc, char** argv)
{
    static const option options[] = {
        {"fullscreen", no_argument, nullptr, 'f'},
        {"windowed", no_argument, nullptr, 'w'},
        {"help", no_argument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    window = Window::AsSet;
    help = false;
    fault.clear();
    // getopt keeps its place in globals: start it afresh, and quietly, since
    // the reason is ours to tell.
    optind = 0;
    opterr = 0;
    for (int c; (c = getopt_long(argc, argv, "h", options, nullptr)) != -1;) {
        switch (c) {
        case 'f': window = Window::Fullscreen; break;
        case 'w': window = Window::Windowed; break;
        case 'h': help = true; break;
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

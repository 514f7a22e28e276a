#include "CommandLine.h"
#include "EngineContext.h"
#include "KeptHeap.h"
#include "ResourceFolder.h"
#include "StopSignals.h"
#include "TorvelApp.h"

#include <iostream>

int main(int argc, char** argv)
{
    CommandLine options;
    if (!options.parse(argc, argv)) {
        std::cerr << "torvel: " << options.getFault() << "; " << CommandLine::usage() << std::endl;
        return 2;
    }
    if (options.wantsHelp()) {
        std::cout << CommandLine::help();
        return 0;
    }
    if (!ResourceFolder::isPresent()) {
        std::cout << ResourceFolder::missingMessage() << std::endl;
        return 0;
    }
    KeptHeap::prepare();
    StopSignals::install();
    TorvelApp* app = new TorvelApp();
    if (options.hasRaidNumber())
        app->setRaidNumber(options.getRaidNumber());
    app->chooseWindow(options.getWindow());
    app->run();
    delete app;
    destroyEngineContext();
    return 0;
}

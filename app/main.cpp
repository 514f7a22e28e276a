#include "CommandLine.h"
#include "EngineContext.h"
#include "HugePageHeap.h"
#include "ResourceFolder.h"
#include "TorvelApp.h"

#include <iostream>

int main(int argc, char** argv)
{
    CommandLine commandLine;
    if (!commandLine.parse(argc, argv)) {
        std::cerr << CommandLine::usage << std::endl;
        return 2;
    }
    if (!ResourceFolder::isPresent()) {
        std::cout << ResourceFolder::missingMessage() << std::endl;
        return 0;
    }
    HugePageHeap::prepare();
    TorvelApp* app = new TorvelApp();
    if (commandLine.raidGiven)
        app->setRaidNumber(commandLine.raidNumber);
    app->run();
    delete app;
    destroyEngineContext();
    return 0;
}

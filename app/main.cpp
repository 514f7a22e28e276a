#include "EngineContext.h"
#include "HugePageHeap.h"
#include "ResourceFolder.h"
#include "StopSignals.h"
#include "TorvelApp.h"

#include <iostream>

int main()
{
    if (!ResourceFolder::isPresent()) {
        std::cout << ResourceFolder::missingMessage() << std::endl;
        return 0;
    }
    HugePageHeap::prepare();
    StopSignals::install();
    TorvelApp* app = new TorvelApp();
    app->run();
    delete app;
    destroyEngineContext();
    return 0;
}

#include "EngineContext.h"
#include "HugePageHeap.h"
#include "ResourceFolder.h"
#include "TorvelApp.h"

#include <iostream>

int main()
{
    if (!ResourceFolder::isPresent()) {
        std::cout << ResourceFolder::missingMessage() << std::endl;
        return 0;
    }
    HugePageHeap::prepare();
    TorvelApp* app = new TorvelApp();
    app->run();
    delete app;
    destroyEngineContext();
    return 0;
}

#include "EngineContext.h"
#include "HugePageHeap.h"
#include "TorvelApp.h"

int main()
{
    HugePageHeap::prepare();
    TorvelApp* app = new TorvelApp();
    app->run();
    delete app;
    destroyEngineContext();
    return 0;
}

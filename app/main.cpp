#include "EngineContext.h"
#include "TorvelApp.h"

int main()
{
    TorvelApp* app = new TorvelApp();
    app->run();
    delete app;
    destroyEngineContext();
    return 0;
}

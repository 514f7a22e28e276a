#include "FuzzEngine.h"

#include "EngineContext.h"
#include "NullEngine.h"

#include <irrlicht.h>

#include <cstdio>
#include <cstdlib>

using namespace irr;

IrrlichtDevice* FuzzEngine::device()
{
    static NullEngine engine;
    static bool quiet = false;
    if (!engine.getDevice()) {
        std::fputs("the engine's null device cannot be made\n", stderr);
        std::abort();
    }
    if (!quiet) {
        engine.getDevice()->getLogger()->setLogLevel(ELL_NONE);
        quiet = true;
    }
    return engine.getDevice();
}

IrrlichtDevice* getDevice()
{
    return FuzzEngine::device();
}

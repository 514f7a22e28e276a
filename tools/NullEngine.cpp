#include "NullEngine.h"

#include <irrlicht.h>

using namespace irr;

NullEngine::NullEngine()
{
    SIrrlichtCreationParameters parameters;
    parameters.DriverType = video::EDT_NULL;
    parameters.LoggingLevel = ELL_ERROR;
    device = createDeviceEx(parameters);
}

NullEngine::~NullEngine()
{
    if (device)
        device->drop();
}

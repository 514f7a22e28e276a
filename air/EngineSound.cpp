#include "EngineSound.h"

#include "AudioManager.h"
#include "AudioSource.h"
#include "ResourceTable.h"

using namespace irr;

const char* const EngineSound::file = ResourceTable::path(Resource::EngineSound);

EngineSound::EngineSound(torvel::AudioManager* audio) : source(nullptr), started(false)
{
    if (audio) {
        source = audio->create("engineSound", file, false);
        source->setGain(gain);
    }
}

EngineSound::~EngineSound()
{
    if (source)
        source->stop();
}

void EngineSound::follow(const core::vector3df& position)
{
    if (!source)
        return;
    if (started) {
        source->move(position.X, position.Y, position.Z);
        return;
    }
    started = source->play3d(position.X, position.Y, position.Z, strength, true);
}

bool EngineSound::isSounding() const
{
    return source && source->isPlaying();
}

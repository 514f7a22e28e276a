#include "HitEffects.h"

#include "AudioManager.h"
#include "AudioSource.h"
#include "FireballEffect.h"
#include "ResourceTable.h"

#include <ISceneManager.h>

using namespace irr;

const char* const HitEffects::boomFile = ResourceTable::path(Resource::HitSound);
const char* const HitEffects::fireballFile = ResourceTable::path(Resource::Fireball);

HitEffects::HitEffects(scene::ISceneManager* sceneManager, video::ITexture* fireball, torvel::AudioManager* audio)
    : sceneManager(sceneManager), fireballTexture(fireball), audio(audio)
{
}

HitEffects::~HitEffects() = default;

void HitEffects::hit(scene::ISceneNode* jet, const core::vector3df& position, u32 now)
{
    if (sceneManager && fireballTexture) {
        // Under the jet's node it burns where the jet flies on to; a jet
        // without a node leaves it where the hit was.
        scene::ISceneNode* parent = jet ? jet : sceneManager->getRootSceneNode();
        const core::vector3df at = jet ? core::vector3df(0, 0, 0) : position;
        fireballs.push_back(std::make_unique<FireballEffect>(sceneManager, parent, at, fireballTexture, now));
    }
    // The boom stays where the jet blew up; the jet flies on without it.
    if (torvel::AudioSource* boom = freeBoom())
        boom->play3d(position.X, position.Y, position.Z, boomStrength, false);
    lastHit = now;
    ducking = true;
    if (ducked)
        ducked->setGain(gunGain(0));
}

f32 HitEffects::gunGain(u32 sinceHit)
{
    if (sinceHit <= duckHold)
        return duckGain;
    if (sinceHit >= duckHold + duckRelease)
        return 1.0f;
    const f32 back = static_cast<f32>(sinceHit - duckHold) / static_cast<f32>(duckRelease);
    return duckGain + (1.0f - duckGain) * back;
}

void HitEffects::update(u32 now)
{
    if (ducking) {
        const f32 gain = gunGain(now - lastHit);
        ducking = gain < 1.0f;
        if (ducked)
            ducked->setGain(gain);
    }
    for (auto it = fireballs.begin(); it != fireballs.end();) {
        if ((*it)->update(now))
            ++it;
        else
            it = fireballs.erase(it);
    }
}

torvel::AudioSource* HitEffects::freeBoom()
{
    if (!audio)
        return nullptr;
    for (torvel::AudioSource* boom : booms)
        if (!boom->isPlaying())
            return boom;
    booms.push_back(audio->create("hitSound", boomFile, false));
    return booms.back();
}

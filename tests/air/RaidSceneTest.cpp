// What a raid's hits and bombs look and sound like, on a real OpenGL device
// with the baked meshes and fireball and OpenAL Soft's silent null device,
// from the build's bin/: a raid left alone until its first bomber and its
// first stick, then hits told to the scene as the rules tell them.

#include "AudioManager.h"
#include "AudioSource.h"
#include "HitEffects.h"
#include "Raid.h"
#include "RaidScene.h"

#include <IBillboardSceneNode.h>
#include <IParticleSystemSceneNode.h>
#include <TestGlDevice.h>
#include <gtest/gtest.h>

#include <memory>

using namespace irr;

namespace {

u32 childrenOfType(const scene::ISceneNode* node, scene::ESCENE_NODE_TYPE type)
{
    u32 count = 0;
    for (const scene::ISceneNode* child : node->getChildren())
        count += child->getType() == type;
    return count;
}

Raid::Event told(Raid::Event::Type type, u32 index, u32 amount, u32 time)
{
    return Raid::Event{type, time, 3, index, core::vector3df(0, 500, 300), core::vector3df(), amount};
}

} // namespace

TEST(RaidScene, ABombersHitsPuffThenSparkThenBurnAndAShotBombFallsSilent)
{
    TestGlDevice gl{core::vector3df(0.0f, 0.0f, 0.0f)};
    if (!gl.device)
        GTEST_SKIP() << "needs an X display";
    scene::ISceneManager* scene = gl.device->getSceneManager();
    std::unique_ptr<torvel::AudioManager> audio(
        torvel::createAudioManager(true, testing::TempDir() + "raid-scene-log.html"));
    HitEffects effects(scene, scene->getVideoDriver()->getTexture(HitEffects::fireballFile), audio.get());
    RaidScene shown(scene, audio.get(), &effects);

    // Left alone until its first bomb is in the air.
    Raid raid(43, 0);
    u32 now = 0;
    while (raid.getBombs().empty() && now < 600000) {
        now += 50;
        raid.advance(now);
        shown.show(raid, raid.takeEvents());
        shown.update(raid, now);
    }
    ASSERT_FALSE(raid.getBombs().empty());
    u32 bomber = 0;
    while (raid.getCraft()[bomber].craft.getKind() != RaidCraft::Bomber || raid.getCraft()[bomber].gone)
        ++bomber;
    scene::ISceneNode* node = shown.getCraftNode(bomber);
    ASSERT_NE(node, nullptr) << "run from the build's bin/";
    const std::size_t fireballs = effects.getFireballCount();

    // The first hit: a puff that pours for a moment, no fireball.
    shown.show(raid, {told(Raid::Event::CraftHit, bomber, 1, now)});
    EXPECT_EQ(childrenOfType(node, scene::ESNT_PARTICLE_SYSTEM), 1u);
    EXPECT_EQ(effects.getFireballCount(), fireballs);
    shown.update(raid, now + RaidScene::puffTime);
    const auto* puff = static_cast<const scene::IParticleSystemSceneNode*>(*node->getChildren().begin());
    EXPECT_EQ(const_cast<scene::IParticleSystemSceneNode*>(puff)->getEmitter(), nullptr) << "it has stopped pouring";

    // The second: a spark on the airframe, gone soon after.
    shown.show(raid, {told(Raid::Event::CraftHit, bomber, 2, now + 400)});
    EXPECT_EQ(childrenOfType(node, scene::ESNT_BILLBOARD), 1u);
    EXPECT_EQ(effects.getFireballCount(), fireballs);
    shown.update(raid, now + 400 + RaidScene::sparkTime);
    EXPECT_EQ(childrenOfType(node, scene::ESNT_BILLBOARD), 0u);

    // The third brings it down: the fireball and boom, and the trail of smoke.
    shown.show(raid, {told(Raid::Event::CraftDowned, bomber, 1000, now + 800)});
    EXPECT_EQ(effects.getFireballCount(), fireballs + 1);
    EXPECT_EQ(childrenOfType(node, scene::ESNT_PARTICLE_SYSTEM), 2u);

    // A bomb whistles as it falls and stops when it is shot down.
    const torvel::AudioSource* whistle = shown.getWhistle(0);
    ASSERT_NE(whistle, nullptr);
    EXPECT_TRUE(whistle->isPlaying());
    shown.show(raid, {told(Raid::Event::BombShot, 0, 250, now + 900)});
    EXPECT_FALSE(whistle->isPlaying());
}

// The fireball and the boom of a hit, on a real OpenGL device with the baked
// fireball and OpenAL Soft's silent null device, from the build's bin/.

#include "AudioManager.h"
#include "AudioSource.h"
#include "Fireball.h"
#include "FireballEffect.h"
#include "HitEffects.h"

#include <TestGlDevice.h>
#include <gtest/gtest.h>

#include <memory>

using namespace irr;
using core::vector3df;

namespace {

class HitEffectsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!gl.device)
            GTEST_SKIP() << "needs an X display";
        scene = gl.device->getSceneManager();
        texture = gl.device->getVideoDriver()->getTexture(HitEffects::fireballFile);
        ASSERT_NE(texture, nullptr) << "run from the build's bin/";
        audio.reset(torvel::createAudioManager(true, testing::TempDir() + "hit-effects-log.html"));
    }

    TestGlDevice gl{vector3df(0.0f, 0.0f, 0.0f)};
    scene::ISceneManager* scene = nullptr;
    video::ITexture* texture = nullptr;
    std::unique_ptr<torvel::AudioManager> audio;
};

} // namespace

TEST_F(HitEffectsTest, AHitBurnsOnTheJetAndBoomsFromWhereItWas)
{
    HitEffects effects(scene, texture, audio.get());
    scene::ISceneNode* jet = scene->addEmptySceneNode();
    jet->setPosition(vector3df(300, 200, 800));
    effects.hit(jet, jet->getPosition(), 10000);
    ASSERT_EQ(effects.getFireballCount(), 1u);
    const FireballEffect* fireball = effects.getFireball(0);
    ASSERT_NE(fireball->getNode(), nullptr);
    EXPECT_EQ(fireball->getNode()->getParent(), jet) << "it flies on with the jet";
    EXPECT_EQ(fireball->getNode()->getPosition(), vector3df(0, 0, 0));
    ASSERT_EQ(effects.getBoomSourceCount(), 1u);
    EXPECT_TRUE(effects.getBoom(0)->isPlaying());

    // A second hit while the first still sounds gets a boom of its own.
    effects.hit(nullptr, vector3df(-500, 300, 100), 10100);
    ASSERT_EQ(effects.getFireballCount(), 2u);
    EXPECT_EQ(effects.getFireball(1)->getNode()->getParent(), scene->getRootSceneNode());
    EXPECT_EQ(effects.getFireball(1)->getNode()->getPosition(), vector3df(-500, 300, 100));
    EXPECT_EQ(effects.getBoomSourceCount(), 2u);
    EXPECT_TRUE(effects.getBoom(1)->isPlaying());

    // The jet may leave the scene before its fireball is over.
    jet->remove();
    effects.update(10000 + Fireball::lifetime - 1);
    EXPECT_EQ(effects.getFireballCount(), 2u);
    effects.update(10000 + Fireball::lifetime);
    ASSERT_EQ(effects.getFireballCount(), 1u);
    scene::ISceneNode* last = effects.getFireball(0)->getNode();
    EXPECT_EQ(last->getParent(), scene->getRootSceneNode());
    effects.update(10100 + Fireball::lifetime);
    EXPECT_EQ(effects.getFireballCount(), 0u);
}

TEST_F(HitEffectsTest, BoomsPlayAtTheHitAndTheirSourcesAreUsedAgain)
{
    HitEffects effects(nullptr, nullptr, audio.get());
    effects.hit(nullptr, vector3df(1000, 0, 0), 0);
    EXPECT_EQ(effects.getFireballCount(), 0u) << "no texture: no fireball";
    ASSERT_EQ(effects.getBoomSourceCount(), 1u);
    ASSERT_TRUE(audio->hasDevice());
    EXPECT_TRUE(effects.getBoom(0)->isValid()) << "the baked boom";
    EXPECT_TRUE(effects.getBoom(0)->isPlaying());
    // Shut down, every source is silent and free: the next hit uses the first again.
    audio->shutDown();
    effects.hit(nullptr, vector3df(1000, 0, 0), 100);
    EXPECT_EQ(effects.getBoomSourceCount(), 1u);
}

TEST_F(HitEffectsTest, WithoutSoundOrFireballTheOtherStillComes)
{
    HitEffects silent(scene, texture, nullptr);
    silent.hit(nullptr, vector3df(0, 0, 500), 0);
    EXPECT_EQ(silent.getFireballCount(), 1u);
    EXPECT_EQ(silent.getBoomSourceCount(), 0u);

    HitEffects unseen(scene, nullptr, audio.get());
    unseen.hit(nullptr, vector3df(0, 0, 500), 0);
    EXPECT_EQ(unseen.getFireballCount(), 0u);
    EXPECT_EQ(unseen.getBoomSourceCount(), 1u);
}

// The guns make way for a boom: held down, then brought back to full, and
// never above it.
TEST(HitEffectsMix, TheGunsAreTurnedDownUnderABoomAndBroughtBack)
{
    EXPECT_FLOAT_EQ(HitEffects::gunGain(0), HitEffects::duckGain);
    EXPECT_FLOAT_EQ(HitEffects::gunGain(HitEffects::duckHold), HitEffects::duckGain);
    const irr::u32 halfway = HitEffects::duckHold + HitEffects::duckRelease / 2;
    EXPECT_NEAR(HitEffects::gunGain(halfway), (1.0f + HitEffects::duckGain) / 2.0f, 1e-4f);
    EXPECT_FLOAT_EQ(HitEffects::gunGain(HitEffects::duckHold + HitEffects::duckRelease), 1.0f);
    EXPECT_FLOAT_EQ(HitEffects::gunGain(100000), 1.0f);
    EXPECT_LT(HitEffects::duckGain, 0.5f) << "less than 6 dB down leaves the boom under the guns";
}

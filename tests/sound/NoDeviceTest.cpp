// A machine without any audio output: opening the default device fails.
#include "AudioManager.h"
#include "AudioSource.h"
#include "TestSounds.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace torvel;

TEST(NoAudioDevice, GameGoesOnInSilenceAndTheLogSaysWhy) {
    // OpenAL Soft reads these when first used: only the wave backend, and with
    // no file to write it cannot open.
    setenv("ALSOFT_DRIVERS", "wave", 1);
    setenv("ALSOFT_CONF", "/dev/null", 1);
    TestSounds files;
    const std::string tone = files.tone("tone.wav", 1, 0.2, 0.5);
    testing::internal::CaptureStdout();
    AudioManager* manager = createAudioManager(true, files.path("cAudioEngineLog.html"));
    EXPECT_FALSE(manager->hasDevice());
    AudioSource* fire = manager->create("fireSound", tone, false);
    AudioSource* jet = manager->create("flybySound", files.path("missing.wav"), false);
    for (AudioSource* source : {fire, jet}) {
        ASSERT_NE(source, nullptr);
        EXPECT_FALSE(source->play2d(false));
        EXPECT_FALSE(source->play3d(10.0f, 10.0f, 10.0f, 1.0f, true));
        source->move(1.0f, 1.0f, 1.0f);
        EXPECT_FALSE(source->isPlaying());
    }
    manager->shutDown();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    std::ifstream in(files.path("cAudioEngineLog.html"));
    std::stringstream page;
    page << in.rdbuf();
    EXPECT_NE(page.str().find("No audio device: the default output cannot be opened; the game runs without sound"),
              std::string::npos);
    EXPECT_NE(page.str().find("Not loaded " + tone + ": no audio device"), std::string::npos);
    EXPECT_NE(page.str().find("Shut down: 2 sources stopped, 0 sound files freed; at most 0 voices"), std::string::npos);
}

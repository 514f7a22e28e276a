// The sound layer's bookkeeping on OpenAL Soft's null device: sharing,
// voices, silence on failure, shut-down and the log.
#include "AudioManager.h"
#include "AudioSource.h"
#include "SoundLog.h"
#include "TestSounds.h"

#include <TestFiles.h>
#include <gtest/gtest.h>

#include <AL/al.h>

#include <array>
#include <chrono>
#include <cmath>
#include <thread>

using namespace torvel;

namespace {

using TestFiles::readFile;

// Waits (at most a few seconds) until the source has stopped by itself.
bool waitUntilSilent(const AudioSource* source) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (source->isPlaying()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// A valid page: one head, one list, closing tags last, as many items as events.
void expectValidPage(const std::string& page, std::size_t events) {
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_EQ(count(page, "<li>"), events);
    EXPECT_EQ(count(page, "<li>"), count(page, "</li>"));
    EXPECT_EQ(count(page, "<ul>"), 1u);
    const std::string ending = "</ul>\n</body>\n</html>\n";
    ASSERT_GE(page.size(), ending.size());
    EXPECT_EQ(page.substr(page.size() - ending.size()), ending);
}

} // namespace

TEST(AudioManager, ThousandSourcesShareOneDecodedFileAndHoldVoicesOnlyWhilePlaying) {
    TestSounds files;
    const std::string blip = files.tone("blip.wav", 1, 0.01, 0.5);
    AudioManager* manager = createAudioManager(true, files.path("log.html"));
    ASSERT_TRUE(manager->hasDevice());

    // Like aircraft: each makes its own source, plays it and leaves it behind.
    // Eight at a time sound together; a group starts once the last has ended.
    std::vector<AudioSource*> sources;
    const std::size_t group = 8;
    std::size_t mostPlayingAtOnce = 0;
    for (std::size_t i = 0; i < 1000; i += group) {
        std::size_t started = 0;
        for (std::size_t k = i; k < std::min<std::size_t>(i + group, 1000); ++k) {
            sources.push_back(manager->create("flybySound", blip, false));
            ASSERT_TRUE(sources.back()->play3d(300.0f, 100.0f, float(k), 1.0f, false));
            ++started;
            EXPECT_LE(manager->getVoiceCount(), started) << "voices of ended sounds were not given back";
        }
        mostPlayingAtOnce = std::max(mostPlayingAtOnce, started);
        for (std::size_t k = i; k < sources.size(); ++k)
            ASSERT_TRUE(waitUntilSilent(sources[k])) << "a 10 ms sound never ended";
    }
    EXPECT_EQ(manager->getSourceCount(), 1000u);
    EXPECT_EQ(manager->getLoadedFileCount(), 1u);
    EXPECT_EQ(manager->getPeakVoiceCount(), mostPlayingAtOnce);
    for (AudioSource* source : sources) {
        EXPECT_TRUE(source->isValid());
        EXPECT_FALSE(source->isPlaying());
    }
    const std::string page = readFile(files.path("log.html"));
    EXPECT_EQ(count(page, "Loaded "), 1u) << "the file was decoded more than once";

    RecordProperty("peakVoices", static_cast<int>(manager->getPeakVoiceCount()));
    manager->shutDown();
    EXPECT_EQ(manager->getVoiceCount(), 0u);
    EXPECT_EQ(manager->getLoadedFileCount(), 0u);
}

TEST(AudioManager, OneFileUnderOtherSpellingsIsLoadedOnce) {
    TestSounds files;
    const std::string tone = files.tone("tone.wav", 1, 0.1, 0.5);
    AudioManager* manager = createAudioManager(true, files.path("log.html"));
    AudioSource* plain = manager->create("a", tone, false);
    AudioSource* dotted = manager->create("b", files.getDir() + "/./tone.wav", false);
    AudioSource* roundabout = manager->create("c", files.getDir() + "/../" + files.getDir().substr(5) + "/tone.wav");
    EXPECT_TRUE(plain->isValid() && dotted->isValid() && roundabout->isValid());
    EXPECT_EQ(manager->getLoadedFileCount(), 1u);
    manager->shutDown();
    EXPECT_NE(readFile(files.path("log.html")).find("Shut down: 3 sources stopped, 1 sound file freed; at most 0 voices"),
              std::string::npos);
}

TEST(AudioManager, PlayingEndsByItselfAndCanStartAgain) {
    TestSounds files;
    AudioManager* manager = createAudioManager(true, files.path("log.html"));
    AudioSource* shot = manager->create("fireSound", files.tone("shot.wav", 2, 0.3, 0.4, 0.4), false);
    EXPECT_FALSE(shot->isPlaying());

    ASSERT_TRUE(shot->play2d(false));
    EXPECT_TRUE(shot->isPlaying());
    EXPECT_TRUE(waitUntilSilent(shot));

    // A restart while sounding keeps the one voice it has.
    ASSERT_TRUE(shot->play2d(false));
    ASSERT_TRUE(shot->play3d(10.0f, 0.0f, 0.0f, 1.0f, false));
    EXPECT_TRUE(shot->isPlaying());
    EXPECT_EQ(manager->getVoiceCount(), 1u);
    EXPECT_TRUE(waitUntilSilent(shot));

    // Told to stop, a sound falls silent at once, placed or not, and plays
    // again from the start when asked.
    ASSERT_TRUE(shot->play3d(10.0f, 0.0f, 0.0f, 1.0f, true));
    shot->stop();
    EXPECT_FALSE(shot->isPlaying());
    ASSERT_TRUE(shot->play2d(false));
    EXPECT_TRUE(shot->isPlaying());
    shot->stop();
    EXPECT_FALSE(shot->isPlaying());

    // A looping sound goes on well past its length, until shut-down stops it.
    ASSERT_TRUE(shot->play2d(true));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(shot->isPlaying());
    manager->shutDown();
    EXPECT_FALSE(shot->isPlaying());
}

TEST(AudioManager, APauseHoldsWhatPlaysAndLetsItGoOnLater) {
    TestSounds files;
    AudioManager* manager = createAudioManager(true, files.path("log.html"));
    const std::string tone = files.tone("jet.wav", 1, 0.3, 0.4);
    AudioSource* playing = manager->create("flybySound", tone, false);
    AudioSource* ended = manager->create("flybySound", tone, false);
    ASSERT_TRUE(ended->play3d(100.0f, 0.0f, 0.0f));
    ASSERT_TRUE(waitUntilSilent(ended));
    ASSERT_TRUE(playing->play3d(100.0f, 0.0f, 0.0f));

    manager->pauseAll();
    manager->pauseAll();   // a second pause holds nothing more
    EXPECT_TRUE(manager->isPaused());
    // Held, the sound keeps its place: well past its length it still has the
    // rest to play, and counts as playing, so a jet does not start it again.
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_TRUE(playing->isPlaying());
    EXPECT_FALSE(ended->isPlaying()) << "a pause does not bring back what had ended";

    manager->resumeAll();
    EXPECT_FALSE(manager->isPaused());
    EXPECT_TRUE(playing->isPlaying());
    const auto resumed = std::chrono::steady_clock::now();
    EXPECT_TRUE(waitUntilSilent(playing));
    // It went on for the rest of its 0.3 s, not from the start nor not at all.
    EXPECT_LT(std::chrono::steady_clock::now() - resumed, std::chrono::milliseconds(1000));
    manager->resumeAll();   // without a pause: nothing
    delete manager;
}

TEST(AudioManager, ListenerOrientationTakesOnlyUsableDirections) {
    TestSounds files;
    AudioManager* manager = createAudioManager(true, files.path("log.html"));
    auto orientation = [] {
        std::array<float, 6> at{};
        alGetListenerfv(AL_ORIENTATION, at.data());
        return at;
    };
    const float right[3] = {1.0f, 0.0f, 0.0f}, ahead[3] = {0.0f, 0.0f, 1.0f}, up[3] = {0.0f, 1.0f, 0.0f};
    manager->setListenerOrientation(ahead, up);
    // The world's +Z ahead is OpenAL's -Z: the layer mirrors Z.
    EXPECT_EQ(orientation(), (std::array<float, 6>{0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f}));
    manager->setListenerOrientation(right, up);
    const std::array<float, 6> facingRight{1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f};
    EXPECT_EQ(orientation(), facingRight);
    const float zero[3] = {0.0f, 0.0f, 0.0f}, bad[3] = {std::nanf(""), 0.0f, 1.0f};
    manager->setListenerOrientation(zero, up);
    manager->setListenerOrientation(right, bad);
    EXPECT_EQ(orientation(), facingRight);
    delete manager;
}

TEST(AudioManager, MoveFollowsOnlyFiniteWorldPositions) {
    TestSounds files;
    AudioManager* manager = createAudioManager(true, files.path("log.html"));
    AudioSource* jet = manager->create("flybySound", files.tone("jet.wav", 1, 1.0, 0.5), false);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();

    EXPECT_FALSE(jet->play3d(nan, 0.0f, 0.0f));
    EXPECT_FALSE(jet->play3d(0.0f, inf, 0.0f));
    EXPECT_FALSE(jet->isPlaying());

    ASSERT_TRUE(jet->play3d(500.0f, 200.0f, -300.0f, 1.0f, false));
    jet->move(450.0f, 200.0f, -250.0f);
    jet->move(nan, 1.0f, 1.0f);
    EXPECT_TRUE(jet->isPlaying());
    manager->shutDown();
}

TEST(AudioManager, MissingCorruptAndEmptyFilesGiveSilentSourcesAndLogLines) {
    TestSounds files;
    const std::string corrupt = files.corrupt("corrupt.wav");
    const std::string empty = files.tone("empty.wav", 1, 0.0, 0.5);
    const std::string missing = files.path("nowhere/missing.wav");

    testing::internal::CaptureStdout();
    AudioManager* manager = createAudioManager(true, files.path("log.html"));
    for (const std::string& path : {missing, corrupt, empty, missing, corrupt}) {
        AudioSource* source = manager->create("flybySound", path, false);
        ASSERT_NE(source, nullptr);
        EXPECT_FALSE(source->isValid());
        EXPECT_FALSE(source->play2d(false));
        EXPECT_FALSE(source->play3d(100.0f, 100.0f, 100.0f));
        source->move(1.0f, 2.0f, 3.0f);
        EXPECT_FALSE(source->isPlaying());
    }
    // A good file next to them still plays.
    AudioSource* good = manager->create("fireSound", files.tone("good.wav", 1, 0.2, 0.5), false);
    EXPECT_TRUE(good->play2d(false));
    EXPECT_EQ(manager->getVoiceCount(), 1u);
    manager->shutDown();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    const std::string page = readFile(files.path("log.html"));
    // Each failing file is named once, however many sources ask for it.
    EXPECT_EQ(count(page, "Could not load " + missing), 1u);
    EXPECT_EQ(count(page, "Could not load " + corrupt), 1u);
    EXPECT_EQ(count(page, "Could not load " + empty + ": holds no samples"), 1u);
    EXPECT_EQ(count(page, "Loaded " + files.path("good.wav")), 1u);
}

TEST(AudioManager, TruncatedFilePlaysWhatIsThere) {
    TestSounds files;
    AudioManager* manager = createAudioManager(true, files.path("log.html"));
    AudioSource* source = manager->create("fireSound", files.truncated("short.wav"), false);
    EXPECT_TRUE(source->isValid());
    EXPECT_TRUE(source->play2d(false));
    EXPECT_TRUE(waitUntilSilent(source));
    manager->shutDown();
    EXPECT_NE(readFile(files.path("log.html")).find("Loaded " + files.path("short.wav") + ": 1 channel, 44100 Hz, 0.00 s"),
              std::string::npos);
}

TEST(AudioManager, WithoutDeviceEverySourceIsSilentAndNothingIsPrinted) {
    TestSounds files;
    const std::string tone = files.tone("tone.wav", 1, 0.2, 0.5);
    testing::internal::CaptureStdout();
    AudioManager* manager = createAudioManager(false, files.path("log.html"));
    EXPECT_FALSE(manager->hasDevice());
    AudioSource* first = manager->create("fireSound", tone, false);
    AudioSource* second = manager->create("flybySound", tone, false);
    for (AudioSource* source : {first, second}) {
        EXPECT_FALSE(source->isValid());
        EXPECT_FALSE(source->play2d(true));
        EXPECT_FALSE(source->play3d(1.0f, 2.0f, 3.0f));
        source->move(4.0f, 5.0f, 6.0f);
        EXPECT_FALSE(source->isPlaying());
    }
    EXPECT_EQ(manager->getVoiceCount(), 0u);
    manager->shutDown();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    const std::string page = readFile(files.path("log.html"));
    EXPECT_NE(page.find("the game runs without sound"), std::string::npos);
    EXPECT_EQ(count(page, "Not loaded " + tone + ": no audio device"), 1u);
    EXPECT_NE(page.find("Shut down: 2 sources stopped"), std::string::npos);
    expectValidPage(page, 4);
}

TEST(AudioManager, AfterShutDownOldPointersAndTheManagerStaySafeAndSilent) {
    TestSounds files;
    AudioManager* manager = createAudioManager(true, files.path("log.html"));
    AudioSource* fire = manager->create("fireSound", files.tone("fire.wav", 2, 2.0, 0.5, 0.5), false);
    AudioSource* jet = manager->create("flybySound", files.tone("jet.wav", 1, 2.0, 0.5), false);
    ASSERT_TRUE(fire->play2d(false));
    ASSERT_TRUE(jet->play3d(100.0f, 50.0f, 0.0f, 1.0f, true));

    manager->shutDown();
    EXPECT_TRUE(manager->isShutDown());
    EXPECT_FALSE(manager->hasDevice());
    EXPECT_EQ(manager->getVoiceCount(), 0u);
    for (AudioSource* source : {fire, jet}) {
        EXPECT_FALSE(source->isPlaying());
        EXPECT_FALSE(source->isValid());
        EXPECT_FALSE(source->play2d(false));
        EXPECT_FALSE(source->play3d(1.0f, 1.0f, 1.0f));
        source->move(2.0f, 2.0f, 2.0f);
    }
    EXPECT_EQ(jet->getName(), "flybySound");

    AudioSource* late = manager->create("flybySound", files.path("jet.wav"), false);
    ASSERT_NE(late, nullptr);
    EXPECT_FALSE(late->play3d(1.0f, 1.0f, 1.0f));
    manager->shutDown();

    const std::string page = readFile(files.path("log.html"));
    EXPECT_EQ(count(page, "Shut down"), 1u);
    expectValidPage(page, 6);
    delete manager;
}

TEST(AudioManager, TextLiteralsMakeSourcesNotManagers) {
    TestSounds files;
    AudioManager* manager = createAudioManager(false, files.path("log.html"));
    const std::string path = "../res/none.wav";
    AudioSource* source = manager->create("fireSound", "../res/none.wav");
    AudioSource* other = manager->create("flybySound", path);
    ASSERT_NE(source, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(source->getName(), "fireSound");
    EXPECT_EQ(other->getName(), "flybySound");
    EXPECT_EQ(manager->getSourceCount(), 2u);
}

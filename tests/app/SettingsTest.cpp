// The settings: the file's text, values out of their range, clashing keys,
// and files that are cut, binary, huge, a FIFO or in the way.

#include "Settings.h"

#include <TestFiles.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Values = Settings::Values;

namespace {

struct Scratch {
    Scratch()
    {
        std::string pattern = (fs::temp_directory_path() / "torvel-settings-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        path = (fs::path(folder) / "torvel" / "settings").string();
        fs::create_directories(fs::path(folder) / "torvel");
    }
    ~Scratch()
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    void put(const std::string& text) const { std::ofstream(path, std::ios::binary) << text; }

    std::string folder;
    std::string path;
};

std::string loadAndListen(Settings& settings)
{
    testing::internal::CaptureStderr();
    settings.load();
    return testing::internal::GetCapturedStderr();
}

std::size_t lineCount(const std::string& text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

std::vector<std::string> complaintsOf(const std::string& text, Values& values)
{
    std::vector<std::string> complaints;
    std::string fault;
    EXPECT_TRUE(Settings::parse(text, values, complaints, fault)) << fault;
    return complaints;
}

} // namespace

TEST(SettingsText, EverySettingGoesThroughTheFileAndBack)
{
    Values changed;
    changed.mouseSensitivity = 0.1f;
    changed.invertVertical = true;
    changed.effectsVolume = 35;
    changed.fullscreen = true;
    changed.radar = false;
    changed.joystickFire = 5;
    changed.joystickReload = 0;
    changed.joystickInvertX = true;
    changed.joystickInvertY = true;
    changed.keys[Settings::Fire] = {irr::KEY_KEY_F, irr::KEY_RETURN};
    changed.keys[Settings::FineAim] = {irr::KEY_CONTROL, Settings::noKey};
    const std::string text = Settings::format(changed);
    EXPECT_NE(text.find("mouse_sensitivity = 0.1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("key_fire = F Enter\n"), std::string::npos) << text;
    EXPECT_NE(text.find("key_turn_left = Left A\n"), std::string::npos) << text;
    Values read;
    EXPECT_TRUE(complaintsOf(text, read).empty());
    EXPECT_EQ(read, changed);

    // Only the first line: every default, as with no file at all. A last
    // line without its end of line, as a hand may leave it, still counts.
    EXPECT_TRUE(complaintsOf("torvel-settings 1\n", read).empty());
    EXPECT_EQ(read, Values());
    EXPECT_TRUE(complaintsOf("torvel-settings 1\n# mine\n\n  invert_vertical=yes", read).empty());
    EXPECT_TRUE(read.invertVertical);
    EXPECT_EQ(Settings::format(Values()), Settings::format(read).replace(
        Settings::format(read).find("invert_vertical = yes"), 21, "invert_vertical = no"));

    // Where the file lives: an absolute XDG_CONFIG_HOME, else ~/.config.
    EXPECT_EQ(Settings::pathFor("/x/conf", "/home/p"), "/x/conf/torvel/settings");
    EXPECT_EQ(Settings::pathFor("conf", "/home/p"), "/home/p/.config/torvel/settings");
    EXPECT_EQ(Settings::pathFor("", "/home/p"), "/home/p/.config/torvel/settings");
    EXPECT_EQ(Settings::pathFor(nullptr, "home"), "");
}

TEST(SettingsText, ABadValueKeepsItsDefaultAndNamesItsSetting)
{
    const std::vector<std::string> bad = {
        "mouse_sensitivity = 0.5",  "mouse_sensitivity = 0.001", "mouse_sensitivity = nan",
        "mouse_sensitivity = 1e-1", "mouse_sensitivity = ",      "invert_vertical = maybe",
        "effects_volume = 101",     "effects_volume = -1",       "effects_volume = 50%",
        "fullscreen = 1",           "radar = YES",               "joystick_fire = 32",
        "joystick_reload = 2.0",    "joystick_invert_x = on",    "joystick_invert_y =",
        "key_fire = F9",            "key_fire = Space Space",    "key_fire = A B C",
        "key_pause = Pause",        "key_reload = ",
    };
    for (const std::string& line : bad) {
        Values read;
        // The good line after it still counts.
        const auto complaints = complaintsOf("torvel-settings 1\n" + line + "\neffects_volume = 7\n", read);
        ASSERT_EQ(complaints.size(), 1u) << line;
        const std::string key = line.substr(0, line.find(' '));
        EXPECT_EQ(complaints[0].rfind(key + " = ", 0), 0u) << complaints[0];
        EXPECT_NE(complaints[0].find("it stays at"), std::string::npos) << complaints[0];
        Values expected;
        expected.effectsVolume = 7;
        EXPECT_EQ(read, expected) << line;
    }
    // The ends of the ranges are in them.
    Values read;
    EXPECT_TRUE(complaintsOf("torvel-settings 1\nmouse_sensitivity = 0.01\neffects_volume = 0\n"
                             "joystick_fire = 31\n", read).empty());
    EXPECT_FLOAT_EQ(read.mouseSensitivity, 0.01f);
    EXPECT_TRUE(complaintsOf("torvel-settings 1\nmouse_sensitivity = 0.20\n", read).empty());
    EXPECT_FLOAT_EQ(read.mouseSensitivity, 0.2f);

    // Unknown settings and lines that are not settings: one line each.
    const auto complaints = complaintsOf("torvel-settings 1\nvsync = yes\nthis is not a line\n= 3\n"
                                         + std::string(300, 'x') + "\ninvert_vertical = yes\n", read);
    ASSERT_EQ(complaints.size(), 4u);
    EXPECT_NE(complaints[0].find("unknown setting vsync"), std::string::npos) << complaints[0];
    EXPECT_NE(complaints[1].find("line 3"), std::string::npos) << complaints[1];
    EXPECT_NE(complaints[3].find("too long"), std::string::npos) << complaints[3];
    EXPECT_TRUE(read.invertVertical);
}

TEST(SettingsText, TwoBindingsNeverShareAKey)
{
    // The file's binding takes the key; the binding it came from loses it.
    Values read;
    auto complaints = complaintsOf("torvel-settings 1\nkey_fire = R\n", read);
    ASSERT_EQ(complaints.size(), 1u);
    EXPECT_EQ(complaints[0], "key_reload loses a key: R is taken by key_fire");
    EXPECT_EQ(Settings::holderOf(read, irr::KEY_KEY_R), Settings::Fire);
    EXPECT_EQ(read.keys[Settings::Reload][0], Settings::noKey);
    EXPECT_EQ(Settings::holderOf(read, irr::KEY_SPACE), Settings::bindingCount);

    // Two lines that want one key: the first keeps it, the second is refused.
    complaints = complaintsOf("torvel-settings 1\nkey_fire = Q\nkey_reload = E Q\n", read);
    ASSERT_EQ(complaints.size(), 1u);
    EXPECT_EQ(complaints[0], "key_reload = E Q is refused: Q is taken by key_fire; it stays at R");
    EXPECT_EQ(Settings::holderOf(read, irr::KEY_KEY_Q), Settings::Fire);
    EXPECT_EQ(Settings::holderOf(read, irr::KEY_KEY_R), Settings::Reload);
    EXPECT_EQ(Settings::holderOf(read, irr::KEY_KEY_E), Settings::bindingCount);

    // Either Shift is the fine aim's Shift.
    EXPECT_EQ(Settings::holderOf(Values(), irr::KEY_LSHIFT), Settings::FineAim);
    EXPECT_EQ(Settings::holderOf(Values(), irr::KEY_RSHIFT), Settings::FineAim);
    EXPECT_EQ(Settings::holderOf(Values(), irr::KEY_F12), Settings::bindingCount);
}

TEST(SettingsText, WhatIsNotASettingsFileIsRefusedWhole)
{
    for (const std::string& text : {std::string(""), std::string("torvel-sett"), std::string("torvel-settings 2\n"),
                                    std::string("torvel-scores 1\nend\n"),
                                    std::string("torvel-settings 1\nradar = y\0es\n", 30),
                                    std::string("torvel-settings 1\n\xff\xfe\n")}) {
        Values read;
        read.radar = false;
        std::vector<std::string> complaints;
        std::string fault;
        EXPECT_FALSE(Settings::parse(text, read, complaints, fault)) << text;
        EXPECT_FALSE(fault.empty());
        EXPECT_EQ(read, Values());
    }
}

TEST(SettingsFile, ADamagedFileIsSetAsideAndTheGamePlaysOnItsDefaults)
{
    const std::string huge(100000, 'x');
    for (const std::string& bad : {std::string("torvel-settings"), std::string("\x7f" "ELF\x02\x01\x01"), huge}) {
        Scratch scratch;
        scratch.put(bad);
        Settings settings(scratch.path);
        const std::string said = loadAndListen(settings);
        EXPECT_EQ(lineCount(said), 1u) << said;
        EXPECT_NE(said.find("kept it as " + scratch.path + ".bad"), std::string::npos) << said;
        EXPECT_EQ(TestFiles::readFile(scratch.path + ".bad"), bad);
        EXPECT_EQ(settings.get(), Values());
        EXPECT_FALSE(fs::exists(scratch.path));
    }
    // A FIFO does not hang the game; it is moved aside like any bad file.
    Scratch scratch;
    ASSERT_EQ(::mkfifo(scratch.path.c_str(), 0600), 0);
    Settings settings(scratch.path);
    const std::string said = loadAndListen(settings);
    EXPECT_EQ(lineCount(said), 1u) << said;
    EXPECT_NE(said.find("not a plain file"), std::string::npos) << said;
    struct stat info;
    ASSERT_EQ(::lstat((scratch.path + ".bad").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(SettingsFile, WrittenOnlyWhenASettingChangesAndNeverOverADamagedFile)
{
    Scratch scratch;
    Settings settings(scratch.path);
    EXPECT_EQ(loadAndListen(settings), "");
    // No file and nothing changed: nothing is written.
    EXPECT_TRUE(settings.change(settings.get()));
    EXPECT_FALSE(fs::exists(scratch.path));
    Values changed = settings.get();
    changed.mouseSensitivity = 0.1f;
    changed.invertVertical = true;
    EXPECT_TRUE(settings.change(changed));
    EXPECT_EQ(TestFiles::readFile(scratch.path), Settings::format(changed));

    // A bad value is said once at every start and left as it is until a
    // setting changes.
    scratch.put("torvel-settings 1\nmouse_sensitivity = 0.1\neffects_volume = loud\n");
    Settings again(scratch.path);
    const std::string said = loadAndListen(again);
    EXPECT_EQ(said, "torvel: " + scratch.path + ": effects_volume = \"loud\" is not a whole number from 0 to 100; "
                    "it stays at 100\n");
    EXPECT_FLOAT_EQ(again.get().mouseSensitivity, 0.1f);
    EXPECT_TRUE(again.change(again.get()));
    EXPECT_NE(TestFiles::readFile(scratch.path).find("loud"), std::string::npos);

    // A damaged file that could not be moved aside is never written over.
    Scratch stuck;
    stuck.put("garbage\n");
    fs::create_directory(stuck.path + ".bad");
    for (int n = 1; n <= 1001; ++n)
        fs::create_directory(stuck.path + ".bad." + std::to_string(n));
    Settings kept(stuck.path);
    EXPECT_NE(loadAndListen(kept).find("left as it is"), std::string::npos);
    Values louder = kept.get();
    louder.effectsVolume = 20;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(kept.change(louder));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("not writing"), std::string::npos);
    EXPECT_EQ(TestFiles::readFile(stuck.path), "garbage\n");
    EXPECT_EQ(kept.get().effectsVolume, 20);
}

// The menus without a window: what each key and click does on each screen,
// the Options screen's rows and the rule that refuses a key already taken.

#include "Menu.h"
#include "OptionRows.h"

#include <gtest/gtest.h>

using namespace irr;
using Values = Settings::Values;
using Command = Menu::Command;

namespace {

Command press(Menu& menu, EKEY_CODE key, Values& values)
{
    bool handled = false;
    return menu.key(key, values, handled);
}

bool handles(Menu& menu, EKEY_CODE key)
{
    Values values;
    bool handled = false;
    menu.key(key, values, handled);
    return handled;
}

// Opens the Options screen from the pause and chooses a row.
Menu optionsAt(int row)
{
    Menu menu;
    Values values;
    menu.open(Menu::Screen::Pause);
    menu.click(1, 0, values);
    EXPECT_EQ(menu.getScreen(), Menu::Screen::Options);
    for (int i = 0; i < row; ++i)
        press(menu, KEY_DOWN, values);
    return menu;
}

} // namespace

TEST(Menu, TheFirstScreensChooseWithTheArrowsAndTakeWithEnterOrTheirKeys)
{
    Menu menu;
    Values values;
    EXPECT_FALSE(handles(menu, KEY_RETURN)) << "a closed menu takes no key";

    menu.open(Menu::Screen::BetweenRounds);
    EXPECT_EQ(menu.count(), 4);
    EXPECT_EQ(press(menu, KEY_RETURN, values), Command::StartRound);
    press(menu, KEY_DOWN, values);
    EXPECT_EQ(press(menu, KEY_RETURN, values), Command::StartRaid);
    press(menu, KEY_DOWN, values);
    press(menu, KEY_DOWN, values);
    EXPECT_EQ(press(menu, KEY_RETURN, values), Command::Quit);
    press(menu, KEY_DOWN, values);
    EXPECT_EQ(menu.getSelected(), 0) << "Down from the last item wraps to the first";
    press(menu, KEY_UP, values);
    EXPECT_EQ(menu.getSelected(), 3);
    EXPECT_EQ(press(menu, KEY_F9, values), Command::StartRound);
    EXPECT_EQ(press(menu, KEY_F8, values), Command::StartRaid);
    EXPECT_EQ(press(menu, KEY_ESCAPE, values), Command::Resume);
    EXPECT_FALSE(handles(menu, KEY_LEFT)) << "Left and Right mean nothing here";
    EXPECT_FALSE(handles(menu, KEY_SPACE)) << "Space is the fire key, not Enter";

    menu.open(Menu::Screen::Pause);
    EXPECT_EQ(menu.count(), 3);
    EXPECT_EQ(menu.getSelected(), 0);
    EXPECT_EQ(press(menu, KEY_RETURN, values), Command::Resume);
    EXPECT_FALSE(handles(menu, KEY_F9)) << "no round starts from a round's pause";

    // Options and back, to the item that led there, from either screen.
    for (Menu::Screen first : {Menu::Screen::BetweenRounds, Menu::Screen::Pause}) {
        menu.open(first);
        const int options = first == Menu::Screen::Pause ? 1 : 2;
        EXPECT_EQ(menu.click(options, 0, values), Command::None);
        EXPECT_EQ(menu.getScreen(), Menu::Screen::Options);
        EXPECT_EQ(menu.count(), OptionRows::rowCount);
        EXPECT_EQ(press(menu, KEY_ESCAPE, values), Command::None);
        EXPECT_EQ(menu.getScreen(), first);
        EXPECT_EQ(menu.getSelected(), options);
        menu.click(options, 0, values);
        menu.click(OptionRows::Back, 0, values);
        EXPECT_EQ(menu.getScreen(), first) << "Back does what Esc does";
    }
    values = Values();
    EXPECT_EQ(values, Values()) << "nothing above changed a setting";
}

TEST(Menu, OptionsStepSlidersSwitchesAndStickButtons)
{
    Values values;
    Menu menu = optionsAt(OptionRows::Sensitivity);
    EXPECT_EQ(press(menu, KEY_RIGHT, values), Command::SettingsChanged);
    EXPECT_FLOAT_EQ(values.mouseSensitivity, 0.06f);
    for (int i = 0; i < 30; ++i)
        press(menu, KEY_RIGHT, values);
    EXPECT_FLOAT_EQ(values.mouseSensitivity, 0.20f);
    EXPECT_EQ(press(menu, KEY_RIGHT, values), Command::None) << "at its end the slider stays";
    EXPECT_EQ(menu.slide(OptionRows::Sensitivity, 0, values), Command::SettingsChanged);
    EXPECT_FLOAT_EQ(values.mouseSensitivity, 0.01f);
    EXPECT_EQ(press(menu, KEY_LEFT, values), Command::None);
    EXPECT_EQ(OptionRows::valueText(values, OptionRows::Sensitivity), L"0.01");

    // A value from the file between two steps stays until the slider moves.
    values.mouseSensitivity = 0.073f;
    EXPECT_EQ(menu.slide(OptionRows::Sensitivity, OptionRows::sliderPosition(values, OptionRows::Sensitivity), values),
              Command::None);
    EXPECT_FLOAT_EQ(values.mouseSensitivity, 0.073f);

    menu.slide(OptionRows::EffectsVolume, 10, values);
    EXPECT_EQ(values.effectsVolume, 50);
    press(menu, KEY_LEFT, values);  // on the volume's row, which the slide chose
    EXPECT_EQ(values.effectsVolume, 45);
    EXPECT_EQ(OptionRows::valueText(values, OptionRows::EffectsVolume), L"45 %");
    EXPECT_EQ(menu.slide(OptionRows::Radar, 3, values), Command::None) << "a switch is no slider";

    // Switches flip with Enter, a click, Left or Right.
    menu = optionsAt(OptionRows::InvertVertical);
    EXPECT_EQ(press(menu, KEY_RETURN, values), Command::SettingsChanged);
    EXPECT_TRUE(values.invertVertical);
    press(menu, KEY_LEFT, values);
    EXPECT_FALSE(values.invertVertical);
    for (int row : {int(OptionRows::Fullscreen), int(OptionRows::Radar), int(OptionRows::Hrtf),
                    int(OptionRows::StickInvertX), int(OptionRows::StickInvertY)}) {
        const bool before = OptionRows::isOn(values, row);
        EXPECT_EQ(menu.click(row, 0, values), Command::SettingsChanged);
        EXPECT_NE(OptionRows::isOn(values, row), before) << "row " << row;
    }

    // Stick buttons step past the other's button and round from 31 to 0.
    values = Values();
    menu = optionsAt(OptionRows::StickFire);
    press(menu, KEY_RIGHT, values);
    EXPECT_EQ(values.joystickFire, 1);
    press(menu, KEY_RIGHT, values);
    EXPECT_EQ(values.joystickFire, 3) << "button 2 reloads";
    values.joystickFire = 31;
    press(menu, KEY_RIGHT, values);
    EXPECT_EQ(values.joystickFire, 0);
    // Or one is pressed on the stick: Enter waits for it, Esc gives up.
    press(menu, KEY_RETURN, values);
    EXPECT_EQ(menu.getWaiting(), Menu::Waiting::StickButton);
    EXPECT_EQ(press(menu, KEY_DOWN, values), Command::None);
    EXPECT_EQ(menu.getSelected(), OptionRows::StickFire) << "the wait keeps the keys";
    EXPECT_EQ(menu.stickButton(2, values), Command::None);
    EXPECT_EQ(menu.getMessage(), L"Button 2 is taken by the reload button");
    EXPECT_EQ(values.joystickFire, 0);
    menu.click(OptionRows::StickFire, 0, values);
    EXPECT_EQ(menu.stickButton(7, values), Command::SettingsChanged);
    EXPECT_EQ(values.joystickFire, 7);
    EXPECT_EQ(menu.stickButton(9, values), Command::None) << "no longer waiting";
    menu.click(OptionRows::StickReload, 0, values);
    press(menu, KEY_ESCAPE, values);
    EXPECT_EQ(menu.getWaiting(), Menu::Waiting::Nothing);
    EXPECT_EQ(menu.getScreen(), Menu::Screen::Options) << "Esc ends the wait, not the screen";
}

TEST(Menu, AKeyIsBoundByPressingItAndAKeyTakenIsRefusedWithItsHolder)
{
    Values values;
    const int fire = OptionRows::FirstKeys + Settings::Fire;
    Menu menu = optionsAt(fire);
    EXPECT_EQ(press(menu, KEY_RETURN, values), Command::None);
    EXPECT_EQ(menu.getWaiting(), Menu::Waiting::Key);
    EXPECT_EQ(press(menu, KEY_KEY_F, values), Command::SettingsChanged);
    EXPECT_EQ(values.keys[Settings::Fire][0], KEY_KEY_F);
    EXPECT_EQ(menu.getMessage(), L"Fire: F");
    EXPECT_EQ(Settings::holderOf(values, KEY_SPACE), Settings::bindingCount) << "Space is free again";

    // Refused: a key another binding has, and the game's own keys.
    const struct {
        EKEY_CODE key;
        const wchar_t* message;
    } refused[] = {
        {KEY_KEY_R, L"R is taken by Reload; Fire stays as it was"},
        {KEY_LEFT, L"Left is taken by Turn left; Fire stays as it was"},
        {KEY_RSHIFT, L"Shift is taken by Fine aim; Fire stays as it was"},
        {KEY_F12, L"F12 always quits: it can not be bound"},
        {KEY_F9, L"F9 is the game's own: it can not be bound"},
        {KEY_NUMLOCK, L"That key can not be bound"},
    };
    for (const auto& attempt : refused) {
        press(menu, KEY_RETURN, values);
        EXPECT_EQ(press(menu, attempt.key, values), Command::None);
        EXPECT_EQ(menu.getMessage(), attempt.message);
        EXPECT_EQ(values.keys[Settings::Fire][0], KEY_KEY_F);
    }
    // Esc gives up the wait and binds nothing.
    press(menu, KEY_RETURN, values);
    EXPECT_EQ(press(menu, KEY_ESCAPE, values), Command::None);
    EXPECT_EQ(menu.getWaiting(), Menu::Waiting::Nothing);
    EXPECT_EQ(menu.getScreen(), Menu::Screen::Options);

    // The second key: Right chooses it; the binding's own first key moves there.
    press(menu, KEY_RIGHT, values);
    EXPECT_EQ(menu.getSlot(), 1u);
    press(menu, KEY_RETURN, values);
    press(menu, KEY_KEY_G, values);
    EXPECT_EQ(values.keys[Settings::Fire], (Settings::Keys{KEY_KEY_F, KEY_KEY_G}));
    press(menu, KEY_RETURN, values);
    press(menu, KEY_KEY_F, values);
    EXPECT_EQ(values.keys[Settings::Fire], (Settings::Keys{KEY_KEY_F, Settings::noKey}))
        << "F moved to the second place, and the first place is filled first";
    // Delete empties the chosen place.
    press(menu, KEY_LEFT, values);
    EXPECT_EQ(press(menu, KEY_DELETE, values), Command::SettingsChanged);
    EXPECT_EQ(values.keys[Settings::Fire][0], Settings::noKey);
    EXPECT_EQ(OptionRows::keyText(values, fire, 0), L"-");

    // A click on a binding's second key waits for that one; a click elsewhere gives up.
    menu.click(OptionRows::FirstKeys + Settings::Pause, 1, values);
    EXPECT_EQ(menu.getWaiting(), Menu::Waiting::Key);
    EXPECT_EQ(menu.getSlot(), 1u);
    EXPECT_EQ(press(menu, KEY_KEY_Q, values), Command::SettingsChanged);
    EXPECT_EQ(values.keys[Settings::Pause], (Settings::Keys{KEY_KEY_P, KEY_KEY_Q}));
    menu.click(fire, 0, values);
    menu.click(OptionRows::Radar, 0, values);
    EXPECT_EQ(menu.getWaiting(), Menu::Waiting::Nothing);

    // The default keys, every one as it was.
    EXPECT_EQ(menu.click(OptionRows::DefaultKeys, 0, values), Command::SettingsChanged);
    EXPECT_EQ(values.keys, Settings::defaultKeys());
    EXPECT_FALSE(values.radar) << "the other settings stay";
}

TEST(Settings, TheHeadRelatedFiltersAreASettingOfTheirOwn)
{
    Values values;
    std::vector<std::string> complaints;
    std::string fault;
    ASSERT_TRUE(Settings::parse("torvel-settings 1\nhrtf = no\n", values, complaints, fault));
    EXPECT_FALSE(values.hrtf);
    EXPECT_TRUE(complaints.empty());
    EXPECT_NE(Settings::format(values).find("\nhrtf = no\n"), std::string::npos);
    ASSERT_TRUE(Settings::parse("torvel-settings 1\nhrtf = off\n", values, complaints, fault));
    EXPECT_TRUE(values.hrtf) << "on, as the sound opens, unless told";
    ASSERT_EQ(complaints.size(), 1u);
    EXPECT_EQ(complaints[0], "hrtf = \"off\" is not yes or no; it stays at yes");
}

#pragma once

#include "Settings.h"

#include <Keycodes.h>

#include <string>
#include <vector>

// Which menu is open and what the player's keys and clicks do in it; free of
// the engine's GUI, which only shows it. A menu is open exactly while the
// game is paused: between rounds it is the invitation's own menu (a round,
// a raid, the options, quit), in play the pause's (go on, the options,
// quit); either leads to the Options screen and back.
//
// Keys: Up and Down choose an item, Enter takes it, Esc goes back (out of
// the menu from the first screen). On the Options screen Left and Right
// move a slider, flip a switch, step a stick button or go from a binding's
// first key to its second; Enter on a key waits for the key to bind (Esc
// cancels), Delete or Backspace empties it.
class Menu {
public:
    enum class Screen { Closed, BetweenRounds, Pause, Options };
    enum class Item { StartRound, StartRaid, Resume, Options, Quit };
    // What the game is to do after a key or a click.
    enum class Command {
        None,
        StartRound,       // go on, and start a round
        StartRaid,        // go on, and start a raid
        Resume,           // go on
        Quit,
        SettingsChanged,  // the values given were changed: keep and apply them
    };
    // What the screen waits for.
    enum class Waiting { Nothing, Key, StickButton };

    Menu() = default;

    // The first screen of a pause; Closed closes.
    void open(Screen first);
    void close() { open(Screen::Closed); }

    Screen getScreen() const { return screen; }
    // The items of the first screens, top to bottom.
    static const std::vector<Item>& itemsOf(Screen screen);
    // How many items or rows the open screen has.
    int count() const;
    int getSelected() const { return selected; }
    // Which of a binding's two keys is chosen on its row.
    std::size_t getSlot() const { return slot; }
    Waiting getWaiting() const { return waiting; }
    // The last word of the Options screen: what was bound or why not.
    const std::wstring& getMessage() const { return message; }

    // A key went down while the menu has the keyboard. values are the
    // settings in play; a change is made in them and told as SettingsChanged.
    // handled: whether the key meant something here.
    Command key(irr::EKEY_CODE key, Settings::Values& values, bool& handled);
    // A click on item or row index (and, on a Keys row, on one of its two keys).
    Command click(int index, std::size_t keySlot, Settings::Values& values);
    // A slider dragged to a position.
    Command slide(int row, int position, Settings::Values& values);
    // The pointer rests on an item or row.
    void point(int index);
    // A stick button newly pressed, while the screen waits for one.
    Command stickButton(int button, Settings::Values& values);

private:
    Command take(Settings::Values& values);
    Command change(Settings::Values& values, const Settings::Values& changed);
    void select(int index);

    Screen screen = Screen::Closed;     // what shows
    Screen openedFrom = Screen::Closed; // the first screen, where Options goes back to
    int selected = 0;                   // the chosen item or row
    std::size_t slot = 0;               // the chosen key of a Keys row
    Waiting waiting = Waiting::Nothing; // a key or a button to bind
    std::wstring message;               // what the last binding did
};

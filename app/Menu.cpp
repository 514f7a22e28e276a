#include "Menu.h"

#include "OptionRows.h"

using namespace irr;

const std::vector<Menu::Item>& Menu::itemsOf(Screen screen)
{
    static const std::vector<Item> betweenRounds{Item::StartRound, Item::StartRaid, Item::Options, Item::Quit};
    static const std::vector<Item> pause{Item::Resume, Item::Options, Item::Quit};
    static const std::vector<Item> none;
    return screen == Screen::BetweenRounds ? betweenRounds : screen == Screen::Pause ? pause : none;
}

void Menu::open(Screen first)
{
    screen = first;
    openedFrom = first;
    selected = 0;
    slot = 0;
    waiting = Waiting::Nothing;
    message.clear();
}

int Menu::count() const
{
    return screen == Screen::Options ? OptionRows::rowCount : static_cast<int>(itemsOf(screen).size());
}

void Menu::select(int index)
{
    const int n = count();
    if (n == 0)
        return;
    selected = (index % n + n) % n;
    if (slot >= Settings::keysPerBinding)
        slot = 0;
}

void Menu::point(int index)
{
    if (waiting == Waiting::Nothing && index >= 0 && index < count())
        selected = index;
}

Menu::Command Menu::change(Settings::Values& values, const Settings::Values& changed)
{
    if (changed == values)
        return Command::None;
    values = changed;
    return Command::SettingsChanged;
}

Menu::Command Menu::key(EKEY_CODE key, Settings::Values& values, bool& handled)
{
    handled = true;
    if (screen == Screen::Closed) {
        handled = false;
        return Command::None;
    }
    if (waiting == Waiting::Key) {
        waiting = Waiting::Nothing;
        if (key == KEY_ESCAPE) {
            message.clear();
            return Command::None;
        }
        Settings::Values changed = values;
        OptionRows::bindKey(changed, OptionRows::bindingOf(selected), slot, key, message);
        return change(values, changed);
    }
    if (waiting == Waiting::StickButton) {
        // Only Esc cancels: the other keys may be what the player holds.
        if (key == KEY_ESCAPE) {
            waiting = Waiting::Nothing;
            message.clear();
        }
        return Command::None;
    }
    const bool options = screen == Screen::Options;
    switch (key) {
    case KEY_UP:
        select(selected - 1);
        return Command::None;
    case KEY_DOWN:
        select(selected + 1);
        return Command::None;
    case KEY_LEFT:
    case KEY_RIGHT: {
        if (!options)
            break;
        const int direction = key == KEY_LEFT ? -1 : 1;
        if (OptionRows::shape(selected).kind == OptionRows::Kind::Keys) {
            slot = direction < 0 ? 0 : 1;
            return Command::None;
        }
        return change(values, OptionRows::stepped(values, selected, direction));
    }
    case KEY_RETURN:
        return take(values);
    case KEY_DELETE:
    case KEY_BACK:
        if (!options || OptionRows::shape(selected).kind != OptionRows::Kind::Keys)
            break;
        {
            Settings::Values changed = values;
            OptionRows::clearKey(changed, OptionRows::bindingOf(selected), slot);
            message.clear();
            return change(values, changed);
        }
    case KEY_ESCAPE:
        if (options) {
            const Screen back = openedFrom;
            open(back);
            // On Options again.
            const std::vector<Item>& items = itemsOf(back);
            for (std::size_t i = 0; i < items.size(); ++i)
                if (items[i] == Item::Options)
                    selected = static_cast<int>(i);
            return Command::None;
        }
        return Command::Resume;
    case KEY_F9:
        if (screen == Screen::BetweenRounds)
            return Command::StartRound;
        break;
    case KEY_F8:
        if (screen == Screen::BetweenRounds)
            return Command::StartRaid;
        break;
    default:
        break;
    }
    handled = false;
    return Command::None;
}

Menu::Command Menu::click(int index, std::size_t keySlot, Settings::Values& values)
{
    if (index < 0 || index >= count())
        return Command::None;
    // A click elsewhere while waiting for a key gives up the wait.
    if (waiting != Waiting::Nothing && (index != selected || keySlot != slot)) {
        waiting = Waiting::Nothing;
        message.clear();
    }
    selected = index;
    slot = keySlot < Settings::keysPerBinding ? keySlot : 0;
    return take(values);
}

Menu::Command Menu::slide(int row, int position, Settings::Values& values)
{
    if (screen != Screen::Options || OptionRows::shape(row).kind != OptionRows::Kind::Slider)
        return Command::None;
    selected = row;
    return change(values, OptionRows::withSlider(values, row, position));
}

Menu::Command Menu::stickButton(int button, Settings::Values& values)
{
    if (waiting != Waiting::StickButton)
        return Command::None;
    waiting = Waiting::Nothing;
    Settings::Values changed = values;
    OptionRows::bindButton(changed, selected, button, message);
    return change(values, changed);
}

Menu::Command Menu::take(Settings::Values& values)
{
    if (screen != Screen::Options) {
        const std::vector<Item>& items = itemsOf(screen);
        if (items.empty())
            return Command::None;
        switch (items[static_cast<std::size_t>(selected)]) {
        case Item::StartRound: return Command::StartRound;
        case Item::StartRaid: return Command::StartRaid;
        case Item::Resume: return Command::Resume;
        case Item::Quit: return Command::Quit;
        case Item::Options:
            screen = Screen::Options;
            selected = 0;
            slot = 0;
            message.clear();
            return Command::None;
        }
        return Command::None;
    }
    switch (OptionRows::shape(selected).kind) {
    case OptionRows::Kind::Switch:
        return change(values, OptionRows::flipped(values, selected));
    case OptionRows::Kind::StickButton:
        waiting = Waiting::StickButton;
        message = L"Press a stick button (Esc: cancel)";
        return Command::None;
    case OptionRows::Kind::Keys:
        waiting = Waiting::Key;
        message = std::wstring(L"Press a key for ") + OptionRows::shape(selected).label + L" (Esc: cancel)";
        return Command::None;
    case OptionRows::Kind::Command:
        if (selected == OptionRows::DefaultKeys) {
            Settings::Values changed = values;
            changed.keys = Settings::defaultKeys();
            message = L"Every key as it was at first";
            return change(values, changed);
        }
        {
            bool handled = false;
            return key(KEY_ESCAPE, values, handled);
        }
    case OptionRows::Kind::Slider:
        break;
    }
    return Command::None;
}

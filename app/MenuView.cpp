#include "MenuView.h"
#include "PanelColours.h"

#include "OptionRows.h"

#include <IGUIButton.h>
#include <IGUICheckBox.h>
#include <IGUIEnvironment.h>
#include <IGUIFont.h>
#include <IGUIScrollBar.h>
#include <IGUISkin.h>
#include <IVideoDriver.h>

#include <algorithm>

using namespace irr;

namespace {

// Element ids: an item of the first screens, or a row's control and its
// second key.
constexpr s32 itemId = 100;
constexpr s32 rowId = 1000;

const wchar_t* itemLabel(Menu::Item item, bool focused)
{
    switch (item) {
    case Menu::Item::StartRound: return L"";  // the invitation's own line
    case Menu::Item::StartRaid: return L"";
    case Menu::Item::Resume: return L"Resume";
    case Menu::Item::Options: return focused ? L"Options" : L"Esc: menu";
    case Menu::Item::Quit: return focused ? L"Quit" : L"F12: quit";
    }
    return L"";
}

void skinTheGui(gui::IGUIEnvironment* gui, gui::IGUIFont* font)
{
    gui::IGUISkin* skin = gui->getSkin();
    if (font)
        skin->setFont(font);
    skin->setColor(gui::EGDC_3D_DARK_SHADOW, video::SColor(255, 0, 0, 0));
    skin->setColor(gui::EGDC_3D_SHADOW, video::SColor(255, 60, 66, 84));
    skin->setColor(gui::EGDC_3D_FACE, video::SColor(235, 30, 36, 54));
    skin->setColor(gui::EGDC_3D_HIGH_LIGHT, PanelColours::frame);
    skin->setColor(gui::EGDC_3D_LIGHT, video::SColor(255, 90, 96, 116));
    skin->setColor(gui::EGDC_ACTIVE_BORDER, video::SColor(255, 20, 24, 36));
    skin->setColor(gui::EGDC_BUTTON_TEXT, PanelColours::white);
    skin->setColor(gui::EGDC_GRAY_TEXT, PanelColours::grey);
    skin->setColor(gui::EGDC_HIGH_LIGHT, PanelColours::markedBar);
    skin->setColor(gui::EGDC_HIGH_LIGHT_TEXT, PanelColours::white);
    skin->setColor(gui::EGDC_SCROLLBAR, video::SColor(255, 20, 24, 36));
    skin->setColor(gui::EGDC_WINDOW, PanelColours::box);
    skin->setColor(gui::EGDC_WINDOW_SYMBOL, PanelColours::gold);
    skin->setColor(gui::EGDC_GRAY_WINDOW_SYMBOL, PanelColours::grey);
    skin->setColor(gui::EGDC_EDITABLE, video::SColor(255, 20, 24, 36));
    skin->setColor(gui::EGDC_FOCUSED_EDITABLE, video::SColor(255, 20, 24, 36));
}

} // namespace

MenuView::MenuView(gui::IGUIEnvironment* gui, gui::IGUIFont* font) : gui(gui), font(font)
{
    if (this->font == nullptr)
        this->font = gui->getBuiltInFont();
    skinTheGui(gui, font);
}

MenuView::~MenuView()
{
    clear();
}

s32 MenuView::rowHeight() const
{
    return static_cast<s32>(font->getDimension(L"M").Height) + 10;
}

void MenuView::clear()
{
    for (gui::IGUIElement* element : elements)
        element->remove();
    elements.clear();
    places.clear();
    shown = Layout::None;
}

void MenuView::hide()
{
    if (shown != Layout::None)
        clear();
}

bool MenuView::relayout(Layout layout, const core::rect<s32>& where)
{
    if (layout == shown && where == shownAt)
        return false;
    clear();
    shown = layout;
    shownAt = where;
    return true;
}

void MenuView::drawBar(video::IVideoDriver* driver, const core::rect<s32>& where) const
{
    driver->draw2DRectangle(PanelColours::markedBar, where);
}

void MenuView::drawBetweenRounds(video::IVideoDriver* driver, const Menu& menu,
                                 const std::vector<core::rect<s32>>& lines, bool pointerFree)
{
    // lines: the round's, the raid's, and the last line of the invitation.
    if (lines.size() < 3)
        return;
    const bool focused = menu.getScreen() == Menu::Screen::BetweenRounds;
    const std::vector<Menu::Item>& items = Menu::itemsOf(Menu::Screen::BetweenRounds);
    const core::rect<s32>& footer = lines[2];
    const s32 half = (footer.LowerRightCorner.X - footer.UpperLeftCorner.X) / 2;
    std::vector<core::rect<s32>> spots{lines[0], lines[1],
                                       core::rect<s32>(footer.UpperLeftCorner, footer.LowerRightCorner - core::vector2di(half, 0)),
                                       core::rect<s32>(footer.UpperLeftCorner + core::vector2di(half, 0), footer.LowerRightCorner)};
    core::rect<s32> all = lines[0];
    all.addInternalPoint(footer.LowerRightCorner);
    relayout(Layout::BetweenRounds, all);
    if (elements.empty()) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            gui::IGUIButton* button = gui->addButton(spots[i], nullptr, itemId + static_cast<s32>(i));
            button->setDrawBorder(false);
            button->setTabStop(false);
            elements.push_back(button);
        }
        places = spots;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        elements[i]->setText(itemLabel(items[i], focused));
        elements[i]->setEnabled(focused || pointerFree);
    }
    // The invitation draws the bar under its own two lines.
    if (focused && menu.getSelected() >= 2) {
        const core::rect<s32>& chosen = places[static_cast<std::size_t>(menu.getSelected())];
        drawBar(driver, core::rect<s32>(chosen.UpperLeftCorner + core::vector2di(6, 1),
                                        chosen.LowerRightCorner - core::vector2di(6, 1)));
    }
    gui->drawAll();
}

void MenuView::drawPause(video::IVideoDriver* driver, const Menu& menu, const core::rect<s32>& row)
{
    const std::vector<Menu::Item>& items = Menu::itemsOf(Menu::Screen::Pause);
    const s32 em = static_cast<s32>(font->getDimension(L"M").Width);
    const s32 width = em * 8;
    const s32 centre = (row.UpperLeftCorner.X + row.LowerRightCorner.X) / 2;
    const s32 left = centre - width * static_cast<s32>(items.size()) / 2;
    if (relayout(Layout::Pause, row)) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            const s32 x = left + width * static_cast<s32>(i);
            const core::rect<s32> spot(x, row.UpperLeftCorner.Y, x + width, row.LowerRightCorner.Y);
            gui::IGUIButton* button = gui->addButton(spot, nullptr, itemId + static_cast<s32>(i), itemLabel(items[i], true));
            button->setDrawBorder(false);
            button->setTabStop(false);
            elements.push_back(button);
            places.push_back(spot);
        }
    }
    const core::rect<s32>& chosen = places[static_cast<std::size_t>(menu.getSelected())];
    drawBar(driver, core::rect<s32>(chosen.UpperLeftCorner + core::vector2di(4, 2),
                                    chosen.LowerRightCorner - core::vector2di(4, 2)));
    gui->drawAll();
}

void MenuView::drawOptions(video::IVideoDriver* driver, const Menu& menu, const Settings::Values& values)
{
    const core::dimension2du screen = driver->getScreenSize();
    const s32 em = static_cast<s32>(font->getDimension(L"M").Width);
    const s32 line = rowHeight();
    s32 labelWidth = 0;
    for (int row = 0; row < OptionRows::rowCount; ++row)
        labelWidth = std::max(labelWidth, static_cast<s32>(font->getDimension(OptionRows::shape(row).label).Width));
    // On a narrow screen the margins and the controls give way first, so
    // that both columns stay on it down to about 800 pixels.
    const s32 room = static_cast<s32>(screen.Width) - em;
    const bool narrow = em * 6 + (labelWidth + em * 15) * 2 > room;
    const s32 margin = narrow ? em : em * 2;
    const s32 controlWidth =
        narrow ? std::max(em * 9, std::min(em * 14, (room - margin * 3) / 2 - labelWidth - em)) : em * 14;
    const s32 columnWidth = labelWidth + em + controlWidth;
    // The settings on the left, the keys on the right; the message and Back under both.
    const int leftRows = OptionRows::FirstKeys;
    const int rightRows = OptionRows::Back - OptionRows::FirstKeys;
    const s32 rows = std::max(leftRows, rightRows);
    const s32 width = margin * 3 + columnWidth * 2;
    const s32 height = line * (rows + 4) + margin;
    const s32 x0 = std::max(0, static_cast<s32>(screen.Width) / 2 - width / 2);
    const s32 y0 = std::max(0, static_cast<s32>(screen.Height) / 2 - height / 2);
    const core::rect<s32> area(x0, y0, x0 + width, y0 + height);

    auto rowPlace = [&](int row) {
        if (row == OptionRows::Back)
            return core::rect<s32>(x0 + width / 2 - em * 5, y0 + height - margin / 2 - line, x0 + width / 2 + em * 5,
                                   y0 + height - margin / 2);
        const bool right = row >= OptionRows::FirstKeys;
        const s32 x = x0 + margin + (right ? columnWidth + margin : 0);
        const s32 y = y0 + margin / 2 + line * (1 + (right ? row - OptionRows::FirstKeys : row));
        return core::rect<s32>(x, y, x + columnWidth, y + line);
    };
    auto controlPlace = [&](int row) {
        const core::rect<s32> place = rowPlace(row);
        return core::rect<s32>(place.LowerRightCorner.X - controlWidth, place.UpperLeftCorner.Y + 2,
                               place.LowerRightCorner.X, place.LowerRightCorner.Y - 2);
    };
    if (relayout(Layout::Options, area)) {
        for (int row = 0; row < OptionRows::rowCount; ++row) {
            places.push_back(rowPlace(row));
            const core::rect<s32> control = controlPlace(row);
            const s32 id = rowId + row * 2;
            const s32 split = control.UpperLeftCorner.X + controlWidth / 2;
            switch (OptionRows::shape(row).kind) {
            case OptionRows::Kind::Slider: {
                // Room on the right for the value.
                const core::rect<s32> track(control.UpperLeftCorner.X, control.UpperLeftCorner.Y + 2,
                                            control.LowerRightCorner.X - em * 4, control.LowerRightCorner.Y - 2);
                gui::IGUIScrollBar* slider = gui->addScrollBar(true, track, nullptr, id);
                slider->setMin(0);
                slider->setMax(OptionRows::sliderSteps(row));
                slider->setSmallStep(1);
                slider->setLargeStep(2);
                slider->setTabStop(false);
                elements.push_back(slider);
                break;
            }
            case OptionRows::Kind::Switch: {
                const s32 box = line - 8;
                gui::IGUICheckBox* check = gui->addCheckBox(
                    false, core::rect<s32>(control.UpperLeftCorner.X, control.UpperLeftCorner.Y + 2,
                                           control.UpperLeftCorner.X + box + em * 4, control.UpperLeftCorner.Y + 2 + box),
                    nullptr, id);
                check->setTabStop(false);
                elements.push_back(check);
                break;
            }
            case OptionRows::Kind::StickButton:
            case OptionRows::Kind::Command: {
                const bool command = OptionRows::shape(row).kind == OptionRows::Kind::Command;
                gui::IGUIButton* button = gui->addButton(row == OptionRows::Back ? rowPlace(row) : control, nullptr, id,
                                                         command ? OptionRows::shape(row).label : L"");
                button->setTabStop(false);
                elements.push_back(button);
                break;
            }
            case OptionRows::Kind::Keys:
                for (s32 slot = 0; slot < 2; ++slot) {
                    const core::rect<s32> half(slot == 0 ? control.UpperLeftCorner.X : split + 2,
                                               control.UpperLeftCorner.Y,
                                               slot == 0 ? split - 2 : control.LowerRightCorner.X,
                                               control.LowerRightCorner.Y);
                    gui::IGUIButton* button = gui->addButton(half, nullptr, id + slot);
                    button->setTabStop(false);
                    elements.push_back(button);
                }
                break;
            }
        }
    }

    // The values of this moment on the controls.
    for (gui::IGUIElement* element : elements) {
        const s32 row = (element->getID() - rowId) / 2;
        const std::size_t slot = static_cast<std::size_t>((element->getID() - rowId) % 2);
        switch (OptionRows::shape(row).kind) {
        case OptionRows::Kind::Slider:
            static_cast<gui::IGUIScrollBar*>(element)->setPos(OptionRows::sliderPosition(values, row));
            break;
        case OptionRows::Kind::Switch:
            static_cast<gui::IGUICheckBox*>(element)->setChecked(OptionRows::isOn(values, row));
            break;
        case OptionRows::Kind::StickButton: {
            const bool waiting = menu.getWaiting() == Menu::Waiting::StickButton && menu.getSelected() == row;
            element->setText(waiting ? L"press..." : OptionRows::valueText(values, row).c_str());
            break;
        }
        case OptionRows::Kind::Keys: {
            const bool waiting = menu.getWaiting() == Menu::Waiting::Key && menu.getSelected() == row
                                 && menu.getSlot() == slot;
            element->setText(waiting ? L"press..." : OptionRows::keyText(values, row, slot).c_str());
            break;
        }
        case OptionRows::Kind::Command:
            break;
        }
    }

    driver->draw2DRectangle(PanelColours::box, area);
    driver->draw2DRectangleOutline(area, PanelColours::frame);
    font->draw(L"OPTIONS", core::rect<s32>(x0, y0 + margin / 2, x0 + width, y0 + margin / 2 + line), PanelColours::gold, true, true);
    const core::rect<s32>& chosen = places[static_cast<std::size_t>(menu.getSelected())];
    drawBar(driver, core::rect<s32>(chosen.UpperLeftCorner - core::vector2di(em / 2, 0),
                                    chosen.LowerRightCorner + core::vector2di(em / 2, 0)));
    if (OptionRows::shape(menu.getSelected()).kind == OptionRows::Kind::Keys) {
        // The chosen one of the binding's two keys.
        const core::rect<s32> control = controlPlace(menu.getSelected());
        const s32 split = control.UpperLeftCorner.X + controlWidth / 2;
        const core::rect<s32> half(menu.getSlot() == 0 ? control.UpperLeftCorner.X - 2 : split,
                                   control.UpperLeftCorner.Y - 2,
                                   menu.getSlot() == 0 ? split : control.LowerRightCorner.X + 2,
                                   control.LowerRightCorner.Y + 2);
        driver->draw2DRectangleOutline(half, PanelColours::gold);
    }
    for (int row = 0; row < OptionRows::Back; ++row) {
        if (OptionRows::shape(row).kind == OptionRows::Kind::Command)
            continue;
        const core::rect<s32> place = rowPlace(row);
        font->draw(OptionRows::shape(row).label, core::rect<s32>(place.UpperLeftCorner.X, place.UpperLeftCorner.Y,
                                                                place.LowerRightCorner.X, place.LowerRightCorner.Y),
                   PanelColours::white, false, true);
        if (OptionRows::shape(row).kind == OptionRows::Kind::Slider) {
            const core::rect<s32> control = controlPlace(row);
            font->draw(OptionRows::valueText(values, row).c_str(),
                       core::rect<s32>(control.LowerRightCorner.X - em * 4 + em / 2, control.UpperLeftCorner.Y,
                                       control.LowerRightCorner.X, control.LowerRightCorner.Y),
                       PanelColours::white, false, true);
        }
    }
    const core::rect<s32> back = rowPlace(OptionRows::Back);
    font->draw(menu.getMessage().c_str(),
               core::rect<s32>(x0, back.UpperLeftCorner.Y - line - line / 2, x0 + width, back.UpperLeftCorner.Y - line / 2),
               PanelColours::gold, true, true);
    gui->drawAll();
}

MenuView::Hand MenuView::read(const SEvent& event) const
{
    Hand hand;
    if (event.EventType != EET_GUI_EVENT || event.GUIEvent.Caller == nullptr || shown == Layout::None)
        return hand;
    const gui::IGUIElement* caller = event.GUIEvent.Caller;
    if (std::find(elements.begin(), elements.end(), caller) == elements.end())
        return hand;
    const s32 id = caller->getID();
    if (shown == Layout::Options) {
        hand.index = (id - rowId) / 2;
        hand.slot = static_cast<std::size_t>((id - rowId) % 2);
    } else {
        hand.index = id - itemId;
    }
    switch (event.GUIEvent.EventType) {
    case gui::EGET_BUTTON_CLICKED:
    case gui::EGET_CHECKBOX_CHANGED:
        hand.kind = Hand::Kind::Click;
        break;
    case gui::EGET_SCROLL_BAR_CHANGED:
        hand.kind = Hand::Kind::Slide;
        hand.position = static_cast<const gui::IGUIScrollBar*>(caller)->getPos();
        break;
    case gui::EGET_ELEMENT_HOVERED:
        hand.kind = Hand::Kind::Point;
        break;
    default:
        break;
    }
    return hand;
}

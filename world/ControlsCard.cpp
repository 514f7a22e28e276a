#include "ControlsCard.h"

using namespace irr;

const wchar_t* const ControlsCard::title = L"CONTROLS";

std::vector<core::stringw> ControlsCard::lines(bool keyboardAndMouse)
{
    std::vector<core::stringw> card;
    if (keyboardAndMouse) {
        card.push_back(L"Aim: mouse or arrow keys");
        card.push_back(L"Fire: Space or left button");
        card.push_back(L"Reload: R or right button");
    } else {
        card.push_back(L"Aim: the stick");
        card.push_back(L"Fire: button 1");
        card.push_back(L"Reload: button 3");
    }
    card.push_back(L"F9: start a round, F10: stop it");
    card.push_back(L"P or Esc: pause");
    card.push_back(L"T: screenshot, F12: quit");
    return card;
}

#pragma once

#include <irrString.h>

#include <vector>

// The controls told shortly to a player who has not yet started a round:
// for the keyboard and mouse when no stick is attached, else for the stick.
// Kept apart from drawing so that the words can be checked without a window.
class ControlsCard {
public:
    static const wchar_t* const title;  // "CONTROLS"

    static std::vector<irr::core::stringw> lines(bool keyboardAndMouse);
};

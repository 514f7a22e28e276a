#pragma once

#include <irrString.h>
#include <irrTypes.h>
#include <line3d.h>
#include <rect.h>

#include <vector>

#include "RadarContact.h"

namespace irr {
namespace gui { class IGUIFont; }
namespace video { class IVideoDriver; }
}

// One way to play: the round, or the air raid beside it. The frame loop
// asks the mode that holds the screen to step, to judge each round's line,
// and to draw its part of the picture: the HUD's lines, what goes over
// them, the box at the centre and the radar's contacts. Every time is the
// game time of the frame or of the fire unit's step.
class GameMode {
public:
    virtual ~GameMode() = default;

    // Its key (F9, F8) at game time now; false where it will not start now.
    virtual bool start(irr::u32 now) = 0;
    // F10, or the other mode starting: ends at once, no panel, nothing kept.
    virtual void stop() = 0;
    // Aircraft are in play: the other mode waits for this one to end.
    virtual bool isPlaying() const = 0;
    // Once a frame, before the fire unit steps.
    virtual void step(irr::u32 now) = 0;
    // One round's line at the game time of its step; true when it hit.
    virtual bool shoot(const irr::core::line3df& shot, irr::u32 now) = 0;

    // The HUD's lines in the top left corner.
    virtual irr::core::stringw hudText(irr::u32 now) const = 0;
    // The counts under the HUD's first line, for telling a changed screen.
    virtual irr::u32 aircraftLeft() const = 0;
    virtual irr::u32 points() const = 0;
    // Drawn over the scene and the HUD's lines, such as a hit's red edges.
    virtual void drawOverHud(irr::video::IVideoDriver*, irr::u32) const {}
    // The mode's words at the centre: a panel or a banner. Gives back the
    // box a panel filled, empty when none, so the pause's band keeps clear.
    virtual irr::core::rect<irr::s32> drawCentre(irr::video::IVideoDriver* driver, irr::gui::IGUIFont* font,
                                                 irr::u32 now) = 0;
    // A panel stands at the centre, where the sight would be.
    virtual bool showsPanel(irr::u32 now) const = 0;
    // Nothing is played or shown: the invitation to play stands at the centre.
    virtual bool invites(irr::u32) const { return false; }
    virtual std::vector<RadarContact> contacts(irr::u32 now) const = 0;
    // Something of the mode moves by itself, so each frame differs.
    virtual bool isMoving(irr::u32 now) const = 0;
    // How far the view is shaken off the sight now, degrees right and up.
    virtual void shake(irr::u32, irr::f32& right, irr::f32& up) const { right = up = 0.0f; }
};

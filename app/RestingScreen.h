#pragma once

#include <irrTypes.h>
#include <dimension2d.h>
#include <vector3d.h>

// Decides whether the frame the loop is about to make would be the same as
// the one on screen, so that at rest (between rounds, nobody aiming, nothing
// burning or fading) the loop draws nothing and the renderer sleeps.
//
// A rule on what was seen alone: each pass hands it the look of the screen
// (what the picture is made from), whether something on it moves by itself,
// and whether input arrived; it answers whether to draw. The first frame,
// any change of look, movement, input or a picture asked for (T) is drawn;
// so is a frame a second at rest, which repaints a window that was covered.
class RestingScreen {
public:
    static constexpr irr::u32 refreshMs = 1000;  // the longest a frame stays on screen undrawn

    // What the picture is made from, apart from what moves by itself.
    struct Look {
        irr::core::vector3df baseRotation;    // the turret's traverse
        irr::core::vector3df gunsRotation;    // the guns' elevation
        irr::core::dimension2du screenSize;   // the window's size
        irr::u32 hudRounds = 0;               // rounds left, as the HUD shows them
        irr::u32 hudAircraft = 0;             // aircraft still to come
        irr::u32 hudPoints = 0;               // the points
        irr::u32 overlay = 0;                 // what covers the middle: invitation, panel, pause notice
        bool reloading = false;               // the HUD's reloading notice

        bool operator==(const Look& other) const;
        bool operator!=(const Look& other) const { return !(*this == other); }
    };

    // What happened since the last frame drawn.
    struct Pass {
        Look look;                  // the screen as this frame would draw it
        bool moving = false;        // jets, smoke, bursts, tracers, flashes, fades, a reload
        bool input = false;         // a key or mouse event arrived
        bool pictureAsked = false;  // a screenshot waits for the next frame
        irr::u32 now = 0;           // real time, ms
    };

    RestingScreen();

    // Whether this pass must draw its frame; when it must, the frame counts
    // as drawn at pass.now with pass.look.
    bool mustDraw(const Pass& pass);

    irr::u32 getFramesSkipped() const { return framesSkipped; }

private:
    bool drawnOnce;          // a frame was drawn before
    Look shown;              // the look of the frame on screen
    irr::u32 shownAt;        // when it was drawn
    irr::u32 framesSkipped;  // passes that drew nothing, ever
};

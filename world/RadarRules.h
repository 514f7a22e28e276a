#pragma once

#include <dimension2d.h>
#include <irrTypes.h>
#include <position2d.h>
#include <rect.h>
#include <vector3d.h>

#include <vector>

#include "RadarContact.h"

// Where things go on the radar and at the screen's edge, free of the
// engine's device: the disc in the lower right corner shows what is within
// range of the gun, turned so that the view's direction is up; the edge
// marks point the way to aircraft out of view, on the side of the shorter
// turn. Angles in degrees unless named otherwise; screen positions in
// pixels from the top left corner.
class RadarRules {
public:
    static constexpr irr::f32 range = 2500.0f;     // world units round the gun that the disc shows
    static constexpr irr::u32 mostEdgeMarks = 4;
    static constexpr irr::f32 edgeInset = 16.0f;   // px from the screen's edge to an edge mark's centre
    static constexpr irr::f32 margin = 16.0f;      // px between the disc and the screen's edges
    // The HUD text's corner, kept clear of edge marks: the round's three
    // lines; a raid's HUD, with more lines, asks for a taller corner.
    static constexpr irr::s32 hudRight = 300;
    static constexpr irr::s32 hudBottom = 90;

    // The aim a frame is drawn with.
    struct View {
        irr::core::vector3df eye;  // the camera's position
        irr::f32 yaw;              // heading of the view: 0 along +Z, 90 along +X
        irr::f32 pitch;            // the sight's elevation above the horizon
        irr::f32 fovY;             // vertical field of view, radians
        irr::f32 aspect;           // width over height
    };

    // How high a contact stands against the view: below its lower edge,
    // within its height, or above its upper edge.
    enum class Height { Lower, Within, Higher };

    // A contact on the disc: x to the right and y towards the view's
    // direction, 1 at the rim.
    struct DiscSpot {
        irr::f32 x, y;
        bool beyond;      // farther than range: on the rim, in its direction
        Height height;
    };

    enum class Edge { Left, Right, Top, Bottom };
    struct EdgeMark {
        irr::core::position2df at;  // the mark's centre
        Edge edge;                  // the edge it sits on, which it points at
        std::size_t contact;        // index in the list of contacts
        irr::f32 distance;          // from the gun
    };

    // Where the disc sits on a screen of this size.
    struct Layout {
        irr::core::position2df centre;
        irr::f32 radius;
    };

    // The view from the camera's position and target; a camera never rolls.
    static View viewFrom(const irr::core::vector3df& eye, const irr::core::vector3df& target,
                         irr::f32 fovY, irr::f32 aspect);
    // Half the view's width, as an angle from the line of sight.
    static irr::f32 halfWidth(const View& view);

    static DiscSpot discSpot(const View& view, const irr::core::vector3df& position);
    static Layout layout(const irr::core::dimension2du& screen);
    // A disc spot in screen pixels.
    static irr::core::position2df onScreen(const Layout& layout, irr::f32 x, irr::f32 y);

    // Whether the position is drawn inside the frame.
    static bool inView(const View& view, const irr::core::vector3df& position);
    // Marks for the clean contacts within range and out of view, nearest
    // first, at most mostEdgeMarks.
    static std::vector<EdgeMark> edgeMarks(const View& view, const irr::core::dimension2du& screen,
                                           const std::vector<RadarContact>& contacts,
                                           irr::core::dimension2di hudCorner = {hudRight, hudBottom});

private:
    struct Axes;
    static Axes axesOf(const View& view);
    static EdgeMark edgeMark(const View& view, const irr::core::dimension2du& screen,
                             const irr::core::vector3df& position, irr::core::dimension2di hudCorner);
};

#pragma once

#include <S3DVertex.h>
#include <dimension2d.h>
#include <irrTypes.h>
#include <position2d.h>

#include <vector>

#include "RadarContact.h"
#include "RadarRules.h"

// The radar and the edge marks of one frame as a single list of coloured
// triangles in screen pixels, so that the whole picture is one draw call:
// the disc with its rim, half-range ring and the view's wedge, a mark for
// each contact (its shape tells the kind, a hollow one was hit, a bar above
// or below says it stands above or below the view), one on the rim for each
// beyond range, and an arrow at the screen's edge for each edge mark.
class RadarPicture {
public:
    // Clean contacts are amber and filled, hit ones grey and hollow: the
    // fill tells them apart without the colour.
    static const irr::video::SColor cleanColour;
    static const irr::video::SColor hitColour;
    static const irr::video::SColor discColour;

    // hudCorner: the HUD's corner, top left, that edge marks keep clear of.
    void build(const RadarRules::View& view, const irr::core::dimension2du& screen,
               const std::vector<RadarContact>& contacts,
               irr::core::dimension2di hudCorner = {RadarRules::hudRight, RadarRules::hudBottom});

    // Three vertices a triangle; indices count up from 0.
    const std::vector<irr::video::S3DVertex>& getVertices() const { return vertices; }
    const std::vector<irr::u16>& getIndices() const { return indices; }
    irr::u32 getTriangleCount() const { return irr::u32(vertices.size() / 3); }

private:
    using Point = irr::core::position2df;

    void triangle(Point a, Point b, Point c, irr::video::SColor colour);
    void quad(Point a, Point b, Point c, Point d, irr::video::SColor colour);
    // A line of the given width, as a quad centred on it.
    void band(Point a, Point b, irr::f32 width, irr::video::SColor colour);
    void ring(Point centre, irr::f32 radius, irr::f32 width, irr::video::SColor colour);
    // A convex outline filled, or drawn as its edges.
    void shape(const Point* corners, int count, bool filled, irr::video::SColor colour);
    void disc(const RadarRules::Layout& layout, const RadarRules::View& view);
    void mark(Point centre, irr::f32 size, const RadarContact& contact, RadarRules::Height height);
    void rimMark(const RadarRules::Layout& layout, irr::f32 x, irr::f32 y, const RadarContact& contact);
    void edgeArrow(const RadarRules::EdgeMark& mark);

    std::vector<irr::video::S3DVertex> vertices;  // rebuilt every frame, kept to spare allocations
    std::vector<irr::u16> indices;                // 0, 1, 2, ...

    // The disc, its rings, the wedge and the gun stand still while the
    // screen and the view's width do: made once, copied in each frame.
    std::vector<irr::video::S3DVertex> backdrop;
    irr::core::dimension2du backdropScreen;
    irr::f32 backdropHalfWidth = -1.0f;
};

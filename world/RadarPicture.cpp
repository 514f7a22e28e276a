#include "RadarPicture.h"

#include <irrMath.h>

#include <algorithm>
#include <cmath>

using namespace irr;

const video::SColor RadarPicture::cleanColour(255, 255, 190, 40);
const video::SColor RadarPicture::hitColour(255, 170, 170, 170);
const video::SColor RadarPicture::discColour(170, 8, 24, 12);

namespace {
const video::SColor rimColour(230, 110, 200, 120);
const video::SColor ringColour(120, 110, 200, 120);
const video::SColor wedgeColour(70, 140, 230, 150);
const video::SColor gunColour(255, 255, 255, 255);
const video::SColor shadowColour(200, 0, 0, 0);
// Enough sides that the outline stays within 0.7 px of a circle at 1080 lines.
const int discSides = 32;
const u32 mostVertices = 65535;   // the reach of 16-bit indices

core::position2df along(f32 degrees, f32 length)
{
    // Clockwise from up, y down.
    const f32 radians = degrees * core::DEGTORAD;
    return core::position2df(std::sin(radians) * length, -std::cos(radians) * length);
}
}

void RadarPicture::triangle(Point a, Point b, Point c, video::SColor colour)
{
    if (vertices.size() + 3 > mostVertices)
        return;
    for (const Point& p : {a, b, c}) {
        indices.push_back(u16(vertices.size()));
        vertices.emplace_back(p.X, p.Y, 0.0f, 0.0f, 0.0f, -1.0f, colour, 0.0f, 0.0f);
    }
}

void RadarPicture::quad(Point a, Point b, Point c, Point d, video::SColor colour)
{
    triangle(a, b, c, colour);
    triangle(a, c, d, colour);
}

void RadarPicture::band(Point a, Point b, f32 width, video::SColor colour)
{
    Point across(b.Y - a.Y, a.X - b.X);
    const f32 length = std::sqrt(across.X * across.X + across.Y * across.Y);
    if (length <= 0.0f)
        return;
    across *= width * 0.5f / length;
    quad(a + across, b + across, b - across, a - across, colour);
}

void RadarPicture::ring(Point centre, f32 radius, f32 width, video::SColor colour)
{
    const f32 inner = radius - width * 0.5f, outer = radius + width * 0.5f;
    for (int i = 0; i < discSides; ++i) {
        const f32 a = 360.0f * i / discSides, b = 360.0f * (i + 1) / discSides;
        quad(centre + along(a, inner), centre + along(a, outer), centre + along(b, outer), centre + along(b, inner),
             colour);
    }
}

void RadarPicture::shape(const Point* corners, int count, bool filled, video::SColor colour)
{
    for (int i = 0; i < count; ++i) {
        if (filled && i >= 2)
            triangle(corners[0], corners[i - 1], corners[i], colour);
        if (!filled)
            band(corners[i], corners[(i + 1) % count], 1.5f, colour);
    }
}

void RadarPicture::disc(const RadarRules::Layout& layout, const RadarRules::View& view)
{
    const Point centre = layout.centre;
    const f32 radius = layout.radius;
    for (int i = 0; i < discSides; ++i)
        triangle(centre, centre + along(360.0f * i / discSides, radius),
                 centre + along(360.0f * (i + 1) / discSides, radius), discColour);
    // The view's width as a wedge from the gun, up the disc.
    const f32 half = RadarRules::halfWidth(view);
    const int steps = std::max(1, int(std::ceil(2.0f * half / 10.0f)));
    for (int i = 0; i < steps; ++i)
        triangle(centre, centre + along(-half + 2.0f * half * i / steps, radius),
                 centre + along(-half + 2.0f * half * (i + 1) / steps, radius), wedgeColour);
    ring(centre, radius * 0.5f, 1.0f, ringColour);
    ring(centre, radius, 2.0f, rimColour);
    const f32 gun = std::max(1.5f, radius * 0.02f);
    quad(centre + Point(-gun, -gun), centre + Point(gun, -gun), centre + Point(gun, gun), centre + Point(-gun, gun),
         gunColour);
}

void RadarPicture::mark(Point c, f32 s, const RadarContact& contact, RadarRules::Height height)
{
    const bool filled = !contact.hit;
    const video::SColor colour = contact.hit ? hitColour : cleanColour;
    f32 halfHeight = s;  // how far the shape reaches up and down, for the bars
    switch (contact.kind) {
    case RadarContact::Kind::Jet: {
        const Point corners[] = {c + Point(0, -s), c + Point(s, s * 0.8f), c + Point(-s, s * 0.8f)};
        shape(corners, 3, filled, colour);
        break;
    }
    case RadarContact::Kind::Fighter: {
        const Point corners[] = {c + Point(0, -s), c + Point(s * 0.8f, 0), c + Point(0, s), c + Point(-s * 0.8f, 0)};
        shape(corners, 4, filled, colour);
        break;
    }
    case RadarContact::Kind::Bomber: {
        halfHeight = s * 0.6f;
        const Point corners[] = {c + Point(-s * 1.2f, -halfHeight), c + Point(s * 1.2f, -halfHeight),
                                 c + Point(s * 1.2f, halfHeight), c + Point(-s * 1.2f, halfHeight)};
        shape(corners, 4, filled, colour);
        break;
    }
    case RadarContact::Kind::Attacker: {
        // Two wings meeting at the centre.
        halfHeight = s * 0.8f;
        const Point left[] = {c + Point(-s, -halfHeight), c, c + Point(-s, halfHeight)};
        const Point right[] = {c + Point(s, -halfHeight), c + Point(s, halfHeight), c};
        shape(left, 3, filled, colour);
        shape(right, 3, filled, colour);
        break;
    }
    case RadarContact::Kind::Bomb: {
        halfHeight = std::max(1.5f, s * 0.3f);
        const f32 d = halfHeight;
        const Point corners[] = {c + Point(-d, -d), c + Point(d, -d), c + Point(d, d), c + Point(-d, d)};
        shape(corners, 4, true, colour);
        return;  // too small for the bars
    }
    }
    const f32 gap = 2.5f, bar = 2.0f;
    if (height == RadarRules::Height::Higher)
        band(c + Point(-s, -halfHeight - gap - bar * 0.5f), c + Point(s, -halfHeight - gap - bar * 0.5f), bar, colour);
    else if (height == RadarRules::Height::Lower)
        band(c + Point(-s, halfHeight + gap + bar * 0.5f), c + Point(s, halfHeight + gap + bar * 0.5f), bar, colour);
}

void RadarPicture::rimMark(const RadarRules::Layout& layout, f32 x, f32 y, const RadarContact& contact)
{
    // A small arrow on the rim, pointing out towards the contact.
    const Point out(x, -y);
    const Point across(-out.Y, out.X);
    const f32 s = std::max(4.0f, layout.radius * 0.07f);
    const Point tip = layout.centre + out * (layout.radius + s * 0.9f);
    const Point base = layout.centre + out * (layout.radius - s * 0.4f);
    const Point corners[] = {tip, base + across * (s * 0.7f), base - across * (s * 0.7f)};
    shape(corners, 3, !contact.hit, contact.hit ? hitColour : cleanColour);
}

void RadarPicture::edgeArrow(const RadarRules::EdgeMark& mark)
{
    Point out(0, 0);
    switch (mark.edge) {
    case RadarRules::Edge::Left: out = Point(-1, 0); break;
    case RadarRules::Edge::Right: out = Point(1, 0); break;
    case RadarRules::Edge::Top: out = Point(0, -1); break;
    case RadarRules::Edge::Bottom: out = Point(0, 1); break;
    }
    const Point across(-out.Y, out.X);
    const Point p = mark.at;
    // A dark rim round the arrow, so that it reads on sky, cloud and ground.
    triangle(p + out * 13.0f, p - out * 9.0f + across * 12.0f, p - out * 9.0f - across * 12.0f, shadowColour);
    triangle(p + out * 10.0f, p - out * 7.0f + across * 9.0f, p - out * 7.0f - across * 9.0f, cleanColour);
}

void RadarPicture::build(const RadarRules::View& view, const core::dimension2du& screen,
                         const std::vector<RadarContact>& contacts, core::dimension2di hudCorner)
{
    const RadarRules::Layout layout = RadarRules::layout(screen);
    const f32 halfWidth = RadarRules::halfWidth(view);
    vertices.clear();
    indices.clear();
    if (screen != backdropScreen || halfWidth != backdropHalfWidth) {
        disc(layout, view);
        backdrop = vertices;
        backdropScreen = screen;
        backdropHalfWidth = halfWidth;
    } else {
        vertices = backdrop;
        for (u32 i = 0; i < vertices.size(); ++i)
            indices.push_back(u16(i));
    }
    const f32 size = std::max(4.0f, layout.radius * 0.07f);
    for (const RadarContact& contact : contacts) {
        const RadarRules::DiscSpot spot = RadarRules::discSpot(view, contact.position);
        if (spot.beyond)
            rimMark(layout, spot.x, spot.y, contact);
        else
            mark(RadarRules::onScreen(layout, spot.x, spot.y), size, contact, spot.height);
    }
    for (const RadarRules::EdgeMark& edge : RadarRules::edgeMarks(view, screen, contacts, hudCorner))
        edgeArrow(edge);
}

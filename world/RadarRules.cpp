#include "RadarRules.h"

#include <irrMath.h>

#include <algorithm>
#include <cmath>

using namespace irr;

// The camera's own axes in the world: right stays level, since the turret
// camera never rolls.
struct RadarRules::Axes {
    core::vector3df forward, right, up;
    f32 tanX, tanY;  // tangents of half the view's width and height
};

RadarRules::View RadarRules::viewFrom(const core::vector3df& eye, const core::vector3df& target, f32 fovY,
                                      f32 aspect)
{
    const core::vector3df look = target - eye;
    const f64 level = std::sqrt(f64(look.X) * look.X + f64(look.Z) * look.Z);
    View view;
    view.eye = eye;
    view.yaw = f32(std::atan2(f64(look.X), f64(look.Z)) * core::RADTODEG64);
    view.pitch = f32(std::atan2(f64(look.Y), level) * core::RADTODEG64);
    view.fovY = fovY;
    view.aspect = aspect;
    return view;
}

f32 RadarRules::halfWidth(const View& view)
{
    return f32(std::atan(std::tan(view.fovY * 0.5) * view.aspect) * core::RADTODEG64);
}

RadarRules::Axes RadarRules::axesOf(const View& view)
{
    const f64 yaw = view.yaw * core::DEGTORAD64, pitch = view.pitch * core::DEGTORAD64;
    Axes axes;
    axes.forward = core::vector3df(f32(std::sin(yaw) * std::cos(pitch)), f32(std::sin(pitch)),
                                   f32(std::cos(yaw) * std::cos(pitch)));
    axes.right = core::vector3df(f32(std::cos(yaw)), 0.0f, f32(-std::sin(yaw)));
    axes.up = axes.forward.crossProduct(axes.right);
    axes.tanY = f32(std::tan(view.fovY * 0.5));
    axes.tanX = axes.tanY * view.aspect;
    return axes;
}

RadarRules::DiscSpot RadarRules::discSpot(const View& view, const core::vector3df& position)
{
    // Bearing and distance from the gun; height against the sight from the eye.
    const f64 yaw = view.yaw * core::DEGTORAD64;
    const f64 ahead = position.X * std::sin(yaw) + position.Z * std::cos(yaw);
    const f64 aside = position.X * std::cos(yaw) - position.Z * std::sin(yaw);
    const f64 distance = std::sqrt(ahead * ahead + aside * aside);
    DiscSpot spot;
    spot.beyond = distance > range;
    const f64 scale = spot.beyond ? 1.0 / distance : 1.0 / range;
    spot.x = f32(aside * scale);
    spot.y = f32(ahead * scale);

    const core::vector3df fromEye = position - view.eye;
    const f64 level = std::sqrt(f64(fromEye.X) * fromEye.X + f64(fromEye.Z) * fromEye.Z);
    const f64 elevation = std::atan2(f64(fromEye.Y), level) * core::RADTODEG64;
    const f64 halfHeight = view.fovY * 0.5 * core::RADTODEG64;
    spot.height = elevation > view.pitch + halfHeight   ? Height::Higher
                  : elevation < view.pitch - halfHeight ? Height::Lower
                                                        : Height::Within;
    return spot;
}

RadarRules::Layout RadarRules::layout(const core::dimension2du& screen)
{
    // Beside the right gun, which at the bottom of the screen reaches about
    // 0.44 of the screen's height right of the centre whatever its width.
    const f32 width = f32(screen.Width), height = f32(screen.Height);
    f32 radius = std::min(0.13f * height, (width * 0.5f - 0.44f * height - 2.0f * margin) * 0.5f);
    radius = std::max(radius, 40.0f);
    radius = std::min(radius, (std::min(width, height) - 2.0f * margin) * 0.5f);
    radius = std::max(radius, 1.0f);
    return Layout{core::position2df(width - margin - radius, height - margin - radius), radius};
}

core::position2df RadarRules::onScreen(const Layout& layout, f32 x, f32 y)
{
    return core::position2df(layout.centre.X + x * layout.radius, layout.centre.Y - y * layout.radius);
}

bool RadarRules::inView(const View& view, const core::vector3df& position)
{
    const Axes axes = axesOf(view);
    const core::vector3df v = position - view.eye;
    const f32 depth = v.dotProduct(axes.forward);
    if (depth <= 0.0f)
        return false;
    return std::fabs(v.dotProduct(axes.right)) <= depth * axes.tanX &&
           std::fabs(v.dotProduct(axes.up)) <= depth * axes.tanY;
}

RadarRules::EdgeMark RadarRules::edgeMark(const View& view, const core::dimension2du& screen,
                                          const core::vector3df& position, core::dimension2di hudCorner)
{
    const Axes axes = axesOf(view);
    const core::vector3df v = position - view.eye;
    const f32 x = v.dotProduct(axes.right), y = v.dotProduct(axes.up), z = v.dotProduct(axes.forward);
    // The point on the frame's edge, -1 to 1 each way, y up.
    f32 nx, ny;
    bool side;
    if (z > 0.0f && std::fabs(x) <= z * axes.tanX) {
        // Within the view's width: only the guns' elevation must change.
        side = false;
        nx = x / (z * axes.tanX);
        ny = y >= 0.0f ? 1.0f : -1.0f;
    } else {
        // The turret must turn, to the side the aircraft is on: the mark
        // stands where the line from the sight to it crosses that edge, or
        // for one abreast or behind, at the height it stands at against the
        // sight's elevation, which the turn keeps.
        side = true;
        nx = x >= 0.0f ? 1.0f : -1.0f;
        if (z > 0.0f) {
            ny = (y * axes.tanX) / (std::fabs(x) * axes.tanY);
        } else {
            const f32 elevation = std::atan2(v.Y, std::sqrt(v.X * v.X + v.Z * v.Z)) * core::RADTODEG;
            ny = (elevation - view.pitch) / (view.fovY * 0.5f * core::RADTODEG);
        }
        ny = core::clamp(ny, -1.0f, 1.0f);
    }

    const f32 width = f32(screen.Width), height = f32(screen.Height);
    const Layout disc = layout(screen);
    EdgeMark mark;
    mark.contact = 0;
    mark.distance = position.getLength();
    f32 px = (nx + 1.0f) * 0.5f * width, py = (1.0f - ny) * 0.5f * height;
    // The mark lies wholly on screen, clear of the HUD text and the disc.
    const auto within = [](f32 value, f32 low, f32 high) { return std::max(low, std::min(value, high)); };
    if (side) {
        mark.edge = nx < 0.0f ? Edge::Left : Edge::Right;
        px = mark.edge == Edge::Left ? edgeInset : width - edgeInset;
        const f32 top = mark.edge == Edge::Left ? f32(hudCorner.Height) + edgeInset : edgeInset;
        const f32 bottom = mark.edge == Edge::Left ? height - edgeInset : disc.centre.Y - disc.radius - edgeInset;
        py = within(py, top, std::max(top, bottom));
    } else {
        mark.edge = ny > 0.0f ? Edge::Top : Edge::Bottom;
        py = mark.edge == Edge::Top ? edgeInset : height - edgeInset;
        const f32 left = mark.edge == Edge::Top ? f32(hudCorner.Width) + edgeInset : edgeInset;
        const f32 right = mark.edge == Edge::Top ? width - edgeInset : disc.centre.X - disc.radius - edgeInset;
        px = within(px, left, std::max(left, right));
    }
    mark.at = core::position2df(px, py);
    return mark;
}

std::vector<RadarRules::EdgeMark> RadarRules::edgeMarks(const View& view, const core::dimension2du& screen,
                                                        const std::vector<RadarContact>& contacts,
                                                        core::dimension2di hudCorner)
{
    std::vector<EdgeMark> marks;
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        const RadarContact& contact = contacts[i];
        if (contact.hit || contact.position.getLength() > range || inView(view, contact.position))
            continue;
        EdgeMark mark = edgeMark(view, screen, contact.position, hudCorner);
        mark.contact = i;
        marks.push_back(mark);
    }
    std::stable_sort(marks.begin(), marks.end(),
                     [](const EdgeMark& a, const EdgeMark& b) { return a.distance < b.distance; });
    if (marks.size() > mostEdgeMarks)
        marks.resize(mostEdgeMarks);
    return marks;
}

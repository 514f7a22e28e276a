#include "RadarPicture.h"
#include "RadarRules.h"

#include <irrMath.h>
#include <gtest/gtest.h>

#include <cmath>

using namespace irr;

namespace {

const f32 fovY = core::PI / 2.5f;  // the turret camera's, 72 degrees high

RadarRules::View viewAt(f32 yaw, f32 pitch, const core::dimension2du& screen = {1366, 768})
{
    return RadarRules::View{core::vector3df(0, 0, 0), yaw, pitch, fovY, f32(screen.Width) / f32(screen.Height)};
}

// A point at this bearing (clockwise from +Z), elevation and distance from the gun.
core::vector3df at(f32 bearing, f32 elevation, f32 distance)
{
    const f32 b = bearing * core::DEGTORAD, e = elevation * core::DEGTORAD;
    return core::vector3df(std::sin(b) * std::cos(e), std::sin(e), std::cos(b) * std::cos(e)) * distance;
}

RadarContact jet(const core::vector3df& position, bool hit = false)
{
    return RadarContact{position, RadarContact::Kind::Jet, hit};
}

} // namespace

TEST(RadarRulesTest, DiscTurnsWithTheViewAndShowsRangeAndHeight)
{
    // Bearings counted from the view's direction, which is up on the disc.
    const RadarRules::View view = viewAt(30.0f, 0.0f);
    const struct { f32 bearing, x, y; } bearings[] = {{0, 0, 0.4f}, {90, 0.4f, 0}, {180, 0, -0.4f}, {270, -0.4f, 0}};
    for (const auto& b : bearings) {
        const RadarRules::DiscSpot spot = RadarRules::discSpot(view, at(30.0f + b.bearing, 0.0f, 1000.0f));
        EXPECT_NEAR(spot.x, b.x, 1e-4f) << b.bearing;
        EXPECT_NEAR(spot.y, b.y, 1e-4f) << b.bearing;
        EXPECT_FALSE(spot.beyond);
        EXPECT_EQ(spot.height, RadarRules::Height::Within);
    }

    // Straight above: the centre of the disc, above the view.
    const RadarRules::DiscSpot above = RadarRules::discSpot(view, core::vector3df(0, 800, 0));
    EXPECT_NEAR(above.x, 0.0f, 1e-6f);
    EXPECT_NEAR(above.y, 0.0f, 1e-6f);
    EXPECT_EQ(above.height, RadarRules::Height::Higher);

    // Beyond range: on the rim, in its direction.
    const RadarRules::DiscSpot far = RadarRules::discSpot(view, at(30.0f + 135.0f, 5.0f, 3000.0f));
    EXPECT_TRUE(far.beyond);
    EXPECT_NEAR(std::hypot(far.x, far.y), 1.0f, 1e-5f);
    EXPECT_NEAR(far.x, std::sqrt(0.5f), 1e-3f);
    EXPECT_NEAR(far.y, -std::sqrt(0.5f), 1e-3f);
    // Exactly at the range it is still inside, at the rim.
    EXPECT_FALSE(RadarRules::discSpot(view, at(30.0f, 0.0f, 2500.0f)).beyond);

    // Above and below the view's height, which moves with the sight.
    EXPECT_EQ(RadarRules::discSpot(view, at(30, 40, 1000)).height, RadarRules::Height::Higher);
    EXPECT_EQ(RadarRules::discSpot(view, at(30, -40, 1000)).height, RadarRules::Height::Lower);
    EXPECT_EQ(RadarRules::discSpot(viewAt(30, 50), at(200, 10, 1000)).height, RadarRules::Height::Lower);
    EXPECT_EQ(RadarRules::discSpot(viewAt(30, 50), at(200, 40, 1000)).height, RadarRules::Height::Within);
}

TEST(RadarRulesTest, ViewComesFromTheCameraPose)
{
    const core::vector3df eye(0, 1.75f, 0);
    const RadarRules::View east = RadarRules::viewFrom(eye, eye + core::vector3df(100, 0, 0), fovY, 1.5f);
    EXPECT_NEAR(east.yaw, 90.0f, 1e-4f);
    EXPECT_NEAR(east.pitch, 0.0f, 1e-4f);
    const RadarRules::View up = RadarRules::viewFrom(eye, eye + core::vector3df(0, 100, -100), fovY, 1.5f);
    EXPECT_NEAR(std::fabs(up.yaw), 180.0f, 1e-4f);
    EXPECT_NEAR(up.pitch, 45.0f, 1e-4f);
    EXPECT_EQ(up.eye, eye);

    // In view exactly as the camera draws: the width from the aspect.
    const RadarRules::View level = viewAt(0, 0);
    const f32 half = RadarRules::halfWidth(level);
    EXPECT_NEAR(std::tan(half * core::DEGTORAD), std::tan(fovY / 2) * 1366.0f / 768.0f, 1e-4f);
    EXPECT_TRUE(RadarRules::inView(level, at(half - 1.0f, 0, 1000)));
    EXPECT_FALSE(RadarRules::inView(level, at(half + 1.0f, 0, 1000)));
    EXPECT_TRUE(RadarRules::inView(level, at(0, 35, 1000)));
    EXPECT_FALSE(RadarRules::inView(level, at(0, 37, 1000)));
    EXPECT_FALSE(RadarRules::inView(level, at(180, 0, 1000)));
}

TEST(RadarRulesTest, EdgeMarksOnTheSideOfTheShorterTurnNearestFirst)
{
    const core::dimension2du screen(1366, 768);
    const RadarRules::View view = viewAt(0, 0);
    const std::vector<RadarContact> contacts = {
        jet(at(90, 5, 1200)),          // 0: to the right
        jet(at(260, 5, 800)),          // 1: to the left, a little behind
        jet(at(180, 5, 500), true),    // 2: hit: no mark
        jet(at(10, 5, 1000)),          // 3: in view: no mark
        jet(at(100, 5, 3000)),         // 4: beyond range: no mark
        jet(at(170, 5, 1500)),         // 5: behind, a shorter turn right
        jet(at(200, 5, 2000)),         // 6: behind, a shorter turn left; fifth nearest: left out
        jet(at(0, 60, 1000)),          // 7: ahead, above the view
    };
    const std::vector<RadarRules::EdgeMark> marks = RadarRules::edgeMarks(view, screen, contacts);
    ASSERT_EQ(marks.size(), 4u);
    const struct { std::size_t contact; RadarRules::Edge edge; } expected[] = {
        {1, RadarRules::Edge::Left}, {7, RadarRules::Edge::Top}, {0, RadarRules::Edge::Right},
        {5, RadarRules::Edge::Right}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(marks[i].contact, expected[i].contact) << i;
        EXPECT_EQ(marks[i].edge, expected[i].edge) << i;
    }
    const f32 inset = RadarRules::edgeInset;
    EXPECT_FLOAT_EQ(marks[0].at.X, inset);
    EXPECT_NEAR(marks[0].at.Y, 384.0f - 384.0f * 5.0f / 36.0f, 2.0f);  // a little above the middle
    EXPECT_FLOAT_EQ(marks[1].at.Y, inset);
    EXPECT_NEAR(marks[1].at.X, 683.0f, 0.5f);
    EXPECT_FLOAT_EQ(marks[2].at.X, 1366.0f - inset);
    EXPECT_FLOAT_EQ(marks[3].at.X, 1366.0f - inset);

    // Turned round to face the jet behind on the right, its mark goes; the
    // jet on the left is now on the right.
    const std::vector<RadarRules::EdgeMark> turned = RadarRules::edgeMarks(viewAt(170, 0), screen, contacts);
    for (const RadarRules::EdgeMark& mark : turned)
        EXPECT_NE(mark.contact, 5u);
    ASSERT_FALSE(turned.empty());
    EXPECT_EQ(turned[0].contact, 1u);
    EXPECT_EQ(turned[0].edge, RadarRules::Edge::Right);

    // Behind and low, the guns raised: still to the side, low on the edge.
    const std::vector<RadarRules::EdgeMark> raised =
        RadarRules::edgeMarks(viewAt(0, 60), screen, {jet(at(-160, 0, 1000))});
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0].edge, RadarRules::Edge::Left);
    EXPECT_GT(raised[0].at.Y, 600.0f);

    // High on the left, the guns lowered: the mark stops under the HUD's
    // corner, and under a raid's taller one.
    const std::vector<RadarContact> high = {jet(at(-100, 80, 1000))};
    const std::vector<RadarRules::EdgeMark> underHud = RadarRules::edgeMarks(viewAt(0, 0), screen, high);
    const std::vector<RadarRules::EdgeMark> underRaidHud =
        RadarRules::edgeMarks(viewAt(0, 0), screen, high, core::dimension2di(320, 140));
    ASSERT_EQ(underHud.size(), 1u);
    ASSERT_EQ(underRaidHud.size(), 1u);
    EXPECT_EQ(underRaidHud[0].edge, RadarRules::Edge::Left);
    EXPECT_FLOAT_EQ(underHud[0].at.Y, RadarRules::hudBottom + inset);
    EXPECT_FLOAT_EQ(underRaidHud[0].at.Y, 140.0f + inset);
}

TEST(RadarRulesTest, RadarAndMarksStayOnScreenAndClearOfTheHudAtEverySize)
{
    // One picture through every size, the largest first: what it keeps
    // from frame to frame must follow the window as it shrinks.
    RadarPicture picture;
    for (const core::dimension2du screen : {core::dimension2du(1920, 1080), core::dimension2du(800, 600),
                                            core::dimension2du(1366, 768)}) {
        SCOPED_TRACE(std::to_string(screen.Width) + "x" + std::to_string(screen.Height));
        const f32 w = f32(screen.Width), h = f32(screen.Height);
        const RadarRules::Layout disc = RadarRules::layout(screen);
        // In the lower right corner, inside the screen, beside the right gun
        // (0.44 of the height right of the centre at the bottom) and below
        // the crosshair's square.
        EXPECT_GE(disc.radius, 40.0f);
        EXPECT_LE(disc.centre.X + disc.radius, w - RadarRules::margin + 0.01f);
        EXPECT_LE(disc.centre.Y + disc.radius, h - RadarRules::margin + 0.01f);
        EXPECT_GE(disc.centre.X - disc.radius, w / 2 + 0.44f * h);
        EXPECT_GE(disc.centre.Y - disc.radius, h / 2 + 128.0f);

        // Contacts all round and at every height, near and beyond range.
        std::vector<RadarContact> contacts;
        for (int bearing = 0; bearing < 360; bearing += 15)
            for (f32 elevation : {-10.0f, 5.0f, 50.0f, 85.0f})
                contacts.push_back(jet(at(f32(bearing), elevation, bearing % 2 ? 3000.0f : 300.0f + bearing * 5)));
        for (f32 yaw : {0.0f, 123.0f})
            for (f32 pitch : {0.0f, 40.0f, 85.0f}) {
                const RadarRules::View view = viewAt(yaw, pitch, screen);
                for (const RadarRules::EdgeMark& mark : RadarRules::edgeMarks(view, screen, contacts)) {
                    // On its edge, wholly on screen.
                    const f32 inset = RadarRules::edgeInset;
                    switch (mark.edge) {
                    case RadarRules::Edge::Left: EXPECT_FLOAT_EQ(mark.at.X, inset); break;
                    case RadarRules::Edge::Right: EXPECT_FLOAT_EQ(mark.at.X, w - inset); break;
                    case RadarRules::Edge::Top: EXPECT_FLOAT_EQ(mark.at.Y, inset); break;
                    case RadarRules::Edge::Bottom: EXPECT_FLOAT_EQ(mark.at.Y, h - inset); break;
                    }
                    EXPECT_TRUE(mark.at.X >= inset && mark.at.X <= w - inset && mark.at.Y >= inset &&
                                mark.at.Y <= h - inset);
                    // Never over the HUD text, nor over the disc.
                    EXPECT_FALSE(mark.at.X < RadarRules::hudRight + inset && mark.at.Y < RadarRules::hudBottom + inset);
                    EXPECT_GT(std::hypot(mark.at.X - disc.centre.X, mark.at.Y - disc.centre.Y),
                              disc.radius + inset - 0.01f);
                }
                // Every triangle the radar draws lies on screen.
                picture.build(view, screen, contacts);
                ASSERT_GT(picture.getTriangleCount(), 100u);
                for (const video::S3DVertex& v : picture.getVertices()) {
                    ASSERT_TRUE(v.Pos.X >= 0 && v.Pos.X <= w && v.Pos.Y >= 0 && v.Pos.Y <= h)
                        << v.Pos.X << ", " << v.Pos.Y;
                }
            }
    }
}

// The plans and the eyes of the end-to-end radar test, and the figures of
// how soon a player finds a jet. The game never sets its random numbers to a
// fixed start value, so the n-th jet a game sends always flies the same
// path: this tool draws the paths the way the game does.
//
//   radar-planner behind JET MS BEARING
//                    "DX": the mouse's way from the start (level, ahead) to
//                    the level view that has the JET-th jet, MS after its
//                    take-off, at BEARING degrees clockwise from the view
//   radar-planner look JET MS DX CAPTURE EMPTY
//                    reads a capture of the level view DX pixels of mouse
//                    from the start, taken about MS after the jet's take-off
//                    (a second before to three after): "disc UP LIT
//                    ELSEWHERE" (where the radar puts the jet at the moment
//                    that fits best, up the disc from -1 to 1, the amber
//                    pixels there and in the rest of the disc), "edges RIGHT LEFT" (amber pixels along
//                    the two side edges), "jet ONSCREEN FOUND" (whether the
//                    jet is in the frame and its pixels that the same view
//                    without jets does not have)
//   radar-planner times FIRST COUNT
//                    for jets FIRST to FIRST+COUNT-1: ms from take-off to the
//                    jet's first moment on screen for a player who starts
//                    turning towards the radar's mark at take-off, and for
//                    one who starts at its fly-by sound

#include <irrlicht.h>

#include "FlightRules.h"
#include "RadarPicture.h"
#include "RadarRules.h"
#include "TurretAim.h"
#include "VirtualStick.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace irr;

namespace {

const core::dimension2du screen(1366, 768);
const f32 fovY = core::PI / 2.5f;  // the engine's default camera
const f32 degreesPerPixel = VirtualStick::MOUSE_DEGREES_PER_PIXEL;
const u32 stepMs = 1000 / 60;

struct Jet {
    core::line3df path;
    u32 flightTime;
    core::vector3df at(u32 t) const { return FlightRules::positionAt(path, flightTime, 0, t); }
};

// The turret camera, level, turned by yaw: 1.75 up, as it rides on the guns.
RadarRules::View levelView(f32 yaw)
{
    const core::vector3df eye(0, 1.75f, 0);
    return RadarRules::View{eye, yaw, 0.0f, fovY, f32(screen.Width) / f32(screen.Height)};
}

bool amber(const video::SColor& c)
{
    return c.getRed() > 225 && c.getGreen() > 150 && c.getGreen() < 225 && c.getBlue() < 90;
}

// As the round's tool: a neutral grey, not sky, cloud or ground.
bool jetColoured(const video::SColor& c)
{
    const int r = c.getRed(), g = c.getGreen(), b = c.getBlue();
    const bool sky = b > r + 25 || std::min(r, std::min(g, b)) > 175;
    const bool ground = g > b + 1 || r > b + 10;
    return !sky && !ground && b - r <= 15 && g - r <= 10;
}

class RadarPlanner {
public:
    RadarPlanner()
    {
        SIrrlichtCreationParameters parameters;
        parameters.DriverType = video::EDT_NULL;
        parameters.LoggingLevel = ELL_NONE;
        device = createDeviceEx(parameters);
    }
    ~RadarPlanner() { device->drop(); }

    Jet jet(int number)
    {
        // Four draws a take-off, in the game's order.
        IRandomizer* random = device->getRandomizer();
        for (int i = 1; i < number; ++i)
            for (int draw = 0; draw < 4; ++draw)
                random->frand();
        const f32 heading = random->frand(), offset = random->frand(), altitude = random->frand();
        const f32 time = random->frand();
        return Jet{FlightRules::pathFromDraws(heading, offset, altitude), FlightRules::flightTimeFromDraw(time)};
    }

    int behind(int number, u32 t, f32 bearing)
    {
        const core::vector3df p = jet(number).at(t);
        const f32 towards = std::atan2(p.X, p.Z) * core::RADTODEG;
        // The shorter way round from the start.
        const int turn = int(std::lround(360.0f / degreesPerPixel));
        int dx = int(std::lround((towards - bearing) / degreesPerPixel));
        dx = ((dx % turn) + turn) % turn;
        if (dx > turn / 2)
            dx -= turn;
        std::printf("%d\n", dx);
        return 0;
    }

    int look(int number, u32 t, int dx, const char* captureFile, const char* emptyFile)
    {
        video::IImage* capture = device->getVideoDriver()->createImageFromFile(captureFile);
        video::IImage* empty = device->getVideoDriver()->createImageFromFile(emptyFile);
        if (!capture || !empty || capture->getDimension() != screen || empty->getDimension() != screen) {
            std::fprintf(stderr, "cannot read %s and %s as %ux%u captures\n", captureFile, emptyFile, screen.Width,
                         screen.Height);
            return 1;
        }
        const Jet plane = jet(number);
        const RadarRules::View view = levelView(dx * degreesPerPixel);
        const RadarRules::Layout disc = RadarRules::layout(screen);
        // A capture cannot be timed to the frame, and comes late rather
        // than early on a busy machine: the jet's mark is looked for round
        // where it stands from a second before t to three after.
        const u32 from = t > 1000 ? t - 1000 : 0, to = t + 3000;
        u32 amberOnDisc = 0;
        for (s32 y = s32(disc.centre.Y - disc.radius); y <= s32(disc.centre.Y + disc.radius); ++y)
            for (s32 x = s32(disc.centre.X - disc.radius); x <= s32(disc.centre.X + disc.radius); ++x)
                amberOnDisc += std::hypot(x - disc.centre.X, y - disc.centre.Y) <= disc.radius &&
                               amber(capture->getPixel(x, y));
        u32 lit = 0;
        f32 up = 0.0f;
        for (u32 u = from; u <= to; u += 100) {
            const RadarRules::DiscSpot spot = RadarRules::discSpot(view, plane.at(u));
            const core::position2df centre = RadarRules::onScreen(disc, spot.x, spot.y);
            u32 here = 0;
            for (s32 y = s32(centre.Y) - 16; y <= s32(centre.Y) + 16; ++y)
                for (s32 x = s32(centre.X) - 16; x <= s32(centre.X) + 16; ++x)
                    here += std::hypot(x - centre.X, y - centre.Y) <= 16.0f &&
                            std::hypot(x - disc.centre.X, y - disc.centre.Y) <= disc.radius &&
                            amber(capture->getPixel(x, y));
            if (u == from || here > lit) {
                lit = here;
                up = spot.y;
            }
        }
        const u32 elsewhere = amberOnDisc - lit;
        u32 right = 0, left = 0;
        for (s32 y = 0; y < s32(screen.Height); ++y)
            for (s32 x = 0; x < 40; ++x) {
                left += amber(capture->getPixel(x, y));
                right += y < disc.centre.Y - disc.radius && amber(capture->getPixel(screen.Width - 1 - x, y));
            }
        // The jet: in the frame, and jet-coloured pixels near where the
        // camera puts it that the empty view lacks.
        bool onScreen = false;
        u32 found = 0;
        for (u32 u = from; u <= to; u += 100) {
            const core::vector3df p = plane.at(u);
            if (!RadarRules::inView(view, p))
                continue;
            onScreen = true;
            const core::vector2df spotOnScreen = project(view, p);
            u32 here = 0;
            for (s32 y = s32(spotOnScreen.Y) - 12; y <= s32(spotOnScreen.Y) + 12; ++y)
                for (s32 x = s32(spotOnScreen.X) - 12; x <= s32(spotOnScreen.X) + 12; ++x)
                    if (x >= 0 && y >= 0 && x < s32(screen.Width) && y < s32(screen.Height))
                        here += jetColoured(capture->getPixel(x, y)) && !jetColoured(empty->getPixel(x, y));
            found = std::max(found, here);
        }
        capture->drop();
        empty->drop();
        std::printf("disc %.2f %u %u\nedges %u %u\njet %d %u\n", up, lit, elsewhere, right, left, onScreen ? 1 : 0,
                    found);
        return 0;
    }

    int times(int first, int count)
    {
        for (int n = 1; n < first; ++n)
            jet(1);
        std::printf("jet  radar_ms  flyby_ms  flyby_sound_starts_ms\n");
        for (int n = first; n < first + count; ++n) {
            const Jet plane = jet(1);
            // The fly-by sound's first moment, in whole steps as the game's frames come.
            u32 sound = 0;
            while (sound < plane.flightTime && !FlightRules::inFlybyWindow(sound, 0, plane.flightTime))
                sound += stepMs;
            std::printf("%3d  %8u  %8u  %8u\n", n, firstSeen(plane, 0), firstSeen(plane, sound), sound);
        }
        return 0;
    }

private:
    core::vector2df project(const RadarRules::View& view, const core::vector3df& p) const
    {
        core::matrix4 projection, look;
        projection.buildProjectionMatrixPerspectiveFovLH(view.fovY, view.aspect, 0.01f, 4000.0f);
        const f32 yaw = view.yaw * core::DEGTORAD;
        look.buildCameraLookAtMatrixLH(view.eye, view.eye + core::vector3df(std::sin(yaw), 0, std::cos(yaw)) * 100.0f,
                                       core::vector3df(0, 1, 0));
        f32 clip[4];
        (projection * look).transformVect(clip, p);
        return core::vector2df((clip[0] / clip[3] + 1.0f) * 0.5f * screen.Width,
                               (1.0f - clip[1] / clip[3]) * 0.5f * screen.Height);
    }

    // The first moment the jet is on screen for a player who looks ahead,
    // level, until the moment start and then holds the arrow key of the
    // shorter turn to it, at the turret's own pace: the key's ramp and the
    // turret's easing into the turn.
    u32 firstSeen(const Jet& plane, u32 start) const
    {
        f32 yaw = 0.0f, rate = 0.0f;
        u32 held = 0;
        for (u32 t = 0; t < plane.flightTime; t += stepMs) {
            const core::vector3df p = plane.at(t);
            if (RadarRules::inView(levelView(yaw), p))
                return t;
            if (t < start)
                continue;
            f32 bearing = std::atan2(p.X, p.Z) * core::RADTODEG - yaw;
            bearing = std::remainder(bearing, 360.0f);
            rate = TurretAim::smooth(rate, VirtualStick::keyDeflection(held, false));
            held += stepMs;
            yaw += bearing > 0 ? rate : -rate;
        }
        return plane.flightTime;
    }

    IrrlichtDevice* device;
};

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    RadarPlanner planner;
    if (mode == "behind" && argc == 5)
        return planner.behind(std::atoi(argv[2]), u32(std::strtoul(argv[3], nullptr, 10)), f32(std::atof(argv[4])));
    if (mode == "look" && argc == 7)
        return planner.look(std::atoi(argv[2]), u32(std::strtoul(argv[3], nullptr, 10)), std::atoi(argv[4]), argv[5],
                            argv[6]);
    if (mode == "times" && argc == 4 && std::atoi(argv[2]) >= 1)
        return planner.times(std::atoi(argv[2]), std::atoi(argv[3]));
    std::fprintf(stderr, "usage: radar-planner behind JET MS BEARING | look JET MS DX CAPTURE EMPTY"
                         " | times FIRST COUNT\n");
    return 2;
}

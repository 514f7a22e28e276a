// The plan for the end-to-end round: the game never sets its random numbers
// to a fixed start value, so the five jets of the first round always fly the
// same paths. This tool draws those paths the way the game does, finds when
// the guns pointed straight up (turret at 0, guns at -85) cross each jet, and
// where each jet stands on screen in the two views the test can hold exactly.
// It also counts jet-coloured pixels in captures, which the test compares.
//
//   round-planner plan RESDIR        prints the plan, one fact per line
//   round-planner count PNG X Y R    jet-coloured pixels within R of (X, Y)
//   round-planner smoke PNG          jet-coloured pixels of the whole sky part

#include <irrlicht.h>

#include <FlightRules.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace irr;

class RoundPlanner {
public:
    RoundPlanner();
    ~RoundPlanner();

    int plan(const std::string& resDir);
    int count(const char* file, int x, int y, int radius);
    int smoke(const char* file);

private:
    // A view the test can hold without feedback: the turret never turns and
    // the guns rest against one of their limits, or at their start angle.
    struct View {
        const char* name;
        f32 pitch;
    };
    struct Spot {
        bool onScreen;
        f32 x, y;   // pixels
        f32 size;   // the jet's length on screen, pixels
    };

    void camera(f32 pitch, core::vector3df& position, core::vector3df& target,
                core::vector3df& up) const;
    Spot project(const View& view, const core::vector3df& point) const;
    bool inClearArea(const Spot& spot) const;
    bool coveredByTurret(f32 x, f32 y) const;
    void findHit(int jet, const core::line3df& path, u32 flightTime, const core::line3df& shot);
    void bestView(int jet, const View& view, const core::line3df& path, u32 flightTime, u32 from,
                  u32 to);
    core::vector3df positionAt(const core::line3df& path, u32 flightTime, u32 t) const;
    bool jetColoured(const video::SColor& c) const;

    IrrlichtDevice* device;         // null device: randomizer, mesh loader, image loader
    scene::IMeshSceneNode* jet;     // a jet node placed like the game's, for its box
    u32 hitFrom[6] = {};            // per jet: first and last ms after its spawn that
    u32 hitTo[6] = {};              // the straight-up shot line crosses its box
};

namespace {
const f32 screenW = 1366.f;
const f32 screenH = 768.f;
const f32 fovY = core::PI / 2.5f;     // the engine's default camera
const f32 jetLength = 22.f;           // the jet mesh's nose-to-tail length
}

namespace {
// A device without window or sound, and quiet: its banner would mix with the plan.
IrrlichtDevice* createQuietDevice()
{
    SIrrlichtCreationParameters parameters;
    parameters.DriverType = video::EDT_NULL;
    parameters.LoggingLevel = ELL_NONE;
    return createDeviceEx(parameters);
}
}

RoundPlanner::RoundPlanner() : device(createQuietDevice()), jet(nullptr)
{
}

RoundPlanner::~RoundPlanner()
{
    device->drop();
}

void RoundPlanner::camera(f32 pitch, core::vector3df& position, core::vector3df& target,
                          core::vector3df& up) const
{
    // The turret camera rides 1.75 up the guns' own axis and looks at the
    // point 100 ahead of the guns.
    core::matrix4 guns;
    guns.setRotationDegrees(core::vector3df(pitch, 0, 0));
    position = core::vector3df(0, 1.75f, 0);
    guns.rotateVect(position);
    target = core::vector3df(0, 0, 100);
    guns.transformVect(target);
    up = core::vector3df(0, 1, 0);
    guns.rotateVect(up);
}

RoundPlanner::Spot RoundPlanner::project(const View& view, const core::vector3df& point) const
{
    core::vector3df position, target, up;
    camera(view.pitch, position, target, up);
    core::matrix4 projection, look;
    projection.buildProjectionMatrixPerspectiveFovLH(fovY, screenW / screenH, 0.01f, 4000.f);
    look.buildCameraLookAtMatrixLH(position, target, up);
    const core::matrix4 all = projection * look;
    f32 clip[4];
    all.transformVect(clip, point);
    Spot spot{false, 0, 0, 0};
    if (clip[3] <= 0.01f)
        return spot;
    spot.x = (clip[0] / clip[3] + 1.f) * 0.5f * screenW;
    spot.y = (1.f - clip[1] / clip[3]) * 0.5f * screenH;
    const f32 focal = screenH * 0.5f / std::tan(fovY * 0.5f);
    spot.size = jetLength * focal / point.getDistanceFrom(position);
    spot.onScreen = spot.x >= 0 && spot.x < screenW && spot.y >= 0 && spot.y < screenH;
    return spot;
}

bool RoundPlanner::inClearArea(const Spot& spot) const
{
    // Away from the edges, the HUD text, the crosshair and the guns.
    const f32 margin = 100.f;
    if (!spot.onScreen || spot.x < margin || spot.x > screenW - margin || spot.y < margin ||
        spot.y > screenH - margin)
        return false;
    if (spot.x < 340 && spot.y < 110)
        return false;
    return !coveredByTurret(spot.x, spot.y);
}

bool RoundPlanner::coveredByTurret(f32 x, f32 y) const
{
    // The crosshair's rings round the centre and the guns below it.
    const f32 dx = x - screenW / 2, dy = y - screenH / 2;
    return dx * dx + dy * dy < 150.f * 150.f || (std::fabs(dx) < 260 && y > 420);
}

core::vector3df RoundPlanner::positionAt(const core::line3df& path, u32 flightTime, u32 t) const
{
    return FlightRules::positionAt(path, flightTime, 0, t);
}

void RoundPlanner::findHit(int index, const core::line3df& path, u32 flightTime,
                           const core::line3df& shot)
{
    const f64 angle = FlightRules::headingAngle(path.start, path.end);
    jet->setRotation(core::vector3df(0, static_cast<f32>(-angle), 0));
    bool inside = false;
    for (u32 t = 0; t < flightTime; ++t) {
        jet->setPosition(positionAt(path, flightTime, t));
        jet->updateAbsolutePosition();
        const bool crossed = jet->getTransformedBoundingBox().intersectsWithLine(shot);
        if (crossed && !inside)
            hitFrom[index] = t;
        if (crossed)
            hitTo[index] = t;
        inside = inside || crossed;
    }
    if (inside) {
        const f32 distance = positionAt(path, flightTime, (hitFrom[index] + hitTo[index]) / 2).getLength();
        std::printf("hit %d %u %u %u\n", index, hitFrom[index], hitTo[index],
                    static_cast<u32>(distance + 1000.f));
    }
}

void RoundPlanner::bestView(int index, const View& view, const core::line3df& path, u32 flightTime,
                            u32 from, u32 to)
{
    // The largest the jet gets on screen while it stands clear of the HUD,
    // the crosshair and the guns.
    Spot best{false, 0, 0, 0};
    u32 bestTime = 0;
    for (u32 t = from; t <= to && t <= flightTime; t += 50) {
        const Spot spot = project(view, positionAt(path, flightTime, t));
        if (inClearArea(spot) && spot.size > best.size) {
            best = spot;
            bestTime = t;
        }
    }
    if (best.onScreen)
        std::printf("see %d %s %u %.0f %.0f %.1f\n", index, view.name, bestTime, best.x, best.y,
                    best.size);
    else
        std::printf("unseen %d %s\n", index, view.name);
}

int RoundPlanner::plan(const std::string& resDir)
{
    scene::ISceneManager* scene = device->getSceneManager();
    scene::IAnimatedMesh* mesh = scene->getMesh((resDir + "/SU35S.obj").c_str());
    if (!mesh) {
        std::fprintf(stderr, "cannot load %s/SU35S.obj\n", resDir.c_str());
        return 1;
    }
    jet = scene->addMeshSceneNode(mesh);

    // The shot line with the guns straight up: from the camera, towards its
    // target, 4000 long, taken as a point.
    core::vector3df position, target, up;
    camera(-85.f, position, target, up);
    const core::line3df shot(position, (target - position).normalize() * 4000.f);
    std::printf("shot %.4f %.4f %.4f %.1f %.1f %.1f\n", shot.start.X, shot.start.Y, shot.start.Z,
                shot.end.X, shot.end.Y, shot.end.Z);

    const View level{"level", 0.f};
    const View zenith{"zenith", -85.f};
    IRandomizer* random = device->getRandomizer();
    for (int index = 1; index <= 5; ++index) {
        const f32 heading = random->frand();
        const f32 offset = random->frand();
        const f32 altitude = random->frand();
        const f32 time = random->frand();
        const core::line3df path = FlightRules::pathFromDraws(heading, offset, altitude);
        const u32 flightTime = FlightRules::flightTimeFromDraw(time);
        std::printf("jet %d %.0f %.0f %.0f %.0f %.0f %.0f %u\n", index, path.start.X, path.start.Y,
                    path.start.Z, path.end.X, path.end.Y, path.end.Z, flightTime);
        findHit(index, path, flightTime, shot);
        // The views the test holds while the first three jets fly: level
        // until the guns go up for the second jet, then straight up. The
        // paths after the first hit cannot be known (the smoke draws on the
        // same random numbers), so the last two are not looked for. The
        // third, which the guns fire at, is looked for after it has crossed
        // the line of fire, so that taking the picture does not slow the
        // game then.
        if (index == 1)
            bestView(index, level, path, flightTime, 0, 35000);
        else if (index == 2)
            bestView(index, zenith, path, flightTime, 0, flightTime);
        else if (index == 3)
            bestView(index, zenith, path, flightTime, hitTo[index] + 400, flightTime);
    }
    return 0;
}

bool RoundPlanner::jetColoured(const video::SColor& c) const
{
    // Jets and smoke are neutral greys: not the sky's blue, not the white of
    // clouds, not the green or brown of the ground.
    const int r = c.getRed(), g = c.getGreen(), b = c.getBlue();
    const bool sky = b > r + 25 || std::min(r, std::min(g, b)) > 175;
    const bool ground = g > b + 1 || r > b + 10;
    return !sky && !ground && b - r <= 15 && g - r <= 10;
}

int RoundPlanner::count(const char* file, int x, int y, int radius)
{
    video::IImage* image = device->getVideoDriver()->createImageFromFile(file);
    if (!image) {
        std::fprintf(stderr, "cannot read %s\n", file);
        return 1;
    }
    const core::dimension2du size = image->getDimension();
    u32 found = 0;
    for (int py = y - radius; py <= y + radius; ++py)
        for (int px = x - radius; px <= x + radius; ++px)
            if (px >= 0 && py >= 0 && u32(px) < size.Width && u32(py) < size.Height &&
                !coveredByTurret(f32(px), f32(py)) && jetColoured(image->getPixel(px, py)))
                ++found;
    image->drop();
    std::printf("%u\n", found);
    return 0;
}

int RoundPlanner::smoke(const char* file)
{
    // The whole picture but the HUD text, the crosshair and the guns.
    video::IImage* image = device->getVideoDriver()->createImageFromFile(file);
    if (!image) {
        std::fprintf(stderr, "cannot read %s\n", file);
        return 1;
    }
    const core::dimension2du size = image->getDimension();
    u32 found = 0;
    for (u32 py = 0; py < size.Height; ++py)
        for (u32 px = 0; px < size.Width; ++px) {
            const bool hud = px < 340 && py < 110;
            if (!hud && !coveredByTurret(f32(px), f32(py)) && jetColoured(image->getPixel(px, py)))
                ++found;
        }
    image->drop();
    std::printf("%u\n", found);
    return 0;
}

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    RoundPlanner planner;
    if (mode == "plan" && argc == 3)
        return planner.plan(argv[2]);
    if (mode == "count" && argc == 6)
        return planner.count(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
    if (mode == "smoke" && argc == 3)
        return planner.smoke(argv[2]);
    std::fprintf(stderr, "usage: round-planner plan RESDIR | count PNG X Y R | smoke PNG\n");
    return 2;
}

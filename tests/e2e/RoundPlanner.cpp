// The plans and the eyes of the end-to-end round. The game never sets its
// random numbers to a fixed start value, so its jets always fly the same
// paths, one after another, across rounds and stopped rounds alike: the n-th
// jet a game sends is always the same. This tool draws those paths the way
// the game does and says where each jet is on screen in the views the test
// can hold exactly: level and straight up (the guns at rest or against a
// limit), and any aim the mouse reaches, since the mouse turns the turret
// by exactly 0.05 degrees a pixel. It also reads the test's captures.
//
// A hit makes smoke, and the smoke draws on the same random numbers, so every
// jet after a hit flies a path nobody can know: the jet a round hits must be
// its last.
//
//   round-planner plan RESDIR        the round to play, one fact per line:
//                                    the first round whose last jet the mouse
//                                    can aim at and whose others can be seen
//                                    level or straight up; for the last jet,
//                                    "hit JET FROM TO LEASTPOINTS MOSTPOINTS"
//   round-planner aim RESDIR JET FROM TO
//                                    "aim DX DY HITFROM HITTO POINTS": the mouse's
//                                    way from level to the aim that hits the
//                                    JET-th jet of a game for the longest time
//                                    between FROM and TO ms after its take-off
//   round-planner find RESDIR JET VIEW MS CAPTURE EMPTY
//                                    looks for the jet along its track about
//                                    MS after its take-off: the moment that
//                                    fits the capture best, and its pixels.
//                                    VIEW: level, zenith or aim:DX:DY
//   round-planner smoke PNG          jet-coloured pixels of the whole sky part
//   round-planner tracers CAPTURE REFERENCE
//                                    pixels that tracers lit between the
//                                    muzzles and the sight
//   round-planner hitmarks CAPTURE REFERENCE
//                                    "DIAGONALS FIRE": the hit mark's ticks
//                                    found round the sight, and the pixels of
//                                    fire at its centre

#include <irrlicht.h>

#include <FlightRules.h>

#include "TurretCamera.h"

#include <algorithm>
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
    int aim(const std::string& resDir, int number, u32 from, u32 to);
    int find(const std::string& resDir, int number, const std::string& viewName, u32 time,
             const char* capture, const char* empty);
    int smoke(const char* file);
    int tracers(const char* captureFile, const char* referenceFile);
    int hitmarks(const char* captureFile, const char* referenceFile);

private:
    // How the guns point: the turret's Y angle and the guns' X angle.
    struct View {
        f32 yaw, pitch;
    };
    struct Spot {
        bool onScreen;
        f32 x, y;   // pixels
        f32 size;   // the jet's length on screen, pixels
    };
    // The mouse's way from level to an aim, and the stretch of the flight
    // in which the aim's line of fire crosses the jet.
    struct Aim {
        int dx, dy;          // pixels; negative dy is up
        u32 hitFrom, hitTo;  // ms after take-off
        View view() const { return View{dx * degreesPerPixel, dy * degreesPerPixel}; }
    };
    struct Jet {
        core::line3df path;
        u32 flightTime;
        // the planned capture in each view (level, zenith, aim): ms after take-off, or none
        bool seen[3];
        u32 seenAt[3];
        Spot spot[3];
    };

    static constexpr f32 degreesPerPixel = 0.05f;

    void camera(const View& view, core::vector3df& position, core::vector3df& target,
                core::vector3df& up) const;
    core::line3df shotLine(const View& view) const;
    Spot project(const View& view, const core::vector3df& point) const;
    bool inClearArea(const Spot& spot) const;
    bool coveredByTurret(f32 x, f32 y) const;
    bool loadJet(const std::string& resDir);
    Jet nextJet();
    Jet jetNumber(int number);
    bool crossing(const Jet& jet, const core::line3df& line, u32 from, u32 to, u32& first, u32& last);
    bool bestAim(const Jet& jet, u32 from, u32 to, f32 farthest, Aim& aim);
    void bestView(Jet& jet, int slot, const View& view, u32 from, u32 to) const;
    bool playable(Jet* round, int* views, Aim& aim);
    bool parseView(const std::string& name, View& view) const;
    core::vector3df positionAt(const Jet& jet, u32 t) const;
    core::vector3df boxCentreAt(const Jet& jet, u32 t);
    bool jetColoured(const video::SColor& c) const;
    video::IImage* loadImage(const char* file) const;

    IrrlichtDevice* device;         // null device: randomizer, mesh loader, image loader
    scene::IMeshSceneNode* jetNode; // a jet node placed like the game's, for its box
};

namespace {
const f32 screenW = 1366.f;
const f32 screenH = 768.f;
const f32 fovY = core::PI / 2.5f;     // the engine's default camera
const f32 jetLength = 22.f;           // the jet mesh's nose-to-tail length
const int jetsInRound = 5;
const int mostSkipped = 200;
const char* const viewNames[3] = {"level", "zenith", "aim"};
const f32 smallestJet = 10.f;         // px: the smallest jet worth looking for
const u32 searchSlack = 2500;         // ms either side of a planned capture
const u32 captureSlack = 400;         // ms of game time a capture may come early (half as much late)
const u32 shortestHit = 600;          // ms: the least time the aimed line may cross the last jet
const f32 farthestHit = 2000.f;       // units: farther, the smoke is too small to count
// The sight's centre and the muzzles, where the guns' own frame puts them.
const s32 centreX = 683, centreY = 384;
const core::vector3df muzzles[2] = {{0.14f, 1.5f, 1.89f}, {-0.14f, 1.5f, 1.89f}};
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

int luminance(const video::SColor& c)
{
    return (c.getRed() * 3 + c.getGreen() * 6 + c.getBlue()) / 10;
}
}

RoundPlanner::RoundPlanner() : device(createQuietDevice()), jetNode(nullptr)
{
}

RoundPlanner::~RoundPlanner()
{
    device->drop();
}

void RoundPlanner::camera(const View& view, core::vector3df& position, core::vector3df& target,
                          core::vector3df& up) const
{
    turretCamera(view.yaw, view.pitch, position, target, up);
}

core::line3df RoundPlanner::shotLine(const View& view) const
{
    core::vector3df position, target, up;
    camera(view, position, target, up);
    // From the camera, towards its target, 4000 long, taken as a point.
    return core::line3df(position, (target - position).normalize() * 4000.f);
}

RoundPlanner::Spot RoundPlanner::project(const View& view, const core::vector3df& point) const
{
    core::vector3df position, target, up;
    camera(view, position, target, up);
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
    // The crosshair's rings round the centre and the guns below it, and the
    // invitation to a round across the centre, which the views taken
    // without jets, before the round, show.
    const f32 dx = x - screenW / 2, dy = y - screenH / 2;
    return dx * dx + dy * dy < 150.f * 150.f || (std::fabs(dx) < 260 && y > 420) ||
           (std::fabs(dx) < 190 && std::fabs(dy) < 30);
}

core::vector3df RoundPlanner::positionAt(const Jet& jet, u32 t) const
{
    return FlightRules::positionAt(jet.path, jet.flightTime, 0, t);
}

core::vector3df RoundPlanner::boxCentreAt(const Jet& jet, u32 t)
{
    const f64 angle = FlightRules::headingAngle(jet.path.start, jet.path.end);
    jetNode->setRotation(core::vector3df(0, static_cast<f32>(-angle), 0));
    jetNode->setPosition(positionAt(jet, t));
    jetNode->updateAbsolutePosition();
    return jetNode->getTransformedBoundingBox().getCenter();
}

bool RoundPlanner::loadJet(const std::string& resDir)
{
    scene::ISceneManager* scene = device->getSceneManager();
    scene::IAnimatedMesh* mesh = scene->getMesh((resDir + "/SU35S.obj").c_str());
    if (!mesh) {
        std::fprintf(stderr, "cannot load %s/SU35S.obj\n", resDir.c_str());
        return false;
    }
    jetNode = scene->addMeshSceneNode(mesh);
    return true;
}

RoundPlanner::Jet RoundPlanner::nextJet()
{
    // The four draws of a take-off, in the game's order.
    IRandomizer* random = device->getRandomizer();
    const f32 heading = random->frand();
    const f32 offset = random->frand();
    const f32 altitude = random->frand();
    const f32 time = random->frand();
    Jet jet{};
    jet.path = FlightRules::pathFromDraws(heading, offset, altitude);
    jet.flightTime = FlightRules::flightTimeFromDraw(time);
    bestView(jet, 0, View{0.f, 0.f}, 0, jet.flightTime);
    bestView(jet, 1, View{0.f, -85.f}, 0, jet.flightTime);
    return jet;
}

RoundPlanner::Jet RoundPlanner::jetNumber(int number)
{
    IRandomizer* random = device->getRandomizer();
    for (int i = 1; i < number; ++i)
        for (int draw = 0; draw < 4; ++draw)
            random->frand();
    return nextJet();
}

bool RoundPlanner::crossing(const Jet& jet, const core::line3df& line, u32 from, u32 to, u32& first, u32& last)
{
    bool crosses = false;
    const f64 angle = FlightRules::headingAngle(jet.path.start, jet.path.end);
    jetNode->setRotation(core::vector3df(0, static_cast<f32>(-angle), 0));
    for (u32 t = from; t < to && t < jet.flightTime; ++t) {
        jetNode->setPosition(positionAt(jet, t));
        jetNode->updateAbsolutePosition();
        if (jetNode->getTransformedBoundingBox().intersectsWithLine(line)) {
            if (!crosses)
                first = t;
            last = t;
            crosses = true;
        }
    }
    return crosses;
}

bool RoundPlanner::bestAim(const Jet& jet, u32 from, u32 to, f32 farthest, Aim& aim)
{
    bool found = false;
    for (u32 t = from; t <= to && t <= jet.flightTime; t += 250) {
        const core::vector3df centre = boxCentreAt(jet, t);
        if (centre.getLength() > farthest)
            continue;
        // Aim at the middle of the jet's box at t, as near as whole pixels
        // go. The camera looks slightly down the guns' axis: search round
        // the guess for the pixel whose line passes nearest the middle.
        const f32 yaw = std::atan2(centre.X, centre.Z) * core::RADTODEG;
        const f32 rise = std::atan2(centre.Y, std::sqrt(centre.X * centre.X + centre.Z * centre.Z)) * core::RADTODEG;
        const int guessX = static_cast<int>(std::lround(yaw / degreesPerPixel));
        const int guessY = -static_cast<int>(std::lround(rise / degreesPerPixel));
        Aim near{0, 0, 0, 0};
        f32 nearest = -1.f;
        for (int dx = -10; dx <= 10; ++dx)
            for (int dy = -40; dy <= 10; ++dy) {
                const Aim candidate{guessX + dx, guessY + dy, 0, 0};
                const View view = candidate.view();
                if (view.pitch < -85.f || view.pitch > 5.f)
                    continue;
                const f32 miss = shotLine(view).getClosestPoint(centre).getDistanceFrom(centre);
                if (nearest < 0.f || miss < nearest) {
                    nearest = miss;
                    near = candidate;
                }
            }
        if (nearest < 0.f)
            continue;
        const u32 around = 3000;
        if (!crossing(jet, shotLine(near.view()), t > around ? t - around : 0, t + around, near.hitFrom, near.hitTo))
            continue;
        if (!found || near.hitTo - near.hitFrom > aim.hitTo - aim.hitFrom) {
            aim = near;
            found = true;
        }
    }
    // The shorter way round.
    const int turn = static_cast<int>(std::lround(360.f / degreesPerPixel));
    aim.dx = ((aim.dx % turn) + turn) % turn;
    if (aim.dx > turn / 2)
        aim.dx -= turn;
    return found;
}

void RoundPlanner::bestView(Jet& jet, int slot, const View& view, u32 from, u32 to) const
{
    // The largest the jet gets on screen while it stands clear of the HUD,
    // the crosshair and the guns, and stays clear for a while either side:
    // a capture comes a little early or late, and a jet that has only just
    // come out from behind the guns would be missed.
    jet.seen[slot] = false;
    for (u32 t = from; t <= to && t <= jet.flightTime; t += 50) {
        const Spot spot = project(view, positionAt(jet, t));
        bool clearAround = t >= captureSlack && t + captureSlack <= jet.flightTime;
        for (u32 u = t - captureSlack; clearAround && u <= t + captureSlack / 2; u += 100)
            clearAround = inClearArea(project(view, positionAt(jet, u)));
        if (clearAround && spot.size >= smallestJet &&
            (!jet.seen[slot] || spot.size > jet.spot[slot].size)) {
            jet.seen[slot] = true;
            jet.seenAt[slot] = t;
            jet.spot[slot] = spot;
        }
    }
}

bool RoundPlanner::playable(Jet* round, int* views, Aim& aim)
{
    // The last jet is hit with the mouse's aim, near enough for its smoke to
    // count, and seen trailing it in that view a few seconds later. The
    // others are each seen level or straight up, in the view the guns are in
    // if it will do. The mouse takes the guns from one view to the next
    // exactly, in a few seconds of real time: between a capture and the next
    // one in another view, or the last jet's hit, there must be time for it.
    Jet& last = round[jetsInRound - 1];
    if (last.flightTime < 15000 || !bestAim(last, 3000, last.flightTime - 10000, farthestHit, aim) ||
        aim.hitTo - aim.hitFrom < shortestHit)
        return false;
    bestView(last, 2, aim.view(), aim.hitTo + 2000, aim.hitTo + 8000);
    if (!last.seen[2])
        return false;
    views[jetsInRound - 1] = 2;
    const u32 switchTime = 10000, aimTime = 15000;   // ms of game time
    for (int i = 0; i < jetsInRound - 1; ++i) {
        const Jet& jet = round[i];
        const int previous = i > 0 ? views[i - 1] : 0;
        if (jet.seen[previous])
            views[i] = previous;
        else if (jet.seen[1 - previous])
            views[i] = 1 - previous;
        else
            return false;
        if (i > 0 && views[i] != previous &&
            FlightRules::spawnInterval + jet.seenAt[views[i]] < round[i - 1].seenAt[previous] + switchTime)
            return false;
    }
    const Jet& before = round[jetsInRound - 2];
    return FlightRules::spawnInterval + aim.hitFrom >= before.seenAt[views[jetsInRound - 2]] + aimTime;
}

int RoundPlanner::plan(const std::string& resDir)
{
    if (!loadJet(resDir))
        return 1;

    // A window of five jets slides along the one sequence until it holds a
    // round the test can play.
    Jet window[jetsInRound];
    for (int i = 0; i < jetsInRound; ++i)
        window[i] = nextJet();
    int skipped = 0, views[jetsInRound] = {};
    Aim aim{};
    while (!playable(window, views, aim)) {
        if (++skipped > mostSkipped) {
            std::fprintf(stderr, "no playable round within %d jets\n", mostSkipped + jetsInRound);
            return 1;
        }
        for (int i = 0; i + 1 < jetsInRound; ++i)
            window[i] = window[i + 1];
        window[jetsInRound - 1] = nextJet();
    }

    std::printf("skip %d\n", skipped);
    std::printf("aim %d %d\n", aim.dx, aim.dy);
    for (int i = 0; i < jetsInRound; ++i) {
        const Jet& jet = window[i];
        const int number = skipped + i + 1;
        const int view = views[i];
        std::printf("jet %d %.0f %.0f %.0f %.0f %.0f %.0f %u\n", number, jet.path.start.X,
                    jet.path.start.Y, jet.path.start.Z, jet.path.end.X, jet.path.end.Y,
                    jet.path.end.Z, jet.flightTime);
        std::printf("see %d %s %u %.0f %.0f %.1f\n", number, viewNames[view], jet.seenAt[view],
                    jet.spot[view].x, jet.spot[view].y, jet.spot[view].size);
        if (i == jetsInRound - 1) {
            // What a hit scores changes along the stretch as the jet nears or leaves.
            const u32 first = static_cast<u32>(positionAt(jet, aim.hitFrom).getLength() + 1000.f);
            const u32 last = static_cast<u32>(positionAt(jet, aim.hitTo).getLength() + 1000.f);
            std::printf("hit %d %u %u %u %u\n", number, aim.hitFrom, aim.hitTo, std::min(first, last),
                        std::max(first, last));
        }
    }
    return 0;
}

int RoundPlanner::aim(const std::string& resDir, int number, u32 from, u32 to)
{
    if (number < 1 || !loadJet(resDir))
        return 1;
    const Jet jet = jetNumber(number);
    Aim best{};
    if (!bestAim(jet, from, to, 4000.f, best)) {
        std::fprintf(stderr, "no aim hits jet %d between %u and %u ms\n", number, from, to);
        return 1;
    }
    const f32 distance = positionAt(jet, (best.hitFrom + best.hitTo) / 2).getLength();
    std::printf("aim %d %d %u %u %u\n", best.dx, best.dy, best.hitFrom, best.hitTo, static_cast<u32>(distance + 1000.f));
    return 0;
}

bool RoundPlanner::parseView(const std::string& name, View& view) const
{
    if (name == viewNames[0]) {
        view = View{0.f, 0.f};
        return true;
    }
    if (name == viewNames[1]) {
        view = View{0.f, -85.f};
        return true;
    }
    int dx = 0, dy = 0;
    if (std::sscanf(name.c_str(), "aim:%d:%d", &dx, &dy) != 2)
        return false;
    view = Aim{dx, dy, 0, 0}.view();
    return true;
}

int RoundPlanner::find(const std::string& resDir, int number, const std::string& viewName,
                       u32 time, const char* captureFile, const char* emptyFile)
{
    View view{};
    if (number < 1 || !parseView(viewName, view) || !loadJet(resDir))
        return 1;
    const Jet jet = jetNumber(number);
    video::IImage* capture = loadImage(captureFile);
    video::IImage* empty = loadImage(emptyFile);
    if (!capture || !empty)
        return 1;

    // Along the track, the moment whose spot holds the most pixels that are
    // jet-coloured in the capture but not in the same view without jets.
    u32 bestTime = time, bestFound = 0, bestEmpty = 0;
    const u32 from = time > searchSlack ? time - searchSlack : 0;
    for (u32 t = from; t <= time + searchSlack && t <= jet.flightTime; t += 25) {
        const Spot spot = project(view, positionAt(jet, t));
        if (!spot.onScreen)
            continue;
        const int radius = std::max(8, static_cast<int>(spot.size * 0.6f));
        u32 found = 0, alreadyThere = 0;
        for (int py = int(spot.y) - radius; py <= int(spot.y) + radius; ++py)
            for (int px = int(spot.x) - radius; px <= int(spot.x) + radius; ++px) {
                if (px < 0 || py < 0 || px >= int(screenW) || py >= int(screenH) ||
                    (px < 340 && py < 110))
                    continue;
                const bool before = jetColoured(empty->getPixel(px, py));
                alreadyThere += before;
                found += !before && jetColoured(capture->getPixel(px, py));
            }
        if (found > bestFound) {
            bestFound = found;
            bestTime = t;
            bestEmpty = alreadyThere;
        }
    }
    capture->drop();
    empty->drop();
    const Spot spot = project(view, positionAt(jet, bestTime));
    std::printf("%u %u %u %.0f %.0f\n", bestTime, bestFound, bestEmpty, spot.x, spot.y);
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

video::IImage* RoundPlanner::loadImage(const char* file) const
{
    video::IImage* image = device->getVideoDriver()->createImageFromFile(file);
    if (!image)
        std::fprintf(stderr, "cannot read %s\n", file);
    else if (image->getDimension() != core::dimension2du(u32(screenW), u32(screenH))) {
        std::fprintf(stderr, "%s is not a %.0fx%.0f capture\n", file, screenW, screenH);
        image->drop();
        image = nullptr;
    }
    return image;
}

int RoundPlanner::smoke(const char* file)
{
    // The whole picture but the HUD text, the crosshair and the guns.
    video::IImage* image = loadImage(file);
    if (!image)
        return 1;
    u32 found = 0;
    for (u32 py = 0; py < u32(screenH); ++py)
        for (u32 px = 0; px < u32(screenW); ++px) {
            const bool hud = px < 340 && py < 110;
            if (!hud && !coveredByTurret(f32(px), f32(py)) && jetColoured(image->getPixel(px, py)))
                ++found;
        }
    image->drop();
    std::printf("%u\n", found);
    return 0;
}

int RoundPlanner::tracers(const char* captureFile, const char* referenceFile)
{
    video::IImage* capture = loadImage(captureFile);
    video::IImage* reference = loadImage(referenceFile);
    if (!capture || !reference)
        return 1;
    // A round leaves its muzzle and runs out beside the line of sight, into
    // the sight's centre. Tracers add light, blue among it; a muzzle flash
    // covers what lies behind it with orange, which takes blue away. Near
    // the muzzles the flash's white heart and near the centre the sight's
    // own marks are left out.
    u32 lit = 0;
    for (const core::vector3df& muzzle : muzzles) {
        const Spot from = project(View{0.f, 0.f}, [&] {
            core::vector3df point = muzzle;
            core::matrix4 guns;
            guns.transformVect(point);
            return point;
        }());
        const f32 length = std::hypot(centreX - from.x, centreY - from.y);
        for (f32 along = 20.f; along < length - 8.f; along += 1.f) {
            const f32 share = along / length;
            const f32 x = from.x + (centreX - from.x) * share, y = from.y + (centreY - from.y) * share;
            for (int across = -3; across <= 3; ++across) {
                const s32 px = static_cast<s32>(std::lround(x)) + across, py = static_cast<s32>(std::lround(y));
                const video::SColor now = capture->getPixel(px, py), before = reference->getPixel(px, py);
                lit += luminance(now) >= luminance(before) + 40 &&
                       static_cast<int>(now.getBlue()) >= static_cast<int>(before.getBlue()) + 25;
            }
        }
    }
    capture->drop();
    reference->drop();
    std::printf("%u\n", lit);
    return 0;
}

int RoundPlanner::hitmarks(const char* captureFile, const char* referenceFile)
{
    video::IImage* capture = loadImage(captureFile);
    video::IImage* reference = loadImage(referenceFile);
    if (!capture || !reference)
        return 1;
    // The hit mark: four white ticks on the diagonals round the sight's
    // centre, each in a dark rim two pixels to either side. On a busy
    // machine the frame may come late in the mark's fade, when its ticks
    // are laid on at about half strength: whitish, not white.
    int diagonals = 0;
    for (int corner = 0; corner < 4; ++corner) {
        const s32 sx = (corner & 1) ? 1 : -1, sy = (corner & 2) ? 1 : -1;
        int ticks = 0;
        for (s32 k = 8; k <= 26; ++k) {
            const s32 x = centreX + sx * k, y = centreY + sy * k;
            const video::SColor tick = capture->getPixel(x, y);
            const int white = std::min(tick.getRed(), std::min(tick.getGreen(), tick.getBlue()));
            const int rim = std::max(luminance(capture->getPixel(x - 2, y)), luminance(capture->getPixel(x + 2, y)));
            ticks += white >= 140 && luminance(tick) >= rim + 50;
        }
        diagonals += ticks >= 4;
    }
    // The fireball: pixels of fire round the centre that the same view
    // without it does not have; not the flash's pure orange, whose red is
    // full, nor the sight's gold.
    u32 fire = 0;
    for (s32 y = centreY - 60; y <= centreY + 60; ++y)
        for (s32 x = centreX - 60; x <= centreX + 60; ++x) {
            if ((x - centreX) * (x - centreX) + (y - centreY) * (y - centreY) > 60 * 60)
                continue;
            auto fiery = [](const video::SColor& c) {
                const int r = c.getRed(), g = c.getGreen(), b = c.getBlue();
                return r >= 110 && r < 250 && r >= g + 45 && r >= b + 70;
            };
            fire += fiery(capture->getPixel(x, y)) && !fiery(reference->getPixel(x, y));
        }
    capture->drop();
    reference->drop();
    std::printf("%d %u\n", diagonals, fire);
    return 0;
}

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    RoundPlanner planner;
    if (mode == "plan" && argc == 3)
        return planner.plan(argv[2]);
    if (mode == "aim" && argc == 6)
        return planner.aim(argv[2], std::atoi(argv[3]), static_cast<u32>(std::strtoul(argv[4], nullptr, 10)),
                           static_cast<u32>(std::strtoul(argv[5], nullptr, 10)));
    if (mode == "find" && argc == 8)
        return planner.find(argv[2], std::atoi(argv[3]), argv[4],
                            static_cast<u32>(std::strtoul(argv[5], nullptr, 10)), argv[6], argv[7]);
    if (mode == "smoke" && argc == 3)
        return planner.smoke(argv[2]);
    if (mode == "tracers" && argc == 4)
        return planner.tracers(argv[2], argv[3]);
    if (mode == "hitmarks" && argc == 4)
        return planner.hitmarks(argv[2], argv[3]);
    std::fprintf(stderr, "usage: round-planner plan RESDIR | aim RESDIR JET FROM TO"
                         " | find RESDIR JET VIEW MS CAPTURE EMPTY | smoke PNG"
                         " | tracers CAPTURE REFERENCE | hitmarks CAPTURE REFERENCE\n");
    return 2;
}

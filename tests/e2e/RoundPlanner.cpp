// The plan for the end-to-end round. The game never sets its random numbers
// to a fixed start value, so its jets always fly the same paths, one after
// another, across rounds and stopped rounds alike. This tool draws those
// paths the way the game does, finds when the guns pointed straight up
// (turret at 0, guns at -85) cross each jet, and where each jet stands on
// screen in the two views the test can hold exactly: level, as the guns
// start, and straight up.
//
// A hit makes smoke, and the smoke draws on the same random numbers, so every
// jet after a hit flies a path nobody can know. The round the test plays must
// therefore end with the jet it hits; the first round does not (its last jet
// never crosses the line of fire), so the test first lets a number of jets
// take off and stops each at once (F9, F10), and plays the round after them.
//
//   round-planner plan RESDIR        prints the plan, one fact per line
//   round-planner find RESDIR JET VIEW MS CAPTURE EMPTY
//                                    looks for the jet along its track about
//                                    MS after its take-off: the moment that
//                                    fits the capture best, and its pixels
//   round-planner smoke PNG          jet-coloured pixels of the whole sky part

#include <irrlicht.h>

#include <FlightRules.h>

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>

using namespace irr;

class RoundPlanner {
public:
    RoundPlanner();
    ~RoundPlanner();

    int plan(const std::string& resDir);
    int find(const std::string& resDir, int number, const std::string& viewName, u32 time,
             const char* capture, const char* empty);
    int smoke(const char* file);

private:
    struct Spot {
        bool onScreen;
        f32 x, y;   // pixels
        f32 size;   // the jet's length on screen, pixels
    };
    struct Jet {
        core::line3df path;
        u32 flightTime;
        bool crosses;       // the straight-up line of fire crosses it
        u32 hitFrom, hitTo; // first and last ms after take-off that it does
        // the planned capture in each view: ms after take-off, or none
        bool seen[2];
        u32 seenAt[2];
        Spot spot[2];
    };

    void camera(f32 pitch, core::vector3df& position, core::vector3df& target,
                core::vector3df& up) const;
    Spot project(int view, const core::vector3df& point) const;
    bool inClearArea(const Spot& spot) const;
    bool coveredByTurret(f32 x, f32 y) const;
    bool loadJet(const std::string& resDir);
    Jet nextJet();
    void findHit(Jet& jet, const core::line3df& shot);
    void bestView(Jet& jet, int view, u32 from, u32 to);
    bool playable(const Jet* round, int& levelJets) const;
    core::vector3df positionAt(const Jet& jet, u32 t) const;
    bool jetColoured(const video::SColor& c) const;
    video::IImage* loadImage(const char* file) const;

    IrrlichtDevice* device;         // null device: randomizer, mesh loader, image loader
    scene::IMeshSceneNode* jetNode; // a jet node placed like the game's, for its box
    core::line3df shot;             // the line of fire straight up
};

namespace {
const f32 screenW = 1366.f;
const f32 screenH = 768.f;
const f32 fovY = core::PI / 2.5f;     // the engine's default camera
const f32 jetLength = 22.f;           // the jet mesh's nose-to-tail length
const int jetsInRound = 5;
const int mostSkipped = 200;
// The views by number: 0 level, 1 straight up.
const char* const viewNames[2] = {"level", "zenith"};
const f32 viewPitch[2] = {0.f, -85.f};
const f32 smallestJet = 10.f;         // px: the smallest jet worth looking for
const u32 searchSlack = 2500;         // ms either side of a planned capture
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

RoundPlanner::RoundPlanner() : device(createQuietDevice()), jetNode(nullptr)
{
    core::vector3df position, target, up;
    camera(viewPitch[1], position, target, up);
    // From the camera, towards its target, 4000 long, taken as a point.
    shot = core::line3df(position, (target - position).normalize() * 4000.f);
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

RoundPlanner::Spot RoundPlanner::project(int view, const core::vector3df& point) const
{
    core::vector3df position, target, up;
    camera(viewPitch[view], position, target, up);
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

core::vector3df RoundPlanner::positionAt(const Jet& jet, u32 t) const
{
    return FlightRules::positionAt(jet.path, jet.flightTime, 0, t);
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
    findHit(jet, shot);
    bestView(jet, 0, 0, jet.flightTime);
    // Straight up, a jet the guns may hit is looked for well before or after
    // it crosses the line of fire, so that taking the picture does not slow
    // the game then.
    if (!jet.crosses)
        bestView(jet, 1, 0, jet.flightTime);
    else {
        bestView(jet, 1, jet.hitTo + 1500, jet.flightTime);
        const Jet after = jet;
        bestView(jet, 1, 0, jet.hitFrom > 3000 ? jet.hitFrom - 3000 : 0);
        if (after.seen[1] && (!jet.seen[1] || after.spot[1].size > jet.spot[1].size))
            jet = after;
    }
    return jet;
}

void RoundPlanner::findHit(Jet& jet, const core::line3df& line)
{
    const f64 angle = FlightRules::headingAngle(jet.path.start, jet.path.end);
    jetNode->setRotation(core::vector3df(0, static_cast<f32>(-angle), 0));
    for (u32 t = 0; t < jet.flightTime; ++t) {
        jetNode->setPosition(positionAt(jet, t));
        jetNode->updateAbsolutePosition();
        if (jetNode->getTransformedBoundingBox().intersectsWithLine(line)) {
            if (!jet.crosses)
                jet.hitFrom = t;
            jet.hitTo = t;
            jet.crosses = true;
        }
    }
}

void RoundPlanner::bestView(Jet& jet, int view, u32 from, u32 to)
{
    // The largest the jet gets on screen while it stands clear of the HUD,
    // the crosshair and the guns.
    jet.seen[view] = false;
    for (u32 t = from; t <= to && t <= jet.flightTime; t += 50) {
        const Spot spot = project(view, positionAt(jet, t));
        if (inClearArea(spot) && spot.size >= smallestJet &&
            (!jet.seen[view] || spot.size > jet.spot[view].size)) {
            jet.seen[view] = true;
            jet.seenAt[view] = t;
            jet.spot[view] = spot;
        }
    }
}

bool RoundPlanner::playable(const Jet* round, int& levelJets) const
{
    // The last jet crosses the line of fire straight up; the others are each
    // seen in one view: the first few level, as the guns start, the rest
    // straight up. The guns go up after the last level capture, and the
    // view straight up is taken without jets once that jet has landed: at
    // least 15 s for that.
    const Jet& last = round[jetsInRound - 1];
    if (!last.crosses || !last.seen[1])
        return false;
    for (levelJets = jetsInRound - 1; levelJets >= 0; --levelJets) {
        bool fits = true;
        for (int i = 0; i < jetsInRound - 1; ++i)
            fits = fits && round[i].seen[i < levelJets ? 0 : 1];
        if (fits && levelJets > 0) {
            const Jet& lastLevel = round[levelJets - 1];
            fits = lastLevel.flightTime - lastLevel.seenAt[0] >= 15000;
        }
        if (fits)
            return true;
    }
    return false;
}

int RoundPlanner::plan(const std::string& resDir)
{
    if (!loadJet(resDir))
        return 1;
    std::printf("shot %.4f %.4f %.4f %.1f %.1f %.1f\n", shot.start.X, shot.start.Y, shot.start.Z,
                shot.end.X, shot.end.Y, shot.end.Z);

    // A window of five jets slides along the one sequence until it holds a
    // round the test can play.
    Jet window[jetsInRound];
    for (int i = 0; i < jetsInRound; ++i)
        window[i] = nextJet();
    int skipped = 0, levelJets = 0;
    while (!playable(window, levelJets)) {
        if (++skipped > mostSkipped) {
            std::fprintf(stderr, "no playable round within %d jets\n", mostSkipped + jetsInRound);
            return 1;
        }
        for (int i = 0; i + 1 < jetsInRound; ++i)
            window[i] = window[i + 1];
        window[jetsInRound - 1] = nextJet();
    }

    std::printf("skip %d\n", skipped);
    for (int i = 0; i < jetsInRound; ++i) {
        const Jet& jet = window[i];
        const int number = skipped + i + 1;
        const int view = i < levelJets ? 0 : 1;
        std::printf("jet %d %.0f %.0f %.0f %.0f %.0f %.0f %u\n", number, jet.path.start.X,
                    jet.path.start.Y, jet.path.start.Z, jet.path.end.X, jet.path.end.Y,
                    jet.path.end.Z, jet.flightTime);
        std::printf("see %d %s %u %.0f %.0f %.1f\n", number, viewNames[view], jet.seenAt[view],
                    jet.spot[view].x, jet.spot[view].y, jet.spot[view].size);
        if (i == jetsInRound - 1) {
            const f32 distance = positionAt(jet, (jet.hitFrom + jet.hitTo) / 2).getLength();
            std::printf("hit %d %u %u %u\n", number, jet.hitFrom, jet.hitTo,
                        static_cast<u32>(distance + 1000.f));
        }
    }
    return 0;
}

int RoundPlanner::find(const std::string& resDir, int number, const std::string& viewName,
                       u32 time, const char* captureFile, const char* emptyFile)
{
    const int view = viewName == viewNames[0] ? 0 : 1;
    if (number < 1 || !loadJet(resDir))
        return 1;
    IRandomizer* random = device->getRandomizer();
    for (int i = 1; i < number; ++i)
        for (int draw = 0; draw < 4; ++draw)
            random->frand();
    const Jet jet = nextJet();
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

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    RoundPlanner planner;
    if (mode == "plan" && argc == 3)
        return planner.plan(argv[2]);
    if (mode == "find" && argc == 8)
        return planner.find(argv[2], std::atoi(argv[3]), argv[4],
                            static_cast<u32>(std::strtoul(argv[5], nullptr, 10)), argv[6], argv[7]);
    if (mode == "smoke" && argc == 3)
        return planner.smoke(argv[2]);
    std::fprintf(stderr, "usage: round-planner plan RESDIR | find RESDIR JET VIEW MS CAPTURE EMPTY"
                         " | smoke PNG\n");
    return 2;
}

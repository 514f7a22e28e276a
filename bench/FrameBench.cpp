#include "FrameBench.h"

#include "Aircraft.h"
#include "Airspace.h"
#include "BackBuffer.h"
#include "EngineContext.h"
#include "FireControl.h"
#include "FireUnit.h"
#include "FlightRules.h"
#include "ResourceTable.h"
#include "TextureLoader.h"
#include "TorvelApp.h"
#include "TrafficPlan.h"
#include "Raid.h"
#include "RaidMode.h"

#include <irrlicht.h>
#include <GL/gl.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iomanip>
#include <iostream>

using namespace irr;

namespace {

using Clock = std::chrono::steady_clock;

// A key pressed, as the player's keyboard hands it to the game.
SEvent keyDown(EKEY_CODE key)
{
    SEvent event;
    std::memset(&event, 0, sizeof event);
    event.EventType = EET_KEY_INPUT_EVENT;
    event.KeyInput.Key = key;
    event.KeyInput.PressedDown = true;
    return event;
}

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double processCpuSeconds()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

bool isSmoking(const scene::ISceneNode* node)
{
    for (const scene::ISceneNode* child : node->getChildren())
        if (child->getType() == scene::ESNT_PARTICLE_SYSTEM)
            return true;
    return false;
}

} // namespace

FrameBench::FrameBench(const Settings& chosen)
    : settings(chosen), app(nullptr), jetsShown(chosen.aircraft), measuredSeconds(0.0), stickFrames(0), clockOverride(0), firingFrames(0),
      jetsInView(0), smokingJets(0), screenWidth(0), screenHeight(0),
      stillWall{0.0, 0.0}, stillCpu{0.0, 0.0}, stillFrames{0, 0}, stillSkipped(0), firing(false), launchTime(0), launchRealTime(0),
      replayWall{0.0, 0.0}, replayCpu{0.0, 0.0}
{
}

FrameBench::~FrameBench()
{
    delete app;
    destroyEngineContext();
}

const char* FrameBench::stepName(Step step)
{
    switch (step) {
    case EVENTS: return "run step (events)";
    case AIRSPACE_UPDATE: return "update (air, turret)";
    case BEGIN_SCENE: return "beginScene";
    case DRAW_ALL: return "drawAll";
    case DRAW_HUD: return "drawHud";
    case FIRE_UNIT_UPDATE: return "FireUnit::update";
    case OVERLAYS: return "overlays, screenshots";
    case END_SCENE: return "endScene + glFinish";
    case OWN_STEPS: return "game's own steps";
    case WHOLE_FRAME: return "whole frame";
    case STEP_COUNT: break;
    }
    return "";
}

bool FrameBench::run()
{
    if (!startGame())
        return false;

    // The jets must be seen from the moment the measured frames begin until
    // the measurement ends at the latest.
    const bool capturing = !settings.captureDir.empty();
    if (settings.raidNumber != 0 && !capturing) {
        measureStillView();
        launchRaid();
        firing = true;
        stickFrames = 0;
        measure();
        measureSteady();
        return true;
    }
    const u32 firstView = settings.headStartMs + settings.warmupMs;
    const u32 lastView = firstView + settings.measureMs;
    TrafficPlan plan(*getDevice()->getRandomizer(), settings.aircraft / TrafficPlan::JETS,
                     {firstView, (firstView + lastView) / 2, lastView}, 2000000);
    if (plan.getJetsInView() < plan.getJets())
        std::cerr << "Only " << plan.getJetsInView() << " of " << plan.getJets()
                  << " jets could be placed in view; measuring with those." << std::endl;
    aimTurret(plan);
    if (!capturing)
        measureStillView();
    // On a stopped clock the jets' animators start at a known time, and
    // every frame after is stepped by hand. Bursts fire from the first frame
    // with the jets on, in measurements only.
    if (capturing)
        getDevice()->getTimer()->stop();
    firing = !capturing;
    stickFrames = 0;
    if (!launchTraffic(plan))
        return false;

    if (capturing) {
        if (!captureStills())
            return false;
    } else {
        measure();
        measureSteady();
    }
    return true;
}

void FrameBench::measureStillView()
{
    // The game at rest before a round: the world, the turret and the HUD,
    // nobody aiming or firing. Its own loop step (paced where the driver
    // refuses vsync) and the bare run step and frame take turns, a second
    // at a time. CPU time counts every thread of the process, the
    // renderer's among them.
    for (u32 second = 0; second < 2 * settings.stillSeconds; ++second) {
        const int paced = second % 2 == 0 ? 1 : 0;
        const Clock::time_point begin = Clock::now();
        const double cpuBefore = processCpuSeconds();
        const u32 skippedBefore = app->getRestingScreen().getFramesSkipped();
        while (Clock::now() - begin < std::chrono::seconds(1)) {
            if (paced) {
                app->step();
            } else {
                getDevice()->run();
                app->frame();
            }
            ++stillFrames[paced];
        }
        stillSkipped += app->getRestingScreen().getFramesSkipped() - skippedBefore;
        stillWall[paced] += millisecondsBetween(begin, Clock::now()) / 1000.0;
        stillCpu[paced] += processCpuSeconds() - cpuBefore;
    }
}

double FrameBench::getStillFramesPerSecond(bool paced) const
{
    return stillWall[paced] > 0.0 ? stillFrames[paced] / stillWall[paced] : 0.0;
}

double FrameBench::getStillCpuPerSecond(bool paced) const
{
    return stillWall[paced] > 0.0 ? stillCpu[paced] / stillWall[paced] : 0.0;
}

void FrameBench::measureSteady()
{
    // Game frames only, one after the other as the game draws them, bursts
    // firing: how far the slow ones stray from the usual one.
    for (u32 i = 0; i < settings.steadyFrames; ++i)
        steadyTimes.add(frame(true, SYNC_AT_END, nullptr, std::string()));
}

bool FrameBench::captureStills()
{
    // The same moment the measurement's pictures show: halfway through it.
    // The smoke's particles are drawn from the engine's randomizer, which
    // launchTraffic set to a fixed start, and they move by the stepped clock
    // alone, so the trails come out the same every time.
    const u32 stepMs = settings.captureStepMs;
    ITimer* timer = getDevice()->getTimer();
    const u32 until = launchTime + settings.warmupMs + settings.measureMs / 2;
    while (timer->getTime() < until) {
        timer->setTime(timer->getTime() + stepMs);
        frame(true, SYNC_AT_END, nullptr, std::string());
    }
    // The clock stands still: the replays draw the very frames captured after them.
    // Ten of one kind, then ten of the other, so that both see the same load.
    for (u32 done = 0; done < settings.stillRepeats;) {
        const u32 count = std::min(10u, settings.stillRepeats - done);
        for (bool game : {true, false}) {
            const Clock::time_point begin = Clock::now();
            const double cpuBefore = processCpuSeconds();
            if (game)
                replayGameStill(count);
            else
                replayBareStill(count);
            replayWall[game] += millisecondsBetween(begin, Clock::now()) / 1000.0;
            replayCpu[game] += processCpuSeconds() - cpuBefore;
        }
        done += count;
    }
    for (bool game : {true, false}) {
        const std::string file = settings.captureDir + (game ? "/capture-game.png" : "/capture-bare.png");
        frame(game, SYNC_AT_END, nullptr, file);
        if (!shotWritten)
            return false;
        captures.push_back(file);
    }
    return true;
}

// Never inlined: a profiler finds each kind of frame under its own name.
__attribute__((noinline)) void FrameBench::replayGameStill(u32 count)
{
    for (u32 i = 0; i < count; ++i)
        frame(true, SYNC_AT_END, nullptr, std::string());
}

__attribute__((noinline)) void FrameBench::replayBareStill(u32 count)
{
    for (u32 i = 0; i < count; ++i)
        frame(false, SYNC_AT_END, nullptr, std::string());
}

bool FrameBench::startGame()
{
    // The files the application loads are read here first, one by one, so
    // that their share of the start shows; the engine keeps them, and the
    // application then finds them loaded. Its own step holds the rest: the
    // terrain built from the height map, the scene, the sounds.
    Clock::time_point mark = Clock::now();
    const auto stepDone = [this, &mark](const std::string& name) {
        const Clock::time_point now = Clock::now();
        startSteps.emplace_back(name, millisecondsBetween(mark, now));
        mark = now;
    };
    IrrlichtDevice* device = getDevice();
    stepDone("engine context (window, OpenGL, sound, HUD font)");
    getSceneManager()->getMesh(ResourceTable::path(Resource::GunsMesh));
    stepDone(ResourceTable::name(Resource::GunsMesh));
    video::IVideoDriver* driver = getVideoDriver();
    TextureLoader::flat(driver, ResourceTable::path(Resource::Crosshair));
    stepDone(ResourceTable::name(Resource::Crosshair));
    for (Resource texture : {Resource::MuzzleFlash, Resource::SkyTop, Resource::SkyBottom, Resource::SkyFront,
                             Resource::SkyRight, Resource::SkyBack, Resource::SkyLeft, Resource::DetailMap}) {
        TextureLoader::mipMapped(driver, ResourceTable::path(texture));
        stepDone(ResourceTable::name(texture));
    }
    app = new TorvelApp();
    stepDone("the rest of TorvelApp (terrain, scene, sounds, jet, smoke)");
    // The game's time is the real time, but for a round set up in the past
    // and, on the stopped clock of a capture, the round's time standing
    // still with it, however slowly the frames come (under a profiler, say).
    app->setClock([this] {
        ITimer* timer = getDevice()->getTimer();
        if (clockOverride != 0)
            return clockOverride;
        if (timer->isStopped() && launchTime != 0)
            return launchRealTime + (timer->getTime() - launchTime);
        return timer->getRealTime();
    });
    app->setHudShown(!settings.withoutHud);
    if (settings.withoutRadar)
        app->setRadarShown(false);
    if (!app->getFireUnit().isReady() || !device->run()) {
        std::cerr << "The game could not start; see the messages above." << std::endl;
        return false;
    }
    frame(true, SYNC_AT_END, nullptr, std::string());
    stepDone("first frame");

    const core::dimension2du size = getVideoDriver()->getScreenSize();
    screenWidth = size.Width;
    screenHeight = size.Height;
    const GLubyte* name = glGetString(GL_RENDERER);
    renderer = name ? reinterpret_cast<const char*>(name) : "unknown";

    if (settings.withoutTurret) {
        scene::SMesh* nothing = new scene::SMesh();
        app->getFireUnit().getGuns()->setMesh(nothing);
        nothing->drop();
    }
    return true;
}

void FrameBench::aimTurret(const TrafficPlan& plan)
{
    // The rotation that turns the guns' forward axis (+Z) onto the aim.
    core::vector3df angles = plan.getAim().getHorizontalAngle();
    if (angles.X > 180.0f)
        angles.X -= 360.0f;
    FireUnit& fireUnit = app->getFireUnit();
    fireUnit.getTurretBase()->setRotation(core::vector3df(0.0f, angles.Y, 0.0f));
    fireUnit.getGuns()->setRotation(core::vector3df(angles.X, 0.0f, 0.0f));
}

void FrameBench::launchRaid()
{
    // The raid's own rules, left alone, find its busiest moment (the most
    // aircraft and bombs in the air) and where they are then.
    Raid rules(settings.raidNumber, 0);
    u32 busiest = 0, most = 0;
    core::vector3df toward(0, 0, 1);
    for (u32 now = 50; !rules.isLost(); now += 50) {
        rules.advance(now);
        rules.takeEvents();
        u32 flying = 0;
        core::vector3df sum;
        for (const Raid::Flying& craft : rules.getCraft())
            if (!craft.gone) {
                ++flying;
                sum += core::vector3df(craft.craft.positionAt(now)).normalize();
            }
        for (const Raid::Falling& bomb : rules.getBombs())
            flying += !bomb.gone;
        if (flying > most && sum.getLength() > 0.1f) {
            most = flying;
            busiest = now;
            toward = sum.normalize();
        }
    }
    core::vector3df angles = toward.getHorizontalAngle();
    if (angles.X > 180.0f)
        angles.X -= 360.0f;
    FireUnit& fireUnit = app->getFireUnit();
    fireUnit.getTurretBase()->setRotation(core::vector3df(0.0f, angles.Y, 0.0f));
    fireUnit.getGuns()->setRotation(core::vector3df(std::max(angles.X, -85.0f), 0.0f, 0.0f));
    raidBusiest = most;
    // F8 as the player would press it, that long ago; the first frame makes
    // up the raid's steps since.
    const u32 lead = settings.warmupMs + settings.measureMs / 2;
    app->setRaidNumber(settings.raidNumber);
    clockOverride = getDevice()->getTimer()->getRealTime() - (busiest > lead ? busiest - lead : 0);
    app->readClock();
    app->OnEvent(keyDown(KEY_F8));
    clockOverride = 0;
}

bool FrameBench::launchTraffic(const TrafficPlan& plan)
{
    IrrlichtDevice* device = getDevice();
    Airspace* airspace = getAirspace();
    ITimer* timer = device->getTimer();

    // A round is run through its five spawns at once by handing the airspace
    // the times at which they fall due; more jets come from further rounds,
    // each started at the last spawn of the one before, its jets still in
    // flight. The last spawn is dated headStartMs back, the others 45 s apart
    // before it, so the last round stays open for the whole measurement.
    const u32 spawnStep = FlightRules::spawnInterval + 1;
    const u32 firstSpawnDelay = spawnStep - FlightRules::startLead;
    const u32 perRound = FlightRules::aircraftPerRound;
    const u32 roundLength = firstSpawnDelay + (perRound - 1) * spawnStep;   // from its start to its last spawn
    const u32 rounds = plan.getJets() / perRound;
    const u32 lastSpawn = timer->getRealTime() - settings.headStartMs;
    startValues = plan.getStartValues();
    for (u32 round = 0; round < rounds; ++round) {
        device->getRandomizer()->reset(plan.getStartValues()[round]);
        // F9 starts each round, as the player would, at the time it began.
        const u32 roundStart = lastSpawn - (rounds - round) * roundLength;
        clockOverride = roundStart;
        app->readClock();
        app->OnEvent(keyDown(KEY_F9));
        clockOverride = 0;
        for (u32 jet = 0; jet < perRound; ++jet) {
            const Clock::time_point before = Clock::now();
            airspace->update(roundStart + firstSpawnDelay + jet * spawnStep);
            if (round == 0 && jet == 0)
                hitches.emplace_back("first jet (jet mesh, fly-by sound)", millisecondsBetween(before, Clock::now()));
        }
    }

    const auto& jets = airspace->getAircraft();
    if (jets.size() != plan.getJets()) {
        std::cerr << "The airspace launched " << jets.size() << " jets instead of " << plan.getJets() << "."
                  << std::endl;
        return false;
    }
    for (u32 jet = 0; jet < plan.getJets(); ++jet) {
        if (!jets[jet]->getNode()) {
            std::cerr << "The jets have no mesh; nothing to measure." << std::endl;
            return false;
        }
        if (jets[jet]->getPath().start.getDistanceFrom(plan.getPaths()[jet].start) > 0.01f
            || jets[jet]->getFlightTime() != plan.getFlightTimes()[jet]) {
            std::cerr << "The airspace drew other paths than planned; the jets may be out of view."
                      << std::endl;
            break;
        }
    }

    // The fly-straight animators start on the engine's own clock, which is
    // moved on by the head start: the jets are already well on their way.
    timer->setTime(timer->getTime() + settings.headStartMs);
    launchTime = timer->getTime();
    launchRealTime = lastSpawn + settings.headStartMs;

    // One frame puts the jets in their places; then a shot through each one
    // sets it smoking, through the airspace's own hit test.
    Clock::time_point before = Clock::now();
    frame(true, SYNC_AT_END, nullptr, std::string());
    hitches.emplace_back("first frame with the jets", millisecondsBetween(before, Clock::now()));
    for (const auto& jet : jets) {
        const core::vector3df centre = jet->getNode()->getTransformedBoundingBox().getCenter();
        before = Clock::now();
        airspace->checkHits(core::line3df(core::vector3df(0.0f, 0.0f, 0.0f), centre * 1.5f));
        if (&jet == &jets.front())
            hitches.emplace_back("first hit (smoke textures)", millisecondsBetween(before, Clock::now()));
    }
    // The first frame that draws smoke; on a stopped clock no puff is out yet.
    if (timer->isStopped())
        timer->setTime(timer->getTime() + 16);
    before = Clock::now();
    frame(true, SYNC_AT_END, nullptr, std::string());
    hitches.emplace_back("first frame with smoke", millisecondsBetween(before, Clock::now()));
    for (const auto& jet : jets)
        smokingJets += isSmoking(jet->getNode()) ? 1 : 0;
    return true;
}

void FrameBench::measure()
{
    const Clock::time_point warmupEnd = Clock::now() + std::chrono::milliseconds(settings.warmupMs);
    for (u32 i = 0; Clock::now() < warmupEnd; ++i)
        frame(i % 2 == 0, SYNC_AT_END, nullptr, std::string());

    // The kinds of frame take turns: the game and the bare world (and, with
    // more than five jets, the game with only five of them shown), each
    // timed both ways. All thus see the same scenes and the same load from
    // whatever else runs on the machine.
    const u32 perRound = FlightRules::aircraftPerRound;
    const u32 kinds = settings.aircraft > perRound ? 3 : 2;
    const Clock::time_point begin = Clock::now();
    const Clock::time_point limit = begin + std::chrono::milliseconds(settings.measureMs);
    const Clock::time_point halfway = begin + std::chrono::milliseconds(settings.measureMs / 2);
    bool shotsTaken = settings.shotDir.empty();
    for (u32 i = 0; i < settings.frames && Clock::now() < limit; ++i) {
        const u32 kind = i % kinds;
        const bool game = kind != 1;
        const Sync sync = (i / kinds) % 2 == 0 ? SYNC_AT_END : SYNC_EACH_STEP;
        const bool fired = kind == 0 && app->getFireUnit().getBurstRounds() > 0;
        jetsShown = kind == 2 ? perRound : settings.aircraft;
        frame(game, sync, kind == 0 ? gameTimes[sync] : kind == 1 ? bareTimes[sync] : fiveJetTimes[sync], std::string());
        jetsShown = settings.aircraft;
        if (kind == 0) {
            firingFrames += fired ? 1 : 0;
            jetsInView += countJetsInView();
        }
        // Pictures halfway through, with the jets where they are measured.
        if (!shotsTaken && Clock::now() >= halfway) {
            frame(true, SYNC_AT_END, nullptr, settings.shotDir + "/bench-game.png");
            frame(false, SYNC_AT_END, nullptr, settings.shotDir + "/bench-bare.png");
            shotsTaken = true;
        }
    }
    measuredSeconds = millisecondsBetween(begin, Clock::now()) / 1000.0;
}

void FrameBench::showGameObjects(bool shown)
{
    // Hidden nodes are neither animated nor drawn; the jets' animators go by
    // the clock, so the jets are where they should be when shown again. The
    // camera rides on the guns, so the turret stays in the game's frames even
    // when it is left out: its guns then have no mesh (see startGame) and the
    // flashes are hidden before each frame is drawn.
    FireUnit& fireUnit = app->getFireUnit();
    fireUnit.getTurretBase()->setVisible(shown);
    if (settings.withoutTurret) {
        fireUnit.getLeftFlash()->setVisible(false);
        fireUnit.getRightFlash()->setVisible(false);
    }
    if (const RaidMode* raid = app->getRaidMode())
        raid->getScene().setShown(shown && !settings.withoutJets);
    const auto& jets = getAirspace()->getAircraft();
    for (std::size_t i = 0; i < jets.size(); ++i) {
        scene::ISceneNode* node = jets[i]->getNode();
        if (!node)
            continue;
        node->setVisible(shown && !settings.withoutJets && i < jetsShown);
        for (scene::ISceneNode* child : node->getChildren())
            if (child->getType() == scene::ESNT_PARTICLE_SYSTEM)
                child->setVisible(!settings.withoutSmoke);
    }
}

double FrameBench::getJetsInViewPerFrame() const
{
    const std::size_t frames = gameTimes[SYNC_AT_END][WHOLE_FRAME].count() + gameTimes[SYNC_EACH_STEP][WHOLE_FRAME].count();
    return frames ? static_cast<double>(jetsInView) / static_cast<double>(frames) : 0.0;
}

double FrameBench::getFiringShare() const
{
    const std::size_t frames = gameTimes[SYNC_AT_END][WHOLE_FRAME].count() + gameTimes[SYNC_EACH_STEP][WHOLE_FRAME].count();
    return frames ? static_cast<double>(firingFrames) / static_cast<double>(frames) : 0.0;
}

u32 FrameBench::countJetsInView() const
{
    // The jet's centre projected with the camera of the frame just drawn;
    // points behind the camera come back far off the screen.
    scene::ISceneCollisionManager* collision = getSceneManager()->getSceneCollisionManager();
    u32 seen = 0;
    const RaidMode* raid = app->getRaidMode();
    if (raid && raid->getRaid())
        for (std::size_t i = 0; i < raid->getRaid()->getCraft().size(); ++i)
            if (const scene::ISceneNode* node = raid->getScene().getCraftNode(i)) {
                const core::position2di spot = collision->getScreenCoordinatesFrom3DPosition(node->getAbsolutePosition());
                seen += (spot.X >= 0 && spot.Y >= 0 && spot.X < static_cast<s32>(screenWidth)
                         && spot.Y < static_cast<s32>(screenHeight)) ? 1 : 0;
            }
    for (const auto& jet : getAirspace()->getAircraft()) {
        const core::position2di spot = collision->getScreenCoordinatesFrom3DPosition(
            jet->getNode()->getTransformedBoundingBox().getCenter());
        seen += (spot.X >= 0 && spot.Y >= 0 && spot.X < static_cast<s32>(screenWidth)
                 && spot.Y < static_cast<s32>(screenHeight)) ? 1 : 0;
    }
    return seen;
}

double FrameBench::frame(bool game, Sync sync, SampleStats* stats, const std::string& shotFile)
{
    IrrlichtDevice* device = getDevice();
    video::IVideoDriver* driver = getVideoDriver();
    const bool eachStep = sync == SYNC_EACH_STEP;
    // The start of each step and the end of the last, in the order of Step.
    Clock::time_point t[END_SCENE + 2];
    showGameObjects(game);

    t[EVENTS] = Clock::now();
    if (game)
        app->readClock();
    device->run();
    if (game)
        postStick();
    t[AIRSPACE_UPDATE] = Clock::now();
    if (game) {
        // The game's own frame, timed as each of its phases ends.
        app->watchPhases([&](FramePhase phase) {
            switch (phase) {
            case FramePhase::UPDATE:
                // Left out, the flashes stay hidden whatever the burst does.
                showGameObjects(true);
                t[BEGIN_SCENE] = Clock::now();
                return;
            case FramePhase::BEGIN_SCENE: t[DRAW_ALL] = Clock::now(); return;
            case FramePhase::DRAW_ALL:
            case FramePhase::DRAW_HUD:
            case FramePhase::FIRE_UNIT_UPDATE:
                if (eachStep)
                    glFinish();
                t[phase == FramePhase::DRAW_ALL ? DRAW_HUD : phase == FramePhase::DRAW_HUD ? FIRE_UNIT_UPDATE : OVERLAYS]
                    = Clock::now();
                return;
            case FramePhase::OVERLAYS:
                if (!shotFile.empty())
                    shotWritten = writeBackBuffer(shotFile);
                t[END_SCENE] = Clock::now();
                return;
            case FramePhase::END_SCENE: return;
            }
        });
        app->frame();
        app->watchPhases(nullptr);
    } else {
        // The bare world: the scene graph alone, from the same camera.
        t[BEGIN_SCENE] = Clock::now();
        driver->beginScene(true, true, video::SColor(0xFF808080), video::SExposedVideoData(), nullptr);
        t[DRAW_ALL] = Clock::now();
        getSceneManager()->drawAll();
        if (eachStep)
            glFinish();
        t[DRAW_HUD] = t[FIRE_UNIT_UPDATE] = t[OVERLAYS] = Clock::now();
        if (!shotFile.empty())
            shotWritten = writeBackBuffer(shotFile);
        t[END_SCENE] = Clock::now();
        driver->endScene();
    }
    glFinish();
    t[END_SCENE + 1] = Clock::now();

    const double whole = millisecondsBetween(t[EVENTS], t[END_SCENE + 1]);
    if (!stats)
        return whole;
    for (int step = EVENTS; step <= END_SCENE; ++step) {
        if (game || step == EVENTS || step == BEGIN_SCENE || step == DRAW_ALL || step == END_SCENE)
            stats[step].add(millisecondsBetween(t[step], t[step + 1]));
    }
    if (game)
        stats[OWN_STEPS].add(millisecondsBetween(t[AIRSPACE_UPDATE], t[BEGIN_SCENE])
                             + millisecondsBetween(t[DRAW_HUD], t[END_SCENE]));
    stats[WHOLE_FRAME].add(whole);
    return whole;
}

void FrameBench::postStick()
{
    // One joystick event per frame, as a polled stick gives: the axes at
    // rest, the trigger pressed anew as soon as a burst has ended (let go
    // every other event, so each press is a new one). Bursts last their 16
    // steps of game time however fast the frames come. A reload would
    // outlast the frames measured (15 s against 10), leaving most of them
    // without a burst, so an empty magazine is replaced at once, as F9
    // does.
    FireUnit& fireUnit = app->getFireUnit();
    if (firing && fireUnit.getBurstsLeft() == 0 && fireUnit.getBurstRounds() == 0)
        fireUnit.freshMagazine();
    const bool trigger = firing && fireUnit.getBurstRounds() == 0 && stickFrames % 2 == 0;

    SEvent event;
    std::memset(&event, 0, sizeof event);
    event.EventType = EET_JOYSTICK_INPUT_EVENT;
    event.JoystickEvent.POV = 65535;
    event.JoystickEvent.ButtonStates = trigger ? 1u : 0u;
    getDevice()->postEventFromUser(event);
    ++stickFrames;

}

bool FrameBench::writeBackBuffer(const std::string& file)
{
    video::IVideoDriver* driver = getVideoDriver();
    video::IImage* image = BackBuffer::capture(driver);
    if (!image)
        return false;
    const bool written = driver->writeImageToFile(image, file.c_str(), 0);
    if (!written)
        std::cerr << "Could not write " << file << "." << std::endl;
    image->drop();
    return written;
}

void FrameBench::report(std::ostream& out) const
{
    const auto line = [&out](const char* name, const SampleStats& stats) {
        out << "  " << std::left << std::setw(24) << name << std::right << std::fixed
            << std::setprecision(3) << std::setw(8) << stats.median() << std::setw(9) << stats.p95();
    };
    const auto table = [&](const char* title, const SampleStats (&stats)[SYNC_COUNT][STEP_COUNT]) {
        const double median = stats[SYNC_AT_END][WHOLE_FRAME].median();
        out << title << ": " << stats[SYNC_AT_END][WHOLE_FRAME].count() + stats[SYNC_EACH_STEP][WHOLE_FRAME].count()
            << " frames (" << std::setprecision(1) << (median > 0 ? 1000.0 / median : 0.0)
            << " frames/s at the median whole frame)\n";
        out << "  " << std::left << std::setw(24) << "ms per frame" << std::right
            << std::setw(8) << "median" << std::setw(9) << "p95"
            << "   |" << std::setw(8) << "median" << std::setw(9) << "p95" << "\n";
        out << "  " << std::left << std::setw(24) << "" << std::right
            << std::setw(17) << "glFinish at end" << "   |" << std::setw(17) << "after each step" << "\n";
        for (int step = EVENTS; step < STEP_COUNT; ++step) {
            if (stats[SYNC_AT_END][step].count() == 0)
                continue;
            line(stepName(static_cast<Step>(step)), stats[SYNC_AT_END][step]);
            out << "   |" << std::setw(8) << stats[SYNC_EACH_STEP][step].median() << std::setw(9)
                << stats[SYNC_EACH_STEP][step].p95() << "\n";
        }
    };

    out << std::fixed;
    out << "Torvel frame benchmark: " << screenWidth << " x " << screenHeight << ", " << renderer
        << "; vsync off, nothing sleeps\n";
    out << "Timing: steady clock around each phase of the game's own frame (TorvelApp::frame).\n"
        << "  Left columns: glFinish only after endScene, so the renderer overlaps the frame as in\n"
        << "  the game; a step's time is then its CPU time, its rendering falls into endScene.\n"
        << "  Right columns: frames that also glFinish after drawAll, drawHud and FireUnit::update,\n"
        << "  so each of those holds its own rendering.\n"
        << "  Game and bare-world frames, timed either way, take turns: " << std::setprecision(1)
        << measuredSeconds << " s of frames after " << settings.warmupMs << " ms of warm-up.\n";
    if (settings.raidNumber != 0)
        out << "Game: the real TorvelApp in raid " << settings.raidNumber << ", about its busiest moment ("
            << raidBusiest << " aircraft and bombs in the air by its rules), " << std::setprecision(1)
            << getJetsInViewPerFrame()
            << " raid aircraft on screen per frame on average;\n  bursts firing in " << std::setprecision(0)
            << 100.0 * getFiringShare() << "% of the frames; crosshair drawn";
    else {
        out << "Game: the real TorvelApp, FireUnit and Airspace; " << settings.aircraft
            << " jets in flight (randomizer start value" << (startValues.size() > 1 ? "s" : "");
        for (std::size_t i = 0; i < startValues.size(); ++i)
            out << (i == 0 ? " " : ", ") << startValues[i];
        out << "), " << smokingJets << " smoking, " << std::setprecision(1) << getJetsInViewPerFrame()
            << " on screen per frame on average;\n  bursts firing in " << std::setprecision(0)
            << 100.0 * getFiringShare() << "% of the frames; crosshair drawn";
    }
    if (settings.withoutHud)
        out << "; no HUD";
    else if (settings.withoutRadar)
        out << "; no radar";
    if (settings.withoutTurret)
        out << "; turret not drawn (the camera still rides on its guns)";
    if (settings.withoutJets)
        out << "; jets and smoke hidden";
    else if (settings.withoutSmoke)
        out << "; smoke hidden";
    out << ".\n";
    out << "Bare world: sky box, terrain, fog and light from the same aim; turret, jets and smoke\n"
        << "  hidden, no HUD or crosshair, and no Airspace::update.\n\n";
    table("Game", gameTimes);
    out << "\n";
    if (settings.aircraft > FlightRules::aircraftPerRound) {
        table("Game, only the first five jets shown", fiveJetTimes);
        out << "\n";
    }
    table("Bare world", bareTimes);

    const double game = gameTimes[SYNC_AT_END][WHOLE_FRAME].median();
    const double bare = bareTimes[SYNC_AT_END][WHOLE_FRAME].median();
    const double own = gameTimes[SYNC_AT_END][OWN_STEPS].median();
    const double ratio = bare > 0 ? game / bare : 0.0;
    const auto verdict = [](bool met) { return met ? "met" : "MISSED"; };
    const double steadyMedian = steadyTimes.median();
    const double p99 = steadyTimes.percentile(0.99);
    out << "\n" << steadyTimes.count() << " game frames back to back: median " << std::setprecision(3)
        << steadyMedian << " ms, 99th percentile " << p99 << " ms, slowest " << steadyTimes.percentile(1.0)
        << " ms\n";
    out << "Game at rest (no jets, nobody aiming), " << settings.stillSeconds << " s each way, taking turns:\n"
        << std::setprecision(1)
        << "  its own loop step" << (isVsyncRefused() ? " (vsync refused: paced)" : "") << ": "
        << getStillFramesPerSecond(true) << " passes/s, "
        << (stillWall[1] > 0.0 ? (stillFrames[1] - stillSkipped) / stillWall[1] : 0.0) << " of them drawn, "
        << std::setprecision(2) << getStillCpuPerSecond(true) << " s of CPU per second\n"
        << std::setprecision(1) << "  run step and frame, nothing else: " << getStillFramesPerSecond(false)
        << " frames/s, " << std::setprecision(2) << getStillCpuPerSecond(false) << " s of CPU per second\n";

    const double stillCpuRatio = getStillCpuPerSecond(false) > 0 ? getStillCpuPerSecond(true) / getStillCpuPerSecond(false) : 0.0;
    out << "\nTargets (medians, glFinish at end):\n" << std::setprecision(3)
        << "  whole frame " << game << " ms <= 16.7 ms: " << verdict(game <= 16.7) << "\n"
        << "  game's own steps " << own << " ms <= 0.3 ms: " << verdict(own <= 0.3) << "\n"
        << "  game / bare world " << std::setprecision(2) << ratio << " (no target: the smoke is drawn as it is)\n";
    const double five = fiveJetTimes[SYNC_AT_END][WHOLE_FRAME].median();
    if (five > 0.0)
        out << "  " << settings.aircraft << " jets / the first five of them alone (same aim, taking turns) "
            << game / five << " <= 1: " << verdict(game <= five) << "\n";
    out << std::setprecision(3)
        << "  99th percentile / median of the frames back to back "
        << (steadyMedian > 0 ? p99 / steadyMedian : 0.0) << " <= 1.5: " << verdict(p99 <= 1.5 * steadyMedian) << "\n"
        << "  at rest, CPU of the loop " << std::setprecision(2) << getStillCpuPerSecond(true)
        << " s a second <= 0.2: " << verdict(getStillCpuPerSecond(true) <= 0.2) << "; passes/s "
        << std::setprecision(1) << getStillFramesPerSecond(true) << " <= 61: "
        << verdict(getStillFramesPerSecond(true) <= 61.0) << "; CPU against the loop unpaced "
        << std::setprecision(2) << stillCpuRatio << "\n";
    out << "\nStart-up inside this process, step by step (ms):\n" << std::setprecision(0);
    double total = 0.0;
    for (const auto& step : startSteps) {
        out << "  " << std::left << std::setw(50) << step.first << std::right << std::setw(6) << step.second << "\n";
        total += step.second;
    }
    out << "  " << std::left << std::setw(50) << "total" << std::right << std::setw(6) << total << "\n";
    out << "Loads and first frames during play (ms), against the median frame back to back, "
        << std::setprecision(1) << steadyMedian << " ms:\n" << std::setprecision(0);
    for (const auto& hitch : hitches)
        out << "  " << std::left << std::setw(50) << hitch.first << std::right << std::setw(6) << hitch.second << "\n";
}

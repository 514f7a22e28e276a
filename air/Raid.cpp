#include "Raid.h"

#include "FixedStep.h"

#include <algorithm>
#include <cmath>

using namespace irr;

Raid::Raid(u32 number, u32 now)
    : startValue(number), draws(number), lastTime(now), owed(0), wave(0), line(RaidWaves::wave(1)), flyFrom(now),
      lastSent(now),
      sentAny(false), damagedThisWave(false), escapedThisWave(false), lost(false)
{
    announce(1, now);
}

void Raid::announce(u32 number, u32 now)
{
    wave = number;
    line = RaidWaves::wave(number);
    // The order the wave's kinds come in is drawn now, before any path.
    toCome.assign(line.fighters, RaidCraft::Fighter);
    toCome.insert(toCome.end(), line.bombers, RaidCraft::Bomber);
    toCome.insert(toCome.end(), line.attackers, RaidCraft::Attacker);
    for (u32 i = static_cast<u32>(toCome.size()); i > 1; --i)
        std::swap(toCome[i - 1], toCome[draws.below(i)]);
    flyFrom = now + waveGap;
    sentAny = false;
    damagedThisWave = false;
    escapedThisWave = false;
    emit(Event::WaveAnnounced, now);
}

void Raid::advance(u32 now)
{
    // Counted exactly in sixtieths of a millisecond: a step is 1000 of them.
    owed += (now - lastTime) * FixedStep::STEPS_PER_SECOND;
    lastTime = now;
    while (owed >= 1000 && !lost) {
        owed -= 1000;
        step(now - owed / FixedStep::STEPS_PER_SECOND);
    }
}

void Raid::step(u32 now)
{
    for (u32 i = 0; i < craft.size(); ++i) {
        Flying& flying = craft[i];
        if (flying.gone)
            continue;
        if (flying.craft.isDown()) {
            if (now - flying.downTime >= fallTime) {
                flying.gone = true;
                emit(Event::CraftLeft, now, i);
            }
            continue;
        }
        attack(flying, i, now);
        if (lost)
            return;
        if (flying.craft.hasLeft(now)) {
            flying.gone = true;
            escapedThisWave = true;
            emit(Event::CraftLeft, now, i);
        }
    }
    for (u32 i = 0; i < bombs.size(); ++i) {
        Falling& falling = bombs[i];
        if (falling.gone || !falling.bomb.hasLanded(now))
            continue;
        falling.gone = true;
        const u32 harm = falling.bomb.damage();
        emit(Event::BombBurst, now, i, harm, falling.bomb.landingPoint());
        if (harm > 0) {
            strike(harm, now);
            if (lost)
                return;
        }
    }

    if (isAnnouncing(now))
        return;
    if (waveOver()) {
        const bool clean = !damagedThisWave && !escapedThisWave;
        score.waveCleared(wave, clean);
        emit(Event::WaveCleared, now, 0, clean ? 1000 * wave : 0);
        armour.repair();
        announce(wave + 1, now);
        return;
    }
    send(now);
}

void Raid::send(u32 now)
{
    if (toCome.empty() || (sentAny && now - lastSent < spawnGap))
        return;
    const u32 inAir = static_cast<u32>(std::count_if(craft.begin(), craft.end(),
                                                     [](const Flying& f) { return !f.gone; }));
    if (inAir >= line.atOnce)
        return;
    const RaidCraft::Kind kind = toCome.back();
    toCome.pop_back();
    RaidCraft::Draws path;
    path.heading = draws.next();
    path.offset = draws.next();
    path.altitude = draws.next();
    path.speed = draws.next();
    craft.push_back(Flying{RaidCraft(kind, line, path, now), false, 0, now, false, 0});
    lastSent = now;
    sentAny = true;
    emit(Event::CraftEntered, now, static_cast<u32>(craft.size() - 1), 0, craft.back().craft.positionAt(now));
}

void Raid::attack(Flying& flying, u32 index, u32 now)
{
    const RaidCraft& plane = flying.craft;
    const std::vector<u32>& releases = plane.getBombTimes();
    while (flying.bombsDropped < releases.size() &&
           static_cast<s32>(now - releases[flying.bombsDropped]) >= 0) {
        const core::vector3df velocity = plane.getDirection() * plane.getSpeed();
        bombs.push_back(Falling{RaidBomb(plane.positionAt(now) - core::vector3df(0.0f, 2.0f, 0.0f), velocity, now,
                                         RaidCraft::bombGravity, plane.getAttackStrength()),
                                false});
        ++flying.bombsDropped;
        emit(Event::BombDropped, now, static_cast<u32>(bombs.size() - 1), 0, bombs.back().bomb.positionAt(now));
    }
    if (plane.isFiring(now) && now - flying.lastCannon >= RaidCraft::cannonInterval) {
        flying.lastCannon = now;
        // The rounds fall about the gun in a small pattern of their own,
        // fixed rather than drawn, so that shooting does not change the raid.
        const f32 turn = static_cast<f32>(now % 997) * 0.0063f;
        const core::vector3df aim(std::cos(turn) * 6.0f, 1.5f, std::sin(turn) * 6.0f);
        emit(Event::CannonFired, now, index, 0, plane.positionAt(now), aim);
    }
    if (plane.getRunEnd() != 0 && !flying.runDone && static_cast<s32>(now - plane.getRunEnd()) >= 0) {
        flying.runDone = true;
        strike(static_cast<u32>(std::lround(RaidCraft::runDamage * plane.getAttackStrength())), now);
    }
}

void Raid::strike(u32 amount, u32 now)
{
    armour.damage(amount);
    damagedThisWave = true;
    emit(Event::GunHit, now, 0, amount);
    if (armour.isLost()) {
        lost = true;
        emit(Event::PositionLost, now);
    }
}

bool Raid::waveOver() const
{
    if (!toCome.empty())
        return false;
    for (const Flying& flying : craft)
        if (!flying.gone && !flying.craft.isDown())
            return false;
    for (const Falling& falling : bombs)
        if (!falling.gone)
            return false;
    return true;
}

bool Raid::shoot(const core::line3df& shot, u32 now)
{
    if (lost)
        return false;
    bool anyHit = false;
    for (u32 i = 0; i < craft.size(); ++i) {
        Flying& flying = craft[i];
        if (flying.gone || flying.craft.isDown() || !flying.craft.isCrossedBy(shot, now))
            continue;
        anyHit = true;
        if (!flying.craft.takeHit(now))
            continue;
        const core::vector3df where = flying.craft.positionAt(now);
        if (flying.craft.isDown()) {
            flying.downTime = now;
            ++downed[flying.craft.getKind()];
            emit(Event::CraftDowned, now, i, score.downed(where), where);
        } else {
            emit(Event::CraftHit, now, i, flying.craft.getHits(), where);
        }
    }
    for (u32 i = 0; i < bombs.size(); ++i) {
        Falling& falling = bombs[i];
        if (falling.gone || !falling.bomb.isCrossedBy(shot, now))
            continue;
        anyHit = true;
        falling.gone = true;
        score.bombShot();
        emit(Event::BombShot, now, i, RaidBomb::points, falling.bomb.positionAt(now));
    }
    return anyHit;
}

u32 Raid::getAircraftLeft() const
{
    u32 left = static_cast<u32>(toCome.size());
    for (const Flying& flying : craft)
        if (!flying.gone && !flying.craft.isDown())
            ++left;
    return left;
}

std::vector<Raid::Event> Raid::takeEvents()
{
    std::vector<Event> taken;
    taken.swap(events);
    return taken;
}

void Raid::emit(Event::Type type, u32 now, u32 index, u32 amount, const core::vector3df& position,
                const core::vector3df& target)
{
    events.push_back(Event{type, now, wave, index, position, target, amount});
}

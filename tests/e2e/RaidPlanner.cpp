// Plans views of a raid for the scripts that drive the game: the raid's
// rules run here as in the game, left alone (nothing is shot), so a raid
// number gives the same moments there.
//
//   raid-planner view NUMBER bombs|cannon
//       "view DX DY AT": the mouse's way from level (0.05 degrees a pixel,
//       right and down positive) to a view of the first bomber's stick
//       falling, or of the first attacker firing late in its run, and the moment to look,
//       in ms of game time after F8.
//   raid-planner lost NUMBER
//       "lost AT WAVES": when the gun position is lost, left alone, and the
//       waves survived.

#include "Raid.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace irr;

namespace {

constexpr f32 degreesPerPixel = 0.05f;
constexpr f32 eyeHeight = 1.75f;

void printView(const core::vector3df& target, u32 at)
{
    const core::vector3df eye(0.0f, eyeHeight, 0.0f);
    const core::vector3df way = target - eye;
    const f32 yaw = std::atan2(way.X, way.Z) * core::RADTODEG;
    const f32 rise = std::atan2(way.Y, std::sqrt(way.X * way.X + way.Z * way.Z)) * core::RADTODEG;
    std::printf("view %ld %ld %u\n", std::lround(yaw / degreesPerPixel), -std::lround(rise / degreesPerPixel), at);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: raid-planner view NUMBER bombs|cannon | lost NUMBER\n");
        return 2;
    }
    const bool lost = std::strcmp(argv[1], "lost") == 0;
    const bool bombs = !lost && argc > 3 && std::strcmp(argv[3], "bombs") == 0;
    const u32 start = 1000;
    u32 now = start;
    Raid raid(static_cast<u32>(std::strtoul(argv[2], nullptr, 10)), now);
    s64 lookAt = -1;
    u32 watched = 0;
    while (!raid.isLost() && now - start < 3600000) {
        now += 16;
        raid.advance(now);
        for (const Raid::Event& event : raid.takeEvents()) {
            if (lost || lookAt >= 0)
                continue;
            if (bombs && event.type == Raid::Event::BombDropped) {
                lookAt = event.time + 1200;
                watched = event.index;
            }
            if (!bombs && event.type == Raid::Event::CannonFired) {
                // Late in the run, the attacker near and its tracers on the way.
                lookAt = event.time + 3000;
                watched = event.index;
            }
        }
        if (!lost && lookAt >= 0 && static_cast<s64>(now) >= lookAt) {
            core::vector3df target;
            if (bombs) {
                // Between the bomb and the bomber above it, so that both show.
                const core::vector3df bomb = raid.getBombs()[watched].bomb.positionAt(now);
                target = bomb;
                for (const Raid::Flying& flying : raid.getCraft())
                    if (!flying.gone && flying.craft.getKind() == RaidCraft::Bomber)
                        target = (bomb + flying.craft.positionAt(now)) * 0.5f;
            } else {
                target = raid.getCraft()[watched].craft.positionAt(now);
            }
            printView(target, now - start);
            return 0;
        }
    }
    if (lost && raid.isLost()) {
        std::printf("lost %u %u\n", now - start, raid.getWavesSurvived());
        return 0;
    }
    std::fprintf(stderr, "nothing to plan\n");
    return 1;
}

#pragma once

#include <irrTypes.h>

// The fireball of a hit, shown at the jet on the hit that starts its smoke:
// it blooms fast to its full size, burns bright for a moment and fades, gone
// after half a second. Times are game-clock milliseconds, ages taken in
// wrapping arithmetic.
class Fireball {
public:
    static constexpr irr::u32 lifetime = 500;       // ms
    static constexpr irr::u32 brightTime = 150;     // ms at full strength before it fades
    static constexpr irr::f32 fullSize = 80.0f;     // units across: a jet is 22 long, its smoke puffs 80 to 120
    static constexpr irr::f32 startShare = 0.4f;    // of the full size at the moment of the hit

    struct Look {
        irr::f32 size;   // units across
        irr::f32 alpha;  // 0 to 1
    };

    // How a fireball born at bornAt looks at now; false once it is gone.
    static bool lookAt(irr::u32 bornAt, irr::u32 now, Look& look);
};

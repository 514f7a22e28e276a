#pragma once

#include <irrTypes.h>

// The brief mark round the sight that tells the player a round has just hit
// a jet: four short ticks on the diagonals, between the sight's centre cross
// and its inner ring, that spread a little and fade. A new hit starts it
// afresh. Times are game-clock milliseconds.
class HitMarker {
public:
    static constexpr irr::u32 showTime = 400;      // ms
    static constexpr irr::u32 holdTime = 150;      // ms at full strength before it fades
    static constexpr irr::f32 startSpread = 14.0f; // pixels from the centre to each tick's inner end
    static constexpr irr::f32 endSpread = 22.0f;
    static constexpr irr::f32 tickLength = 12.0f;  // pixels

    struct Look {
        irr::f32 spread;  // pixels from the centre to each tick's inner end
        irr::f32 alpha;   // 0 to 1
    };

    HitMarker();

    // A round hit a jet that was still flying clean.
    void hit(irr::u32 now);
    // How the marker looks at now; false when it is not shown.
    bool lookAt(irr::u32 now, Look& look) const;

private:
    bool shown;        // a hit has been marked
    irr::u32 hitTime;  // game time of the latest hit
};

#pragma once

// The phases of one frame of the game, in the order the frame runs them.
// A watcher told when each has ended (the benchmark, timing them) sees the
// game's own frame as it runs.
enum class FramePhase {
    UPDATE,            // the airspace, the turret's steps, the hit effects
    BEGIN_SCENE,
    DRAW_ALL,          // the scene graph, animated and drawn
    DRAW_HUD,          // the listener turned, the axis marks and the HUD text
    FIRE_UNIT_UPDATE,  // the sight, the hit mark, the end of a reload
    OVERLAYS,          // between rounds, the pause notice, screenshots
    END_SCENE,
};

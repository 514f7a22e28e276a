#pragma once

#include <SColor.h>

// The look the boxes at the centre share (the round's panel and invitation,
// the raid's panel, the menus): white text, amber titles, a dark box with a
// light frame, and the amber bar under a marked row.
struct PanelColours {
    static inline const irr::video::SColor white{255, 255, 255, 255};
    static inline const irr::video::SColor grey{255, 150, 156, 170};
    static inline const irr::video::SColor gold{255, 255, 214, 80};
    static inline const irr::video::SColor box{215, 8, 12, 24};
    static inline const irr::video::SColor frame{200, 150, 160, 180};
    static inline const irr::video::SColor markedBar{190, 150, 96, 0};
};

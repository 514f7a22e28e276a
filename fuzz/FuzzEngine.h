#pragma once

namespace irr { class IrrlichtDevice; }

// The engine for the fuzz targets: one windowless device for the whole run,
// silent, since every rejected input would otherwise print a line. It also
// stands in as the game's engine context, so the game's loaders that ask the
// context for the device get this one.
class FuzzEngine {
public:
    static irr::IrrlichtDevice* device();
};

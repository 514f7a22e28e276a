#pragma once

namespace irr { class IrrlichtDevice; }

// A windowless engine device for the bakers: the engine's own image and mesh
// writers run on it. Quiet, since the baker prints one line per step.
class NullEngine {
public:
    NullEngine();
    ~NullEngine();
    NullEngine(const NullEngine&) = delete;
    NullEngine& operator=(const NullEngine&) = delete;

    irr::IrrlichtDevice* getDevice() const { return device; }

private:
    irr::IrrlichtDevice* device; // the reference createDevice returned; null if it failed
};

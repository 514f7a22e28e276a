#pragma once

#include <string>

// A scratch game directory for the engine-bound air tests: bin/ to run in,
// res/ beside it. res/ gets the baked resources when the build has them
// (falling back to a plain box for the jet while the baked jet is missing),
// and a short fly-by tone so that a test can hear a sound end. Construct it
// before the first engine access: the jet is loaded from "../res/".
class AirTestDir {
public:
    AirTestDir(bool withJetMesh, bool withFlybySound);
    ~AirTestDir();

    AirTestDir(const AirTestDir&) = delete;
    AirTestDir& operator=(const AirTestDir&) = delete;

    // Whether the jet in res/ is the baked one rather than the stand-in box.
    bool usesBakedJet() const { return bakedJet; }
    const std::string& getRoot() const { return root; }

    // Length of the fly-by tone written into res/, in milliseconds.
    static constexpr int flybyToneMs = 400;

private:
    void copyBakedResources();
    void writeBoxJet() const;
    void writeFlybyTone() const;

    std::string root;         // the scratch directory, removed at the end
    std::string previousDir;  // working directory to return to
    bool bakedJet;            // res/SU35S.obj came from the build's res/
};

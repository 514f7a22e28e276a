#include "AirTestDir.h"

#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

AirTestDir::AirTestDir(bool withJetMesh, bool withFlybySound)
    : previousDir(fs::current_path().string()), bakedJet(false)
{
    std::string pattern = (fs::temp_directory_path() / "torvel-air-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a scratch directory");
    root = pattern;
    fs::create_directories(fs::path(root) / "bin");
    fs::create_directories(fs::path(root) / "res");

    copyBakedResources();
    if (!withJetMesh) {
        fs::remove(fs::path(root) / "res" / "SU35S.obj");
        bakedJet = false;
    } else if (!bakedJet) {
        writeBoxJet();
    }
    if (withFlybySound)
        writeFlybyTone();
    else
        fs::remove(fs::path(root) / "res" / "flyby.wav");

    fs::current_path(fs::path(root) / "bin");
}

AirTestDir::~AirTestDir()
{
    std::error_code ignored;
    fs::current_path(previousDir, ignored);
    fs::remove_all(root, ignored);
}

void AirTestDir::copyBakedResources()
{
    const fs::path baked(RES_DIR);
    std::error_code missing;
    for (const fs::directory_entry& entry : fs::directory_iterator(baked, missing)) {
        if (entry.is_regular_file())
            fs::copy_file(entry.path(), fs::path(root) / "res" / entry.path().filename());
    }
    bakedJet = fs::exists(fs::path(root) / "res" / "SU35S.obj");
}

void AirTestDir::writeBoxJet() const
{
    // 20 long along X, 4 high, 14 wide, centred on the node's origin.
    std::ofstream obj(fs::path(root) / "res" / "SU35S.obj");
    const float x = 10, y = 2, z = 7;
    for (int i = 0; i < 8; ++i)
        obj << "v " << ((i & 1) ? x : -x) << ' ' << ((i & 2) ? y : -y) << ' ' << ((i & 4) ? z : -z) << '\n';
    const int faces[6][4] = {{1, 3, 4, 2}, {5, 6, 8, 7}, {1, 2, 6, 5}, {3, 7, 8, 4}, {1, 5, 7, 3}, {2, 4, 8, 6}};
    for (const auto& face : faces)
        obj << "f " << face[0] << ' ' << face[1] << ' ' << face[2] << ' ' << face[3] << '\n';
}

void AirTestDir::writeFlybyTone() const
{
    const int rate = 22050;
    const int frames = rate * flybyToneMs / 1000;
    std::vector<short> samples(frames);
    for (int i = 0; i < frames; ++i)
        samples[i] = static_cast<short>(12000 * std::sin(2 * 3.14159265 * 440 * i / rate));

    SF_INFO info = {};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    const std::string path = (fs::path(root) / "res" / "flyby.wav").string();
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
        throw std::runtime_error("cannot write " + path);
    sf_writef_short(file, samples.data(), frames);
    sf_close(file);
}

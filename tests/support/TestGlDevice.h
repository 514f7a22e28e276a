#pragma once

// An OpenGL device of the game's window size for tests of engine pieces that
// need no engine context, with frames read back before the buffers swap.

#include <irrlicht.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <GL/gl.h>
#include <X11/Xlib.h>
// Xlib's macros clash with names in other headers (GoogleTest's None).
#undef None
#undef Bool
#undef Status

class TestGlDevice {
public:
    static constexpr int width = 1366;
    static constexpr int height = 768;

    // Null without a display. The camera stands at eye, looking along +Z.
    explicit TestGlDevice(const irr::core::vector3df& eye)
    {
        if (!std::getenv("DISPLAY"))
            return;
        // The driver's vsync request fails on the software renderer; the
        // error must not end the test.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        irr::SIrrlichtCreationParameters parameters;
        parameters.DriverType = irr::video::EDT_OPENGL;
        parameters.WindowSize = irr::core::dimension2du(width, height);
        parameters.LoggingLevel = irr::ELL_ERROR;
        device = irr::createDeviceEx(parameters);
        if (!device)
            return;
        irr::scene::ICameraSceneNode* camera = device->getSceneManager()->addCameraSceneNode(
            nullptr, eye, eye + irr::core::vector3df(0.0f, 0.0f, 100.0f));
        camera->setNearValue(0.01f);
        camera->setFarValue(4000.0f);
    }
    ~TestGlDevice()
    {
        if (device)
            device->drop();
    }
    TestGlDevice(const TestGlDevice&) = delete;
    TestGlDevice& operator=(const TestGlDevice&) = delete;

    // One frame of the scene over a plain background: red, green, blue and
    // alpha bytes, rows from the top. With shotsPrefix set in the
    // environment variable named, each frame is also kept as PREFIX<n>.ppm.
    std::vector<std::uint8_t> frame(irr::video::SColor background, const char* shotsVariable = nullptr)
    {
        irr::video::IVideoDriver* driver = device->getVideoDriver();
        driver->beginScene(true, true, background);
        device->getSceneManager()->drawAll();
        std::vector<std::uint8_t> bottomUp(std::size_t(width) * height * 4);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
        driver->endScene();
        std::vector<std::uint8_t> rgba(bottomUp.size());
        for (int y = 0; y < height; ++y)
            std::copy_n(&bottomUp[std::size_t(height - 1 - y) * width * 4], width * 4, &rgba[std::size_t(y) * width * 4]);
        if (const char* prefix = shotsVariable ? std::getenv(shotsVariable) : nullptr) {
            if (FILE* file = std::fopen((prefix + std::to_string(shots++) + ".ppm").c_str(), "wb")) {
                std::fprintf(file, "P6 %d %d 255\n", width, height);
                for (std::size_t i = 0; i < rgba.size(); i += 4)
                    std::fwrite(&rgba[i], 1, 3, file);
                std::fclose(file);
            }
        }
        return rgba;
    }

    irr::IrrlichtDevice* device = nullptr;

private:
    int shots = 0; // frames kept so far
};

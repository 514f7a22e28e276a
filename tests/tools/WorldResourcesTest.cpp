// The baked HUD font, sky box and terrain, read back through the engine's
// own loaders (null driver, no window) as the game reads them.

#include <TestFiles.h>
#include <gtest/gtest.h>
#include <irrlicht.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

using namespace irr;

namespace {

const char* const skyFaces[] = {"skytop.jpg", "skybottom.jpg", "sky0.jpg", "sky1.jpg", "sky2.jpg", "sky3.jpg"};

std::string resPath(const char* name)
{
    return std::string(RES_DIR) + "/" + name;
}

IrrlichtDevice* nullDevice()
{
    SIrrlichtCreationParameters parameters;
    parameters.DriverType = video::EDT_NULL;
    parameters.LoggingLevel = ELL_NONE;
    return createDeviceEx(parameters);
}

// An image file loaded by the engine, dropped with the test.
struct LoadedImage {
    explicit LoadedImage(const char* name) : device(nullDevice())
    {
        image = device->getVideoDriver()->createImageFromFile(resPath(name).c_str());
    }
    ~LoadedImage()
    {
        if (image)
            image->drop();
        device->drop();
    }

    IrrlichtDevice* device;
    video::IImage* image = nullptr;
};

// Mean colour of a rectangle of an image.
video::SColorf meanColour(video::IImage* image, u32 x0, u32 y0, u32 x1, u32 y1)
{
    double r = 0, g = 0, b = 0;
    for (u32 y = y0; y < y1; ++y) {
        for (u32 x = x0; x < x1; ++x) {
            const video::SColor c = image->getPixel(x, y);
            r += c.getRed();
            g += c.getGreen();
            b += c.getBlue();
        }
    }
    const double n = double(x1 - x0) * (y1 - y0);
    return video::SColorf(float(r / n), float(g / n), float(b / n));
}

// The terrain exactly as the game builds it: flattened to a tenth and its
// bounding box centred 10 units below the origin.
struct GameTerrain {
    GameTerrain() : device(nullDevice())
    {
        scene::ISceneManager* scene = device->getSceneManager();
        node = scene->addTerrainSceneNode(resPath("heightmap.png").c_str(), nullptr, -1, core::vector3df(0, 0, 0),
            core::vector3df(0, 0, 0), core::vector3df(1, 1, 1), video::SColor(255, 255, 255, 255), 5,
            scene::ETPS_17, 0, false);
        if (!node)
            return;
        node->setScale(core::vector3df(1.0f, 0.1f, 1.0f));
        const core::vector3df c = node->getTerrainCenter();
        node->setPosition(core::vector3df(-c.X, -(c.Y + 10.0f), -c.Z));
        node->updateAbsolutePosition();
    }
    ~GameTerrain() { device->drop(); }

    IrrlichtDevice* device;
    scene::ITerrainSceneNode* node = nullptr;
};

std::string contents(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(WorldResources, ImagesLoadAtTheirSizes)
{
    struct Expected {
        const char* name;
        u32 width;
        u32 height;
    };
    const Expected files[] = {{"skytop.jpg", 1024, 1024}, {"skybottom.jpg", 1024, 1024}, {"sky0.jpg", 1024, 1024},
        {"sky1.jpg", 1024, 1024}, {"sky2.jpg", 1024, 1024}, {"sky3.jpg", 1024, 1024},
        {"heightmap.png", 1025, 1025}, {"detailmap.png", 2048, 2048}};
    for (const Expected& file : files) {
        SCOPED_TRACE(file.name);
        LoadedImage loaded(file.name);
        ASSERT_NE(loaded.image, nullptr);
        EXPECT_EQ(loaded.image->getDimension(), core::dimension2du(file.width, file.height));
    }
}

TEST(WorldResources, FontIsABitmapFontWithEveryPrintableCharacter)
{
    IrrlichtDevice* device = nullDevice();
    gui::IGUIFont* font = device->getGUIEnvironment()->getFont(resPath("fontlucida.png").c_str());
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(font->getType(), gui::EGFT_BITMAP);
    auto* bitmap = static_cast<gui::IGUIFontBitmap*>(font);
    // One sprite per character 32..126, nothing more: a stray marker would
    // shift every later character.
    EXPECT_EQ(bitmap->getSpriteBank()->getSprites().size(), 95u);
    for (wchar_t c = 32; c <= 126; ++c) {
        const wchar_t text[2] = {c, 0};
        const core::dimension2du size = font->getDimension(text);
        EXPECT_GT(size.Width, 0u) << "character " << int(c);
        EXPECT_GE(size.Height, 17u) << "character " << int(c);
        EXPECT_LE(size.Height, 24u) << "character " << int(c);
        EXPECT_EQ(bitmap->getSpriteNoFromChar(text), u32(c - 32)) << "character " << int(c);
    }
    // Wide letters are wider than narrow ones, and the HUD's longest line fits
    // the screen's corner comfortably.
    EXPECT_GT(font->getDimension(L"W").Width, font->getDimension(L"i").Width + 4);
    const core::dimension2du line = font->getDimension(L"RNDS REMAIN: [RELOADING]");
    EXPECT_GT(line.Width, 150u);
    EXPECT_LT(line.Width, 400u);
    device->drop();
}

TEST(WorldResources, FontGlyphsAreWhiteWithADarkOutline)
{
    LoadedImage loaded("fontlucida.png");
    ASSERT_NE(loaded.image, nullptr);
    video::IImage* image = loaded.image;
    const video::SColor topLeft = image->getPixel(0, 0);
    const video::SColor lowerRight = image->getPixel(1, 0);
    const video::SColor background = image->getPixel(2, 0);
    u32 white = 0;
    u32 dark = 0;
    u32 edge = 0;
    u32 whiteBesideClear = 0;
    for (u32 y = 1; y + 1 < image->getDimension().Height; ++y) {
        for (u32 x = 3; x + 1 < image->getDimension().Width; ++x) {
            const video::SColor c = image->getPixel(x, y);
            if (c == topLeft || c == lowerRight || c == background || c.getAlpha() == 0)
                continue;
            // Glyph pixels are grey, never coloured like the markers.
            EXPECT_EQ(c.getRed(), c.getBlue()) << x << "," << y;
            EXPECT_EQ(c.getRed(), c.getGreen()) << x << "," << y;
            if (c.getRed() > 240 && c.getAlpha() == 255) {
                ++white;
                // Solid ink never touches a clear pixel: the outline lies between.
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (image->getPixel(x + dx, y + dy).getAlpha() == 0)
                            ++whiteBesideClear;
            } else if (c.getRed() < 40 && c.getAlpha() > 150) {
                ++dark;
            } else {
                ++edge;
            }
        }
    }
    EXPECT_GT(white, 1500u);
    EXPECT_GT(dark, white);
    EXPECT_GT(edge, 300u); // the anti-aliased blend of ink and outline
    EXPECT_EQ(whiteBesideClear, 0u);
}

TEST(WorldResources, SkyIsBlueOverheadAndFogColouredAtTheHorizon)
{
    // The fog the game puts on the terrain: R,G,B = 99, 122, 193.
    const video::SColorf fog(99, 122, 193);
    LoadedImage top("skytop.jpg");
    LoadedImage bottom("skybottom.jpg");
    LoadedImage side("sky2.jpg");
    ASSERT_NE(top.image, nullptr);
    ASSERT_NE(bottom.image, nullptr);
    ASSERT_NE(side.image, nullptr);

    const video::SColorf zenith = meanColour(top.image, 500, 500, 524, 524);
    EXPECT_GT(zenith.b, zenith.r + 60) << "deep blue overhead";
    EXPECT_LT(zenith.r + zenith.g, fog.r + fog.g) << "darker than the haze";

    // The horizon runs across the middle of a side face; just below it and
    // on the whole bottom face the sky has the fog's colour.
    const video::SColorf belowHorizon = meanColour(side.image, 0, 520, 1024, 540);
    const video::SColorf nadir = meanColour(bottom.image, 0, 0, 1024, 1024);
    for (const video::SColorf& c : {belowHorizon, nadir}) {
        EXPECT_NEAR(c.r, fog.r, 2.0f);
        EXPECT_NEAR(c.g, fog.g, 2.0f);
        EXPECT_NEAR(c.b, fog.b, 2.0f);
    }
    // Just above the horizon the haze still matches the fogged land.
    const video::SColorf aboveHorizon = meanColour(side.image, 0, 505, 1024, 511);
    EXPECT_NEAR(aboveHorizon.b, fog.b, 6.0f);
    EXPECT_NEAR(aboveHorizon.r, fog.r, 6.0f);
}

TEST(WorldResources, SunStandsHalfWayUpTowardsMinusZ)
{
    // The world's light shines along (0, -0.71, 0.71), so the sun sits on the
    // edge where the front face (-Z) meets the top face: the top row of sky0,
    // in the middle. It is the brightest spot of the front face.
    LoadedImage front("sky0.jpg");
    ASSERT_NE(front.image, nullptr);
    u32 brightestX = 0;
    u32 brightestY = 0;
    u32 brightest = 0;
    for (u32 y = 0; y < 1024; y += 2) {
        for (u32 x = 0; x < 1024; x += 2) {
            const video::SColor c = front.image->getPixel(x, y);
            const u32 sum = c.getRed() + c.getGreen() + c.getBlue();
            if (sum > brightest) {
                brightest = sum;
                brightestX = x;
                brightestY = y;
            }
        }
    }
    EXPECT_GT(brightest, 720u);
    EXPECT_NEAR(double(brightestX), 512.0, 16.0);
    EXPECT_LT(brightestY, 16u);
}

TEST(WorldResources, GroundTextureIsGrassWithAGravelPadInTheMiddle)
{
    LoadedImage ground("detailmap.png");
    ASSERT_NE(ground.image, nullptr);
    const video::SColorf whole = meanColour(ground.image, 0, 0, 2048, 2048);
    EXPECT_GT(whole.g, whole.r);
    EXPECT_GT(whole.g, whole.b + 20);
    // The guns stand on grey gravel, not on grass.
    const video::SColorf pad = meanColour(ground.image, 1016, 1016, 1032, 1032);
    EXPECT_NEAR(pad.r, pad.g, 15.0f);
    EXPECT_NEAR(pad.g, pad.b, 20.0f);
    // Grain: neighbouring texels differ, so the ground near the turret is not a smear.
    double difference = 0;
    for (u32 x = 100; x < 1100; ++x)
        difference += std::abs(int(ground.image->getPixel(x, 300).getGreen()) - int(ground.image->getPixel(x + 1, 300).getGreen()));
    EXPECT_GT(difference / 1000.0, 3.0);
}

TEST(WorldResources, GunPadLiesTwoUnitsBelowThePivotAndNothingNearRisesAboveTheEye)
{
    GameTerrain terrain;
    ASSERT_NE(terrain.node, nullptr);
    // The pad is flat and lies 1.5 to 2.5 units below the guns' pivot.
    const float pad = terrain.node->getHeight(0.0f, 0.0f);
    EXPECT_LE(pad, -1.5f);
    EXPECT_GE(pad, -2.5f);
    for (float angle = 0.0f; angle < 6.28f; angle += 0.5f) {
        for (float r : {3.0f, 6.0f, 9.0f}) {
            EXPECT_NEAR(terrain.node->getHeight(r * std::cos(angle), r * std::sin(angle)), pad, 0.05f)
                << "at radius " << r << ", angle " << angle;
        }
    }
    // The gunner's eye rides 1.75 above the pivot: within 100 units no
    // ground rises to the eye's horizon.
    float highest = -1000.0f;
    for (float x = -100.0f; x <= 100.0f; x += 1.0f) {
        for (float z = -100.0f; z <= 100.0f; z += 1.0f) {
            if (x * x + z * z <= 100.0f * 100.0f)
                highest = std::max(highest, terrain.node->getHeight(x, z));
        }
    }
    EXPECT_LT(highest, 1.75f);
    // And the hill falls away round the pad: valleys, not a plain.
    EXPECT_LT(terrain.node->getHeight(150.0f, 0.0f), pad - 3.0f);
    EXPECT_LT(terrain.node->getHeight(0.0f, -150.0f), pad - 3.0f);
}

TEST(WorldResources, TerrainEdgesLieDeepInTheFog)
{
    GameTerrain terrain;
    ASSERT_NE(terrain.node, nullptr);
    const core::aabbox3df box = terrain.node->getTransformedBoundingBox();
    // 1025 vertices a unit apart, centred on the origin; at the nearest edge
    // the exponential fog of density 0.01 leaves under 1 % of the land's colour.
    EXPECT_NEAR(box.MaxEdge.X - box.MinEdge.X, 1024.0f, 1.0f);
    EXPECT_NEAR(box.getCenter().X, 0.0f, 1.0f);
    EXPECT_NEAR(box.getCenter().Z, 0.0f, 1.0f);
    EXPECT_LT(std::exp(-0.01f * std::min(-box.MinEdge.X, box.MaxEdge.X)), 0.01f);
    EXPECT_NEAR(box.getCenter().Y, -10.0f, 0.01f);
}

TEST(WorldResources, AFreshBakeWritesTheSameBytesAsTheBuildsBake)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("torvel-world-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    const std::string command = std::string("\"") + BAKER_PATH + "\" \"" + dir.string() + "\" font sky terrain > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::vector<std::string> names(std::begin(skyFaces), std::end(skyFaces));
    names.insert(names.end(), {"heightmap.png", "detailmap.png", "fontlucida.png"});
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string fresh = contents(dir / name);
        EXPECT_FALSE(fresh.empty());
        EXPECT_TRUE(fresh == contents(fs::path(RES_DIR) / name));
    }
    fs::remove_all(dir);
}

TEST(WorldResources, AFileThatCannotBeWrittenFailsItsStep)
{
    // A directory stands where each file should go, so no write can succeed:
    // the font, sky and terrain steps must each say FAILED, and the baker
    // must end in failure rather than leave the game without its files.
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("torvel-world-blocked-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    std::vector<std::string> names(std::begin(skyFaces), std::end(skyFaces));
    names.insert(names.end(), {"heightmap.png", "detailmap.png", "fontlucida.png"});
    for (const std::string& name : names)
        fs::create_directories(dir / name);
    const std::string command = std::string("\"") + BAKER_PATH + "\" \"" + dir.string() + "\" font sky terrain 2>/dev/null";
    std::string output;
    int status = 0;
    ASSERT_TRUE(TestFiles::runCommand(command, output, status));
    EXPECT_NE(status, 0);
    for (const char* step : {"font", "sky", "terrain"}) {
        const std::size_t line = output.find(step);
        ASSERT_NE(line, std::string::npos) << output;
        EXPECT_NE(output.substr(line, output.find('\n', line) - line).find("FAILED"), std::string::npos) << output;
    }
    fs::remove_all(dir);
}

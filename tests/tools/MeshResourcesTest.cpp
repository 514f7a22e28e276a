// The baked gun and aircraft meshes, read back through the engine's own OBJ
// loader exactly as the game reads them.

#include "NullEngine.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cmath>
#include <string>
#include <vector>

using namespace irr;
using core::vector3df;

namespace {

struct Triangle {
    vector3df a, b, c; // corners in the engine's winding order
    vector3df normal;  // sum of the corners' stored normals
};

// Loads a mesh from res/ and flattens it into triangles.
class LoadedMesh {
public:
    explicit LoadedMesh(const char* name)
    {
        const std::string path = std::string(RES_DIR) + "/" + name;
        scene::IAnimatedMesh* animated = engine.getDevice()->getSceneManager()->getMesh(path.c_str());
        mesh = animated ? animated->getMesh(0) : nullptr;
        if (!mesh)
            return;
        for (u32 i = 0; i < mesh->getMeshBufferCount(); ++i) {
            scene::IMeshBuffer* buffer = mesh->getMeshBuffer(i);
            const auto* vertices = static_cast<const video::S3DVertex*>(buffer->getVertices());
            const u16* indices = buffer->getIndices();
            for (u32 k = 0; k + 2 < buffer->getIndexCount(); k += 3) {
                const video::S3DVertex& a = vertices[indices[k]];
                const video::S3DVertex& b = vertices[indices[k + 1]];
                const video::S3DVertex& c = vertices[indices[k + 2]];
                triangles.push_back({a.Pos, b.Pos, c.Pos, a.Normal + b.Normal + c.Normal});
            }
        }
    }

    NullEngine engine;
    scene::IMesh* mesh = nullptr;
    std::vector<Triangle> triangles;
};

// Every face must show its front on the side its normals point to, or
// back-face culling opens holes and the light falls on the wrong side.
void expectWindingMatchesNormals(const LoadedMesh& loaded)
{
    int wrong = 0;
    for (const Triangle& t : loaded.triangles) {
        const vector3df face = (t.b - t.a).crossProduct(t.c - t.a);
        if (face.dotProduct(t.normal) <= 0)
            ++wrong;
    }
    EXPECT_EQ(wrong, 0) << "of " << loaded.triangles.size() << " triangles";
}

// Every material is lit by the sun as the game expects and not black.
void expectPaintedMaterials(const LoadedMesh& loaded, u32 minimumMaterials)
{
    ASSERT_GE(loaded.mesh->getMeshBufferCount(), minimumMaterials);
    for (u32 i = 0; i < loaded.mesh->getMeshBufferCount(); ++i) {
        const video::SMaterial& material = loaded.mesh->getMeshBuffer(i)->getMaterial();
        EXPECT_TRUE(material.Lighting);
        EXPECT_EQ(material.MaterialType, video::EMT_SOLID);
        EXPECT_GT(material.DiffuseColor.getLuminance() + material.EmissiveColor.getLuminance(), 20.0f);
        // Faces turned from the sun still show: the scene has no ambient light.
        EXPECT_GT(material.EmissiveColor.getLuminance(), 3.0f);
    }
}

} // namespace

TEST(GunsMesh, LoadsWithItsPaintedMaterials)
{
    LoadedMesh guns("guns.obj");
    ASSERT_NE(guns.mesh, nullptr);
    expectPaintedMaterials(guns, 3);
    expectWindingMatchesNormals(guns);
}

TEST(GunsMesh, MuzzlesOfBothBarrelsLeadAtTheFlashes)
{
    LoadedMesh guns("guns.obj");
    ASSERT_NE(guns.mesh, nullptr);
    const core::aabbox3df box = guns.mesh->getBoundingBox();
    EXPECT_GE(box.MaxEdge.Z, 1.8f);
    EXPECT_LE(box.MaxEdge.Z, 1.95f);
    // Everything that far forward belongs to one of the two barrels.
    bool left = false;
    bool right = false;
    for (const Triangle& t : guns.triangles) {
        for (const vector3df& p : {t.a, t.b, t.c}) {
            if (p.Z < 1.8f)
                continue;
            EXPECT_NEAR(std::fabs(p.X), 0.14f, 0.06f) << p.X << " " << p.Y << " " << p.Z;
            EXPECT_NEAR(p.Y, 1.5f, 0.06f);
            (p.X < 0 ? left : right) = true;
        }
    }
    EXPECT_TRUE(left);
    EXPECT_TRUE(right);
}

TEST(GunsMesh, LeavesTheEyeAndTheLineOfSightFree)
{
    LoadedMesh guns("guns.obj");
    ASSERT_NE(guns.mesh, nullptr);
    const vector3df eye(0, 1.75f, 0);
    float nearest = 1e9f;
    for (const Triangle& t : guns.triangles) {
        const core::triangle3df triangle(t.a, t.b, t.c);
        nearest = std::min(nearest, triangle.closestPointOnTriangle(eye).getDistanceFrom(eye));
    }
    EXPECT_GT(nearest, 0.05f);

    // The camera looks at (0, 0, 100); the centre of the view and a cone of
    // a few degrees round it stay clear for the crosshair.
    int blocked = 0;
    for (int k = 0; k < 9; ++k) {
        const float turn = k == 0 ? 0.0f : 4.0f;
        const float angle = k * core::PI / 4;
        vector3df ahead = vector3df(0, -1.75f, 100).normalize();
        core::matrix4 tilt;
        tilt.setRotationDegrees(vector3df(turn * std::sin(angle), turn * std::cos(angle), 0));
        tilt.rotateVect(ahead);
        const core::line3df sight(eye, eye + ahead * 100.0f);
        for (const Triangle& t : guns.triangles) {
            vector3df hit;
            if (core::triangle3df(t.a, t.b, t.c).getIntersectionWithLimitedLine(sight, hit))
                ++blocked;
        }
    }
    EXPECT_EQ(blocked, 0);
}

TEST(GunsMesh, BarrelsShowInTheLowerHalfOfTheView)
{
    // The gun sits below the eye: the player sees it from behind and above.
    LoadedMesh guns("guns.obj");
    ASSERT_NE(guns.mesh, nullptr);
    const core::aabbox3df box = guns.mesh->getBoundingBox();
    EXPECT_LT(box.MinEdge.Y, 0.0f); // the base stands below the pivot
    for (const Triangle& t : guns.triangles) {
        for (const vector3df& p : {t.a, t.b, t.c}) {
            if (p.Z > 0.2f) {
                EXPECT_LT(p.Y, 1.70f) << p.X << " " << p.Y << " " << p.Z;
            }
        }
    }
}

TEST(JetMesh, IsAJetLongestAlongItsNose)
{
    LoadedMesh jet("SU35S.obj");
    ASSERT_NE(jet.mesh, nullptr);
    expectPaintedMaterials(jet, 4);
    expectWindingMatchesNormals(jet);

    const core::aabbox3df box = jet.mesh->getBoundingBox();
    const vector3df extent = box.getExtent();
    EXPECT_GE(extent.X, 18.0f);
    EXPECT_LE(extent.X, 26.0f);
    EXPECT_GT(extent.X, extent.Z);
    EXPECT_GT(extent.X, extent.Y);
    // Wings give it a span of more than half its length, fins and body a
    // height well under its span.
    EXPECT_GT(extent.Z, extent.X * 0.5f);
    EXPECT_LT(extent.Y, extent.Z * 0.6f);
    // The hit box sits round the node's position, not off to one side.
    const vector3df centre = box.getCenter();
    EXPECT_LT(std::fabs(centre.X), 2.0f);
    EXPECT_LT(std::fabs(centre.Y), 1.5f);
    EXPECT_LT(std::fabs(centre.Z), 0.01f);
}

TEST(JetMesh, FlysNoseFirstAlongPlusXWithItsFinsUp)
{
    LoadedMesh jet("SU35S.obj");
    ASSERT_NE(jet.mesh, nullptr);
    // The fin tips are the highest points and stand at the tail, behind the
    // middle; the nose, ahead, is slender.
    vector3df top(0, -1e9f, 0);
    float noseWidth = 0;
    const float noseX = jet.mesh->getBoundingBox().MaxEdge.X;
    for (const Triangle& t : jet.triangles) {
        for (const vector3df& p : {t.a, t.b, t.c}) {
            if (p.Y > top.Y)
                top = p;
            if (p.X > noseX - 1.5f)
                noseWidth = std::max(noseWidth, std::fabs(p.Z));
        }
    }
    EXPECT_LT(top.X, -4.0f);
    EXPECT_GT(top.Y, 2.0f);
    EXPECT_LT(noseWidth, 0.5f);
}

TEST(RaidMeshes, ThreeKindsToldApartByTheirOutlineAndABomb)
{
    LoadedMesh jet("SU35S.obj"), bomber("bomber.obj"), attacker("attacker.obj"), bomb("bomb.obj");
    ASSERT_TRUE(jet.mesh && bomber.mesh && attacker.mesh && bomb.mesh);
    for (const LoadedMesh* mesh : {&bomber, &attacker, &bomb}) {
        expectPaintedMaterials(*mesh, 2);
        expectWindingMatchesNormals(*mesh);
    }
    const vector3df fighter = jet.mesh->getBoundingBox().getExtent();
    const vector3df heavy = bomber.mesh->getBoundingBox().getExtent();
    const vector3df low = attacker.mesh->getBoundingBox().getExtent();
    // The bomber: far longer, and on its long straight wing wider than long.
    EXPECT_GT(heavy.X, fighter.X * 1.6f);
    EXPECT_GT(heavy.Z, fighter.Z * 3.0f);
    EXPECT_GT(heavy.Z, heavy.X * 1.3f);
    // The attacker: shorter than the fighter, with a span as wide as it is long.
    EXPECT_LT(low.X, fighter.X * 0.9f);
    EXPECT_GT(low.Z, low.X * 0.95f);
    // A bomb a few units long, longest along its nose.
    const vector3df falling = bomb.mesh->getBoundingBox().getExtent();
    EXPECT_GT(falling.X, 2.5f);
    EXPECT_LT(falling.X, 5.0f);
    EXPECT_GT(falling.X, falling.Y);
}

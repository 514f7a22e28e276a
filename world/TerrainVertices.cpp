#include "TerrainVertices.h"

#include <IMesh.h>
#include <IMeshBuffer.h>
#include <ITerrainSceneNode.h>
#include <S3DVertex.h>
#include <aabbox3d.h>
#include <matrix4.h>

#include <vector>

using namespace irr;
using core::vector3df;
using video::S3DVertex2TCoords;

namespace {

// The engine turns a vertex about a pivot by a rotation of nothing: the
// subtraction and the addition still round, so they are done the same way.
vector3df turnedAbout(vector3df position, const vector3df& pivot)
{
    static const core::matrix4 noTurn = [] {
        core::matrix4 turn;
        turn.setRotationDegrees(vector3df(0.0f, 0.0f, 0.0f));
        return turn;
    }();
    position -= pivot;
    noTurn.inverseRotateVect(position);
    position += pivot;
    return position;
}

// The centre of the box around the vertices the engine's patches cover:
// whole patches of 17 vertices a side from the first corner, so that the
// last rows of a height map whose side is not 16 n + 1 are left out.
template <typename PositionOf>
vector3df patchBoxCentre(u32 size, PositionOf positionOf)
{
    const u32 covered = (size - 1) / 16 * 16;
    core::aabbox3df box(positionOf(0, 0));
    for (u32 x = 0; x <= covered; ++x)
        for (u32 z = 0; z <= covered; ++z)
            box.addInternalPoint(positionOf(x, z));
    return box.getCenter();
}

// One triangle's unit normal as the engine takes it: (b - a) x (c - a).
// Inlined: as a call it takes three times as long over a million vertices.
inline __attribute__((always_inline)) vector3df faceNormal(const vector3df& a, vector3df b, vector3df c)
{
    b -= a;
    c -= a;
    vector3df normal = b.crossProduct(c);
    normal.normalize();
    return normal;
}

// Positions after setScale: the engine scales each vertex, then turns it
// about the centre of the unscaled terrain (its pivot). Then setPosition
// moves each and turns it about the centre of the scaled terrain.
class Scaled {
public:
    Scaled(const S3DVertex2TCoords* unscaled, u32 size, const vector3df& scale, const vector3df& pivot)
        : unscaled(unscaled), size(size), scale(scale), pivot(pivot)
    {
    }

    vector3df at(u32 x, u32 z) const
    {
        // The node still stands at the origin when it is scaled.
        return turnedAbout(unscaled[x * size + z].Pos * scale + vector3df(0.0f, 0.0f, 0.0f), pivot);
    }

    // The vertex at index i of the unscaled terrain, scaled, which puts the
    // terrain's centre at centre, and then placed at position.
    vector3df placed(u32 i, const vector3df& position, const vector3df& centre) const
    {
        return turnedAbout(unscaled[i].Pos * scale + position, centre);
    }

    u32 getSize() const { return size; }

private:
    const S3DVertex2TCoords* unscaled;
    u32 size;
    vector3df scale;
    vector3df pivot;   // centre of the unscaled terrain
};

// Scaled positions made row by row and kept for three rows: a vertex's
// normal needs the rows on either side of its own.
class ScaledRows {
public:
    explicit ScaledRows(const Scaled& scaled) : scaled(scaled), size(scaled.getSize()), rows(3 * size) {}

    void fill(u32 x)
    {
        for (u32 z = 0; z < size; ++z)
            rows[(x % 3) * size + z] = scaled.at(x, z);
    }

    const vector3df& at(u32 x, u32 z) const { return rows[(x % 3) * size + z]; }

private:
    const Scaled& scaled;
    u32 size;
    std::vector<vector3df> rows;   // three rows of scaled positions, by x modulo 3
};

// The normals of the two triangles on the diagonal of a quad from its
// corner (x, z) to (x + 1, z + 1), each taken from (x, z) as the engine takes
// them. Three of the quad's four corners use this pair, once each (with the
// second turned round, which only changes its sign): made once, not thrice.
struct DiagonalNormals {
    vector3df alongZ;   // (x, z), (x, z + 1), (x + 1, z + 1)
    vector3df alongX;   // (x, z), (x + 1, z), (x + 1, z + 1)
};

// Writes into out the positions and normals of the terrain scaled, which
// puts its centre at centre, and then placed at position.
void place(const Scaled& scaled, const vector3df& centre, const vector3df& position, S3DVertex2TCoords* out)
{
    const u32 size = scaled.getSize();
    if (size == 0)
        return;
    ScaledRows rows(scaled);
    const u32 last = size - 1;
    const auto p = [&](u32 px, u32 pz) -> const vector3df& { return rows.at(px, pz); };
    // The quads of the row before this vertex row and of this one, by x modulo 2.
    std::vector<DiagonalNormals> quads(2 * size);
    const auto quad = [&](u32 qx, u32 qz) -> DiagonalNormals& { return quads[(qx % 2) * size + qz]; };
    rows.fill(0);
    if (size > 1)
        rows.fill(1);
    for (u32 x = 0; x < size; ++x) {
        if (x >= 1 && x + 1 < size)
            rows.fill(x + 1);
        if (x < last) {
            for (u32 z = 0; z < last; ++z) {
                quad(x, z).alongZ = faceNormal(p(x, z), p(x, z + 1), p(x + 1, z + 1));
                quad(x, z).alongX = faceNormal(p(x, z), p(x + 1, z), p(x + 1, z + 1));
            }
        }
        for (u32 z = 0; z < size; ++z) {
            vector3df normal;
            bool any = false;
            if (x > 0 && z > 0) {
                const DiagonalNormals& q = quad(x - 1, z - 1);
                normal += q.alongZ;
                normal += q.alongX;
                any = true;
            }
            if (x > 0 && z < last) {
                const DiagonalNormals& q = quad(x - 1, z);
                normal += q.alongZ;
                normal -= q.alongX;
                any = true;
            }
            if (x < last && z < last) {
                // From another corner, and on the other diagonal: used here only.
                normal += faceNormal(p(x, z + 1), p(x, z), p(x + 1, z + 1));
                normal += faceNormal(p(x, z + 1), p(x + 1, z + 1), p(x + 1, z));
                any = true;
            }
            if (x < last && z > 0) {
                const DiagonalNormals& q = quad(x, z - 1);
                normal += q.alongZ;
                normal -= q.alongX;
                any = true;
            }
            if (any)
                normal.normalize();
            else
                normal.set(0.0f, 1.0f, 0.0f);

            const u32 i = x * size + z;
            out[i].Normal = normal;
            out[i].Pos = scaled.placed(i, position, centre);
        }
    }
}

} // namespace

void TerrainVertices::centreBelowOrigin(scene::ITerrainSceneNode* terrain, const vector3df& scale, f32 depth)
{
    scene::IMeshBuffer* loaded = terrain->getMesh()->getMeshBuffer(0);
    scene::IMeshBuffer* drawn = terrain->getRenderBuffer();
    const auto* unscaled = static_cast<const S3DVertex2TCoords*>(loaded->getVertices());
    const u32 size = sideOf(loaded->getVertexCount());
    // The centre the engine reports after scaling: that of the box around
    // the scaled vertices.
    const Scaled scaled(unscaled, size, scale,
                        patchBoxCentre(size, [&](u32 x, u32 z) { return unscaled[x * size + z].Pos; }));
    const vector3df centre = patchBoxCentre(size, [&](u32 x, u32 z) { return scaled.at(x, z); });
    const vector3df position(-centre.X, -(centre.Y + depth), -centre.Z);
    // The node's own state: its position, and the boxes of its patches. The
    // engine's setScale scales the vertices only, while the scale given at
    // loading went into the node's transformation too, where the scene
    // manager would apply it again to place and cull the terrain.
    terrain->ISceneNode::setScale(vector3df(1.0f, 1.0f, 1.0f));
    terrain->updateAbsolutePosition();
    terrain->setPosition(position);
    place(scaled, centre, position, static_cast<S3DVertex2TCoords*>(drawn->getVertices()));
    drawn->setDirty(scene::EBT_VERTEX);
}

u32 TerrainVertices::sideOf(u32 count)
{
    u32 side = 0;
    while ((side + 1) * (side + 1) <= count)
        ++side;
    return side * side == count ? side : 0;
}

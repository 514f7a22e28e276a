#include "MeshBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

using namespace irr;
using core::vector3df;

namespace {

// The meshes are painted by their materials alone and carry no texture.
const core::vector2df noUv(0, 0);

// A point on a rounded rectangle: squareness 0 gives the ellipse, values
// towards 1 flatten the sides (a superellipse), which suits fuselage and
// intake shapes.
void ringPoint(float angle, float squareness, float& y, float& z)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float exponent = 2.0f / (2.0f + 6.0f * squareness);
    y = std::copysign(std::pow(std::fabs(s), exponent), s);
    z = std::copysign(std::pow(std::fabs(c), exponent), c);
}

void finishBuffer(scene::SMesh* mesh, scene::SMeshBuffer* buffer)
{
    buffer->recalculateBoundingBox();
    mesh->addMeshBuffer(buffer);
    buffer->drop();
}

} // namespace

int MeshBuilder::addMaterial(video::SColor diffuse, video::SColor specular, float shininess, video::SColor emissive)
{
    Part part;
    part.material.DiffuseColor = diffuse;
    part.material.AmbientColor = diffuse;
    part.material.SpecularColor = specular;
    part.material.Shininess = shininess;
    part.material.EmissiveColor = emissive;
    parts.push_back(part);
    return static_cast<int>(parts.size()) - 1;
}

void MeshBuilder::addTriangle(int material, const video::S3DVertex& a, const video::S3DVertex& b,
    const video::S3DVertex& c)
{
    const vector3df face = (b.Pos - a.Pos).crossProduct(c.Pos - a.Pos);
    if (face.getLengthSQ() < 1e-14f)
        return; // degenerate, e.g. where a ring closes to a point
    const vector3df wanted = a.Normal + b.Normal + c.Normal;
    std::vector<video::S3DVertex>& list = parts.at(material).vertices;
    list.push_back(a);
    if (face.dotProduct(wanted) >= 0) {
        list.push_back(b);
        list.push_back(c);
    } else {
        list.push_back(c);
        list.push_back(b);
    }
}

void MeshBuilder::addQuad(int material, const vector3df& a, const vector3df& b, const vector3df& c,
    const vector3df& d, const vector3df& normal)
{
    vector3df n = normal;
    n.normalize();
    const video::SColor white(255, 255, 255, 255);
    const video::S3DVertex va(a, n, white, noUv);
    const video::S3DVertex vb(b, n, white, noUv);
    const video::S3DVertex vc(c, n, white, noUv);
    const video::S3DVertex vd(d, n, white, noUv);
    addTriangle(material, va, vb, vc);
    addTriangle(material, va, vc, vd);
}

void MeshBuilder::addBox(int material, const vector3df& centre, const vector3df& halfSize,
    const vector3df& rotationDegrees)
{
    core::matrix4 turn;
    turn.setRotationDegrees(rotationDegrees);
    auto corner = [&](float sx, float sy, float sz) {
        vector3df p(sx * halfSize.X, sy * halfSize.Y, sz * halfSize.Z);
        turn.rotateVect(p);
        return p + centre;
    };
    auto axis = [&](float x, float y, float z) {
        vector3df n(x, y, z);
        turn.rotateVect(n);
        return n;
    };
    for (float s : {-1.0f, 1.0f}) {
        addQuad(material, corner(s, -1, -1), corner(s, 1, -1), corner(s, 1, 1), corner(s, -1, 1), axis(s, 0, 0));
        addQuad(material, corner(-1, s, -1), corner(1, s, -1), corner(1, s, 1), corner(-1, s, 1), axis(0, s, 0));
        addQuad(material, corner(-1, -1, s), corner(1, -1, s), corner(1, 1, s), corner(-1, 1, s), axis(0, 0, s));
    }
}

void MeshBuilder::addTube(int material, const vector3df& from, const vector3df& to, float radiusFrom,
    float radiusTo, int sides, bool capFrom, bool capTo)
{
    vector3df axis = to - from;
    const float length = axis.getLength();
    axis.normalize();
    // Two directions across the axis.
    vector3df across = axis.crossProduct(std::fabs(axis.Y) < 0.9f ? vector3df(0, 1, 0) : vector3df(1, 0, 0));
    across.normalize();
    const vector3df across2 = axis.crossProduct(across).normalize();
    // The side leans inwards by the taper, so its normal tilts along the axis.
    const float slope = (radiusFrom - radiusTo) / length;
    const video::SColor white(255, 255, 255, 255);
    for (int i = 0; i < sides; ++i) {
        const float a0 = core::PI * 2.0f * i / sides;
        const float a1 = core::PI * 2.0f * (i + 1) / sides;
        const vector3df r0 = across * std::cos(a0) + across2 * std::sin(a0);
        const vector3df r1 = across * std::cos(a1) + across2 * std::sin(a1);
        const vector3df n0 = (r0 + axis * slope).normalize();
        const vector3df n1 = (r1 + axis * slope).normalize();
        const video::S3DVertex p00(from + r0 * radiusFrom, n0, white, noUv);
        const video::S3DVertex p01(to + r0 * radiusTo, n0, white, noUv);
        const video::S3DVertex p10(from + r1 * radiusFrom, n1, white, noUv);
        const video::S3DVertex p11(to + r1 * radiusTo, n1, white, noUv);
        addTriangle(material, p00, p10, p11);
        addTriangle(material, p00, p11, p01);
        if (capFrom) {
            const vector3df n = -axis;
            addTriangle(material, video::S3DVertex(from, n, white, noUv),
                video::S3DVertex(p00.Pos, n, white, noUv),
                video::S3DVertex(p10.Pos, n, white, noUv));
        }
        if (capTo) {
            addTriangle(material, video::S3DVertex(to, axis, white, noUv),
                video::S3DVertex(p01.Pos, axis, white, noUv),
                video::S3DVertex(p11.Pos, axis, white, noUv));
        }
    }
}

void MeshBuilder::addLoft(const std::vector<int>& materialOfBand, const std::vector<Section>& rings, float noseX,
    float tailX, float centreZ, int sides)
{
    // Ring points, with the end points as rings of zero size.
    std::vector<std::vector<vector3df>> points;
    auto ring = [&](const Section& section) {
        std::vector<vector3df> list;
        for (int i = 0; i < sides; ++i) {
            float y = 0;
            float z = 0;
            ringPoint(core::PI * 2.0f * i / sides, section.squareness, y, z);
            list.emplace_back(section.x, section.centreY + y * section.halfHeight, centreZ + z * section.halfWidth);
        }
        return list;
    };
    const Section& first = rings.front();
    const Section& last = rings.back();
    points.push_back(ring(Section{noseX, first.centreY, 0, 0, 0}));
    for (const Section& section : rings)
        points.push_back(ring(section));
    points.push_back(ring(Section{tailX, last.centreY, 0, 0, 0}));

    // Smooth normals: across the ring from its neighbours, along the body
    // from the neighbouring rings.
    const int count = static_cast<int>(points.size());
    std::vector<std::vector<vector3df>> normals(count, std::vector<vector3df>(sides));
    for (int r = 0; r < count; ++r) {
        const int ahead = r > 0 ? r - 1 : r;
        const int behind = r + 1 < count ? r + 1 : r;
        for (int i = 0; i < sides; ++i) {
            const vector3df along = points[behind][i] - points[ahead][i];
            vector3df around = points[r][(i + 1) % sides] - points[r][(i + sides - 1) % sides];
            if (around.getLengthSQ() < 1e-10f) {
                // The closing point: its normal is the body's end direction.
                normals[r][i] = vector3df(r == 0 ? 1.0f : -1.0f, 0, 0);
                continue;
            }
            vector3df n = around.crossProduct(along).normalize();
            // Keep it pointing away from the ring's centre.
            const float centreY = rings[std::min(std::max(r - 1, 0), count - 3)].centreY;
            const vector3df outward = points[r][i] - vector3df(points[r][i].X, centreY, centreZ);
            if (n.dotProduct(outward) < 0)
                n = -n;
            normals[r][i] = n;
        }
    }
    const video::SColor white(255, 255, 255, 255);
    for (int r = 0; r + 1 < count; ++r) {
        const int material = materialOfBand.at(std::min(r, static_cast<int>(materialOfBand.size()) - 1));
        for (int i = 0; i < sides; ++i) {
            const int j = (i + 1) % sides;
            const video::S3DVertex a(points[r][i], normals[r][i], white, noUv);
            const video::S3DVertex b(points[r][j], normals[r][j], white, noUv);
            const video::S3DVertex c(points[r + 1][j], normals[r + 1][j], white, noUv);
            const video::S3DVertex d(points[r + 1][i], normals[r + 1][i], white, noUv);
            addTriangle(material, a, b, c);
            addTriangle(material, a, c, d);
        }
    }
}

void MeshBuilder::addPlate(int material, int backMaterial, const vector3df& rootLead, const vector3df& rootTrail,
    const vector3df& tipTrail, const vector3df& tipLead, const vector3df& normal, float thickness, float tipThinning)
{
    vector3df n = normal;
    n.normalize();
    const float rootHalf = thickness * 0.5f;
    const float tipHalf = rootHalf * (1.0f - tipThinning);
    const vector3df corners[4] = {rootLead, rootTrail, tipTrail, tipLead};
    const float halves[4] = {rootHalf, rootHalf, tipHalf, tipHalf};
    vector3df top[4];
    vector3df bottom[4];
    for (int i = 0; i < 4; ++i) {
        top[i] = corners[i] + n * halves[i];
        bottom[i] = corners[i] - n * halves[i];
    }
    addQuad(material, top[0], top[1], top[2], top[3], n);
    addQuad(backMaterial, bottom[0], bottom[1], bottom[2], bottom[3], -n);
    // Edges, each facing away from the plate's middle.
    const vector3df middle = (rootLead + rootTrail + tipTrail + tipLead) * 0.25f;
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        vector3df edge = corners[j] - corners[i];
        vector3df out = edge.crossProduct(n).normalize();
        if (out.dotProduct((corners[i] + corners[j]) * 0.5f - middle) < 0)
            out = -out;
        addQuad(material, top[i], top[j], bottom[j], bottom[i], out);
    }
}

scene::SMesh* MeshBuilder::build() const
{
    scene::SMesh* mesh = new scene::SMesh;
    for (const Part& part : parts) {
        if (part.vertices.empty())
            continue;
        scene::SMeshBuffer* buffer = nullptr;
        // Shared corners are stored once; the key is the vertex's bytes,
        // so only exactly equal vertices merge.
        std::map<std::vector<char>, u16> known;
        for (size_t i = 0; i < part.vertices.size(); ++i) {
            // Indices are 16 bit: a full buffer hands over to a new one
            // between two triangles.
            if (!buffer || (i % 3 == 0 && buffer->Vertices.size() > 65535 - 3)) {
                if (buffer)
                    finishBuffer(mesh, buffer);
                buffer = new scene::SMeshBuffer;
                buffer->Material = part.material;
                known.clear();
            }
            video::S3DVertex vertex = part.vertices[i];
            vertex.Color = part.material.DiffuseColor;
            std::vector<char> key(sizeof(vertex.Pos) + sizeof(vertex.Normal));
            std::memcpy(key.data(), &vertex.Pos, sizeof(vertex.Pos));
            std::memcpy(key.data() + sizeof(vertex.Pos), &vertex.Normal, sizeof(vertex.Normal));
            auto found = known.find(key);
            if (found == known.end()) {
                found = known.emplace(key, static_cast<u16>(buffer->Vertices.size())).first;
                buffer->Vertices.push_back(vertex);
            }
            buffer->Indices.push_back(found->second);
        }
        finishBuffer(mesh, buffer);
    }
    mesh->recalculateBoundingBox();
    return mesh;
}

#pragma once

#include <irrlicht.h>

#include <vector>

// Collects solid shapes, one triangle list per material, and turns them into
// an engine mesh. Each triangle is wound so that the engine sees its front
// from the side its vertex normals point to; the shapes give outward normals,
// so every face shows from outside and back-face culling never opens a hole.
class MeshBuilder {
public:
    struct Section {                    // one ring of a lofted body
        float x;                        // station along the body axis (X)
        float centreY;                  // height of the ring's centre
        float halfWidth;                // half extent along Z
        float halfHeight;               // half extent along Y
        float squareness;               // 0 = ellipse, towards 1 = rounded box
    };

    // Material index for a painted surface: diffuse colour, specular colour,
    // shininess, and a faint self-light that keeps faces turned from the sun
    // from going pitch black.
    int addMaterial(irr::video::SColor diffuse, irr::video::SColor specular, float shininess,
        irr::video::SColor emissive);

    void addTriangle(int material, const irr::video::S3DVertex& a, const irr::video::S3DVertex& b,
        const irr::video::S3DVertex& c);
    // Flat quad a-b-c-d (in order round its edge) facing along normal.
    void addQuad(int material, const irr::core::vector3df& a, const irr::core::vector3df& b,
        const irr::core::vector3df& c, const irr::core::vector3df& d, const irr::core::vector3df& normal);

    // Box with the given half extents, turned by rotationDegrees about its centre.
    void addBox(int material, const irr::core::vector3df& centre, const irr::core::vector3df& halfSize,
        const irr::core::vector3df& rotationDegrees = irr::core::vector3df(0, 0, 0));
    // Round tube from one point to another, tapering between the two radii,
    // smooth sided, with flat caps where asked.
    void addTube(int material, const irr::core::vector3df& from, const irr::core::vector3df& to, float radiusFrom,
        float radiusTo, int sides, bool capFrom, bool capTo);
    // Smooth body through rings across the X axis, closed with a point at
    // each end (noseX ahead of the first ring, tailX behind the last). The
    // body may be shifted sideways to centreZ. materialOfBand paints the bands
    // between rings from the nose back; its last entry paints all the rest.
    void addLoft(const std::vector<int>& materialOfBand, const std::vector<Section>& rings, float noseX,
        float tailX, float centreZ, int sides);
    // Thin plate of the given thickness with a four-cornered outline in its
    // own plane: root leading and trailing edge, tip trailing and leading edge.
    // The plate's plane holds the outline; thickness goes along normal and
    // thins towards the tip edge by tipThinning. The face against normal
    // takes backMaterial, so wings can be painted lighter underneath.
    void addPlate(int material, int backMaterial, const irr::core::vector3df& rootLead,
        const irr::core::vector3df& rootTrail, const irr::core::vector3df& tipTrail,
        const irr::core::vector3df& tipLead, const irr::core::vector3df& normal, float thickness, float tipThinning);

    // A new mesh (the caller drops it) with one buffer per material in use.
    irr::scene::SMesh* build() const;

private:
    struct Part {
        irr::video::SMaterial material;               // how the surface is painted
        std::vector<irr::video::S3DVertex> vertices;  // three per triangle, wound for the engine
    };
    std::vector<Part> parts; // indexed by material number
};

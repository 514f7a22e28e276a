#include "Radar.h"

#include <ICameraSceneNode.h>
#include <IVideoDriver.h>

using namespace irr;

Radar::Radar()
{
    material.MaterialType = video::EMT_TRANSPARENT_VERTEX_ALPHA;
    material.Lighting = false;
    material.ZBuffer = video::ECFN_NEVER;
    material.ZWriteEnable = false;
    material.BackfaceCulling = false;
}

void Radar::draw(video::IVideoDriver* driver, const scene::ICameraSceneNode* camera,
                 const std::vector<RadarContact>& contacts, core::dimension2di hudCorner)
{
    if (driver == nullptr || camera == nullptr)
        return;
    const RadarRules::View view = RadarRules::viewFrom(camera->getAbsolutePosition(), camera->getTarget(),
                                                       camera->getFOV(), camera->getAspectRatio());
    picture.build(view, driver->getScreenSize(), contacts, hudCorner);
    if (picture.getTriangleCount() == 0)
        return;
    // The 2D drawing takes its blending from the material set last.
    driver->setMaterial(material);
    driver->draw2DVertexPrimitiveList(picture.getVertices().data(), u32(picture.getVertices().size()),
                                      picture.getIndices().data(), picture.getTriangleCount(),
                                      video::EVT_STANDARD, scene::EPT_TRIANGLES, video::EIT_16BIT);
}

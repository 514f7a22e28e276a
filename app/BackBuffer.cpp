#include "BackBuffer.h"

#include <GL/gl.h>

#include <cstring>

using namespace irr;

video::IImage* BackBuffer::capture(video::IVideoDriver* driver)
{
    const core::dimension2du size = driver->getScreenSize();
    if (size.Width == 0 || size.Height == 0)
        return nullptr;
    video::IImage* image = driver->createImage(video::ECF_R8G8B8, size);
    if (image == nullptr)
        return nullptr;
    u8* pixels = static_cast<u8*>(image->lock());
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, size.Width, size.Height, GL_RGB, GL_UNSIGNED_BYTE, pixels);

    // OpenGL counts rows from the bottom, images from the top.
    const u32 pitch = image->getPitch();
    core::array<u8> row(pitch);
    row.set_used(pitch);
    for (u32 top = 0, bottom = size.Height - 1; top < bottom; ++top, --bottom) {
        memcpy(row.pointer(), pixels + top * pitch, pitch);
        memcpy(pixels + top * pitch, pixels + bottom * pitch, pitch);
        memcpy(pixels + bottom * pitch, row.pointer(), pitch);
    }
    image->unlock();
    return image;
}

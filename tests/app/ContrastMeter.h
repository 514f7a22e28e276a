#pragma once

// The contrast of text against what stands behind it, as the accessibility
// guidelines reckon it: the relative luminance of each sRGB colour, then
// (lighter + 0.05) / (darker + 0.05), from 1 : 1 up to 21 : 1.

#include <IImage.h>
#include <SColor.h>
#include <rect.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace ContrastMeter {

inline double channel(unsigned value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

inline double luminance(const irr::video::SColor& colour)
{
    return 0.2126 * channel(colour.getRed()) + 0.7152 * channel(colour.getGreen()) +
           0.0722 * channel(colour.getBlue());
}

inline double ratio(double a, double b)
{
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// What a band of text in a capture shows.
struct Band {
    double worst = 21.0;        // the lowest contrast of the text against a pixel behind it
    double background = 0.0;    // share of the band's pixels that are behind the text
    double brightest = 0.0;     // luminance of the lightest of them
};

// Measures the band in the picture: every pixel that is not text, nor within
// two pixels of it, is behind the text and is compared with the text's colour.
// Text is told by its light core (luminance above textLuminance): a band that
// failed to darken a white cloud would leave few pixels behind the text, which
// the caller sees in the background share.
inline Band measure(irr::video::IImage* picture, const irr::core::rect<irr::s32>& area,
                    const irr::video::SColor& text, double textLuminance = 0.6)
{
    const irr::s32 width = area.getWidth(), height = area.getHeight();
    std::vector<double> light(static_cast<std::size_t>(width * height));
    for (irr::s32 y = 0; y < height; ++y)
        for (irr::s32 x = 0; x < width; ++x)
            light[static_cast<std::size_t>(y * width + x)] =
                luminance(picture->getPixel(static_cast<irr::u32>(area.UpperLeftCorner.X + x),
                                            static_cast<irr::u32>(area.UpperLeftCorner.Y + y)));
    std::vector<bool> nearText(light.size(), false);
    for (irr::s32 y = 0; y < height; ++y)
        for (irr::s32 x = 0; x < width; ++x) {
            if (light[static_cast<std::size_t>(y * width + x)] <= textLuminance)
                continue;
            for (irr::s32 dy = -2; dy <= 2; ++dy)
                for (irr::s32 dx = -2; dx <= 2; ++dx) {
                    const irr::s32 nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < width && ny < height)
                        nearText[static_cast<std::size_t>(ny * width + nx)] = true;
                }
        }
    Band band;
    const double textLight = luminance(text);
    std::size_t behind = 0;
    for (std::size_t i = 0; i < light.size(); ++i) {
        if (nearText[i])
            continue;
        ++behind;
        band.brightest = std::max(band.brightest, light[i]);
        band.worst = std::min(band.worst, ratio(textLight, light[i]));
    }
    band.background = light.empty() ? 0.0 : static_cast<double>(behind) / light.size();
    return band;
}

} // namespace ContrastMeter

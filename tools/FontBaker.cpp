#include "FontBaker.h"

#include "BakeRegistry.h"
#include "ImageSaver.h"
#include "ResourceTable.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

const BakeRegistry::Registration registration("font", &FontBaker::bake);

const int firstCharacter = 32;
const int lastCharacter = 126;
// The outline's radius in pixels, and the room it needs round the ink.
const float outlineRadius = 1.6f;
const int margin = 2;
// The engine's bitmap font layout: a marker opens a glyph's rectangle at its
// top-left pixel, another closes it just beyond its lower-right corner, and
// pixel (2, 0) names the background. Glyph pixels are white or dark grey, so
// none of them can be taken for a marker.
const std::uint8_t openMarker[4] = {255, 0, 0, 255};
const std::uint8_t closeMarker[4] = {0, 0, 255, 255};
const std::uint8_t background[4] = {0, 0, 0, 0};
const float outlineShade = 16.0f;   // grey level of the outline
const float outlineOpacity = 0.9f;  // the outline lets a little of the scene through

// One character rendered by FreeType, with its place on the pen's line.
struct Glyph {
    int left = 0;                       // ink's left edge from the pen position
    int top = 0;                        // ink's top edge above the baseline
    int width = 0;                      // ink's size in pixels
    int height = 0;
    int advance = 0;                    // pen movement to the next character
    std::vector<std::uint8_t> coverage; // ink coverage 0..255, row after row
};

struct Cell {
    int x = 0;     // top-left pixel in the image
    int y = 0;
    int width = 0; // rectangle size, markers not included
    int height = 0;
};

void put(std::vector<std::uint8_t>& image, int x, int y, const std::uint8_t colour[4])
{
    std::copy(colour, colour + 4, &image[(std::size_t(y) * FontBaker::imageWidth + x) * 4]);
}

// Draws a glyph's ink, white over a dark outline grown round it, into its
// cell; nothing falls outside, where it would show in a neighbouring glyph.
void drawGlyph(std::vector<std::uint8_t>& image, const Glyph& glyph, const Cell& cell, int originX, int baseline)
{
    const auto inkAt = [&](int x, int y) -> float {
        x -= originX + glyph.left;
        y -= baseline - glyph.top;
        if (x < 0 || y < 0 || x >= glyph.width || y >= glyph.height)
            return 0.0f;
        return glyph.coverage[std::size_t(y) * glyph.width + x] / 255.0f;
    };
    const int reach = int(std::ceil(outlineRadius));
    for (int y = baseline - glyph.top - margin; y < baseline - glyph.top + glyph.height + margin; ++y) {
        for (int x = originX + glyph.left - margin; x < originX + glyph.left + glyph.width + margin; ++x) {
            const bool outside = x < cell.x || x >= cell.x + cell.width || y < cell.y || y >= cell.y + cell.height;
            if (outside || (x == cell.x && y == cell.y))
                continue;
            const float ink = inkAt(x, y);
            float outline = 0.0f;
            for (int dy = -reach; dy <= reach; ++dy) {
                for (int dx = -reach; dx <= reach; ++dx) {
                    const float distance = std::sqrt(float(dx * dx + dy * dy));
                    const float weight = std::clamp(outlineRadius + 0.5f - distance, 0.0f, 1.0f);
                    outline = std::max(outline, inkAt(x + dx, y + dy) * weight);
                }
            }
            outline *= outlineOpacity;
            // White ink over the outline; alpha is the union of both.
            const float alpha = ink + outline * (1.0f - ink);
            if (alpha <= 0.0f)
                continue;
            const float grey = (255.0f * ink + outlineShade * outline * (1.0f - ink)) / alpha;
            const std::uint8_t g = std::uint8_t(std::lround(grey));
            const std::uint8_t pixel[4] = {g, g, g, std::uint8_t(std::lround(alpha * 255.0f))};
            put(image, x, y, pixel);
        }
    }
}

bool renderGlyphs(std::vector<Glyph>& glyphs, int& ascent, int& descent)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "font: cannot start FreeType\n");
        return false;
    }
    FT_Face face = nullptr;
    bool ok = FT_New_Face(library, FontBaker::fontPath, 0, &face) == 0;
    if (!ok)
        std::fprintf(stderr, "font: cannot read %s (install fonts-dejavu-core)\n", FontBaker::fontPath);
    ok = ok && FT_Set_Pixel_Sizes(face, 0, FontBaker::pixelSize) == 0;
    if (ok) {
        ascent = int(face->size->metrics.ascender >> 6);
        descent = int((-face->size->metrics.descender) >> 6);
    }
    for (int c = firstCharacter; ok && c <= lastCharacter; ++c) {
        if (FT_Load_Char(face, FT_ULong(c), FT_LOAD_RENDER) != 0) {
            std::fprintf(stderr, "font: no glyph for '%c'\n", c);
            ok = false;
            break;
        }
        const FT_GlyphSlot slot = face->glyph;
        Glyph glyph;
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.width = int(slot->bitmap.width);
        glyph.height = int(slot->bitmap.rows);
        glyph.advance = int((slot->advance.x + 32) >> 6);
        glyph.coverage.resize(std::size_t(glyph.width) * glyph.height);
        for (int y = 0; y < glyph.height; ++y)
            std::copy(slot->bitmap.buffer + y * slot->bitmap.pitch, slot->bitmap.buffer + y * slot->bitmap.pitch + glyph.width,
                      glyph.coverage.begin() + std::size_t(y) * glyph.width);
        glyphs.push_back(std::move(glyph));
    }
    if (face)
        FT_Done_Face(face);
    FT_Done_FreeType(library);
    return ok;
}

} // namespace

const char* const FontBaker::fontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

bool FontBaker::bake(const std::string& resDir)
{
    std::vector<Glyph> glyphs;
    int ascent = 0;
    int descent = 0;
    if (!renderGlyphs(glyphs, ascent, descent))
        return false;

    // Every cell is as tall as a line of text. The engine puts the cells side
    // by side, so a cell's width is the spacing of the text: the pen's
    // advance, widened only where the ink and the inner pixel of its outline
    // would not fit. The outline's faint outer fringe may be cut there.
    const int cellHeight = ascent + descent + 2 * margin;
    std::vector<Cell> cells(glyphs.size());
    std::vector<int> penOffsets(glyphs.size());
    int x = 0;
    int y = 0;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const Glyph& g = glyphs[i];
        const int begin = g.width > 0 ? std::min(0, g.left - 1) : 0;
        const int end = g.width > 0 ? std::max(g.advance, g.left + g.width + 1) : g.advance;
        cells[i].width = end - begin;
        penOffsets[i] = -begin;
        // One free column and row between cells keeps the closing markers out of their neighbours.
        if (x + cells[i].width + 1 > int(imageWidth)) {
            x = 0;
            y += cellHeight + 1;
        }
        cells[i].x = x;
        cells[i].y = y;
        x += cells[i].width + 1;
    }
    unsigned imageHeight = 16;
    while (imageHeight < unsigned(y + cellHeight + 1))
        imageHeight *= 2;

    std::vector<std::uint8_t> image(std::size_t(imageWidth) * imageHeight * 4, 0);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        cells[i].height = cellHeight;
        drawGlyph(image, glyphs[i], cells[i], cells[i].x + penOffsets[i], cells[i].y + margin + ascent);
    }
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        put(image, cells[i].x, cells[i].y, openMarker);
        put(image, cells[i].x + cells[i].width, cells[i].y + cellHeight, closeMarker);
    }
    // The engine reads the colours of the markers and background from the
    // first three pixels; (0, 0) is already the space's opening marker and
    // the space has no ink, so (1, 0) and (2, 0) are free.
    put(image, 1, 0, closeMarker);
    put(image, 2, 0, background);

    const ImageSaver saver;
    return saver.saveRgba(resDir + "/" + ResourceTable::name(Resource::HudFont), imageWidth, imageHeight, image);
}

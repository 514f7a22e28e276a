#include "JpegFileCheck.h"

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include <jpeglib.h>

namespace {

const unsigned char MARKER = 0xFF;
const unsigned char START_OF_IMAGE = 0xD8;
const unsigned char END_OF_IMAGE = 0xD9;
const unsigned char START_OF_SCAN = 0xDA;

// Markers that stand alone, without a length: TEM and the restart markers.
bool standsAlone(unsigned char marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// The JPEG library's error exit, which must not return: back to the trial.
struct TrialErrors {
    jpeg_error_mgr manager;  // first, so the library's pointer to it is one to this
    std::jmp_buf trial;      // where decoding stops on an error
};

[[noreturn]] void stopTrial(j_common_ptr decoder)
{
    std::longjmp(reinterpret_cast<TrialErrors*>(decoder->err)->trial, 1);
}

void keepQuiet(j_common_ptr)
{
}

// Decodes the picture through to its end marker, as the engine's reader
// does. With texels, at full size into them, four bytes a pixel in the
// engine's A8R8G8B8 order, with the reader's own settings, so that they are
// the very texels the engine would have made of it; without, at an eighth
// of its size: every marker and every code is read all the same, at a
// fraction of the cost.
bool decodesWithoutError(const std::string& bytes, std::vector<unsigned char>* texels, unsigned* width,
                         unsigned* height)
{
    jpeg_decompress_struct decoder;
    TrialErrors errors;
    decoder.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = stopTrial;
    errors.manager.output_message = keepQuiet;
    jpeg_create_decompress(&decoder);
    if (setjmp(errors.trial)) {
        jpeg_destroy_decompress(&decoder);
        return false;
    }
    jpeg_mem_src(&decoder, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&decoder, TRUE);
    if (decoder.image_width > JpegFileCheck::maxSide || decoder.image_height > JpegFileCheck::maxSide) {
        jpeg_destroy_decompress(&decoder);
        return false;
    }
    // Four-channel pictures the engine converts its own way: checked only.
    if (decoder.jpeg_color_space == JCS_CMYK || decoder.jpeg_color_space == JCS_YCCK)
        texels = nullptr;
    if (texels) {
        // Blue, green, red, alpha in memory: a little-endian A8R8G8B8 texel.
        decoder.out_color_space = JCS_EXT_BGRA;
        decoder.do_fancy_upsampling = FALSE;
    } else {
        decoder.scale_num = 1;
        decoder.scale_denom = 8;
    }
    jpeg_start_decompress(&decoder);
    const std::size_t rowBytes = std::size_t(decoder.output_width) * decoder.output_components;
    if (texels) {
        texels->resize(rowBytes * decoder.output_height);
        while (decoder.output_scanline < decoder.output_height) {
            JSAMPROW row = texels->data() + rowBytes * decoder.output_scanline;
            jpeg_read_scanlines(&decoder, &row, 1);
        }
        *width = decoder.output_width;
        *height = decoder.output_height;
    } else {
        // Freed with the decoder, also when an error stops it.
        JSAMPARRAY row = (*decoder.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&decoder), JPOOL_IMAGE,
                                                      static_cast<JDIMENSION>(rowBytes), 1);
        while (decoder.output_scanline < decoder.output_height)
            jpeg_read_scanlines(&decoder, row, 1);
    }
    jpeg_finish_decompress(&decoder);
    jpeg_destroy_decompress(&decoder);
    return true;
}

// The file's segments, each within it, from the start marker to the end
// marker after the last scan.
bool segmentsAreWhole(const std::string& text)
{
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const std::size_t size = text.size();
    if (size < 4 || byte(0) != MARKER || byte(1) != START_OF_IMAGE)
        return false;

    std::size_t i = 2;
    bool inScan = false;
    while (i < size) {
        if (inScan) {
            // Entropy-coded data: a marker byte followed by zero is a data
            // byte, one followed by a restart marker or a fill byte stays in the scan.
            if (byte(i) == MARKER && i + 1 < size) {
                const unsigned char next = byte(i + 1);
                if (next == MARKER) {
                    ++i;
                    continue;
                }
                if (next != 0x00 && !standsAlone(next)) {
                    inScan = false;
                    continue;
                }
                i += 2;
                continue;
            }
            ++i;
            continue;
        }
        if (byte(i) != MARKER)
            return false;
        while (i < size && byte(i) == MARKER)
            ++i;
        if (i >= size)
            return false;
        const unsigned char marker = byte(i++);
        if (marker == END_OF_IMAGE)
            return true;
        if (standsAlone(marker))
            continue;
        if (i + 2 > size)
            return false;
        const std::size_t length = (std::size_t(byte(i)) << 8) | byte(i + 1);
        if (length < 2 || i + length > size)
            return false;
        i += length;
        inScan = marker == START_OF_SCAN;
    }
    return false;
}

} // namespace

bool JpegFileCheck::isWhole(const std::string& bytes)
{
    return segmentsAreWhole(bytes) && decodesWithoutError(bytes, nullptr, nullptr, nullptr);
}

bool JpegFileCheck::decodeWhole(const std::string& bytes, std::vector<unsigned char>& texels, unsigned& width,
                                unsigned& height)
{
    texels.clear();
    width = height = 0;
    return segmentsAreWhole(bytes) && decodesWithoutError(bytes, &texels, &width, &height);
}

bool JpegFileCheck::fileIsWhole(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return !file.bad() && isWhole(bytes);
}

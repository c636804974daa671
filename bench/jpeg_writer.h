#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace gamarium::bench {

// A baseline JPEG (4:2:0, quality 85) of a smooth colour pattern with some
// texture, like a scanned box cover; `metadataBytes` of APP1 data (as a
// camera's EXIF block) come before the frame header.
inline std::vector<std::uint8_t> makeJpeg(int width, int height, std::size_t metadataBytes = 0) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            p[0] = static_cast<std::uint8_t>(x * 255 / width);
            p[1] = static_cast<std::uint8_t>(y * 255 / height);
            p[2] = static_cast<std::uint8_t>((x * y + (x ^ y) * 7) & 0xFF);
        }
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_start_compress(&info, TRUE);
    for (std::size_t left = metadataBytes; left > 0;) {
        const std::size_t chunk = left < 65000 ? left : 65000;
        const std::vector<JOCTET> metadata(chunk, 0x2A);
        jpeg_write_marker(&info, JPEG_APP0 + 1, metadata.data(), static_cast<unsigned>(chunk));
        left -= chunk;
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = &rgb[static_cast<std::size_t>(info.next_scanline) * width * 3];
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> bytes(out, out + size);
    std::free(out);
    return bytes;
}

} // namespace gamarium::bench

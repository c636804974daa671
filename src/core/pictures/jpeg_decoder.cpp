#include "core/pictures/jpeg_decoder.h"

#include "core/error.h"
#include "core/pictures/decoder.h"

#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace gamarium::pictures {
namespace {

// A file with more scans than this is refused: a progressive file of a few
// kilobytes can otherwise hold thousands of empty scans, each of which costs
// a pass over the whole picture.
constexpr int kMaxScans = 500;

// libjpeg reports errors through callbacks that may not return; this one
// jumps back into decodeJpeg, which is written so that the jump skips no
// C++ destructor (every object lives from before the setjmp).
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf back;
    char message[JMSG_LENGTH_MAX];
};

void failJump(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->back, 1);
}

// Warnings that say the data is damaged or cut off make the file fail like
// an error; the rest (an unknown JFIF revision, stray bytes between
// markers, an odd Adobe transform code) leave a usable picture.
void warnOrFail(j_common_ptr info, int level) {
    if (level >= 0)
        return;
    switch (info->err->msg_code) {
    case JWRN_JFIF_MAJOR:
    case JWRN_ADOBE_XFORM:
    case JWRN_EXTRANEOUS_DATA:
    case JWRN_BOGUS_ICC:
        return;
    default:
        failJump(info);
    }
}

void limitScans(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans) {
        info->err->msg_code = JERR_BAD_PROGRESSION;
        failJump(info);
    }
}

void ignoreOutput(j_common_ptr) {}

std::uint8_t inkToLight(unsigned ink, unsigned black) { return static_cast<std::uint8_t>((ink * black + 127) / 255); }

// One scanline of CMYK samples to RGB. Adobe's files store the inks
// inverted (255 = no ink), which is what libjpeg hands out for them; other
// writers store them straight.
void cmykRowToRgb(const std::uint8_t* cmyk, std::uint8_t* rgb, int width, bool inverted) {
    for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const unsigned flip = inverted ? 0 : 255;
        const unsigned black = cmyk[3] ^ flip;
        for (int c = 0; c < 3; ++c)
            rgb[c] = inkToLight(cmyk[c] ^ flip, black);
    }
}

} // namespace

Picture decodeJpeg(std::span<const std::uint8_t> bytes) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    jpeg_progress_mgr progress{};
    Picture picture;
    std::vector<std::uint8_t> cmykRow;
    bool tooLarge = false;

    info.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = failJump;
    errors.pub.emit_message = warnOrFail;
    errors.pub.output_message = ignoreOutput;
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        throw Error(std::string("damaged JPEG file: ") + errors.message);
    }
    jpeg_create_decompress(&info);
    progress.progress_monitor = limitScans;
    info.progress = &progress;
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    tooLarge = !pictureSizeAllowed(info.image_width, info.image_height);
    if (!tooLarge) {
        const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
        info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
        jpeg_start_decompress(&info);
        picture.width = static_cast<int>(info.output_width);
        picture.height = static_cast<int>(info.output_height);
        const std::size_t stride = static_cast<std::size_t>(picture.width) * 3;
        picture.rgb.resize(stride * picture.height);
        cmykRow.resize(cmyk ? static_cast<std::size_t>(picture.width) * 4 : 0);
        while (info.output_scanline < info.output_height) {
            std::uint8_t* row = picture.rgb.data() + stride * info.output_scanline;
            JSAMPROW target = cmyk ? cmykRow.data() : row;
            jpeg_read_scanlines(&info, &target, 1);
            if (cmyk)
                cmykRowToRgb(cmykRow.data(), row, picture.width, info.saw_Adobe_marker);
        }
        jpeg_finish_decompress(&info);
    }
    jpeg_destroy_decompress(&info);
    if (tooLarge)
        throw Error("picture too large");
    return picture;
}

} // namespace gamarium::pictures

#include "jpeg_writer.h"
#include "ratio_reporter.h"

#include "core/pictures/decoder.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

// Decoding a 640 x 480 baseline JPEG through the program's decoder (file
// read, extension dispatch, libjpeg, size checks) against the plainest use
// of libjpeg-turbo: the same file read and decoded into an RGB buffer.
namespace {

namespace fs = std::filesystem;

const fs::path& jpegFile() {
    static const fs::path file = [] {
        const fs::path folder = fs::temp_directory_path() / ("gamarium-bench-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder);
        const auto bytes = gamarium::bench::makeJpeg(640, 480);
        std::ofstream(folder / "cover.jpg", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return folder / "cover.jpg";
    }();
    return file;
}

void BM_ProgramDecoder(benchmark::State& state) {
    for (auto _ : state) {
        const auto picture = gamarium::pictures::decodePicture(jpegFile());
        if (picture.width != 640)
            state.SkipWithError("decoding failed");
        benchmark::DoNotOptimize(picture.rgb.data());
    }
}
BENCHMARK(BM_ProgramDecoder)->Iterations(20)->Repetitions(200)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

void BM_PlainLibjpeg(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<unsigned char> bytes(fs::file_size(jpegFile()));
        std::ifstream(jpegFile(), std::ios::binary)
            .read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        jpeg_decompress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_RGB;
        jpeg_start_decompress(&info);
        std::vector<unsigned char> rgb(static_cast<std::size_t>(info.output_width) * info.output_height * 3);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = &rgb[static_cast<std::size_t>(info.output_scanline) * info.output_width * 3];
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(rgb.data());
    }
}
BENCHMARK(BM_PlainLibjpeg)->Iterations(20)->Repetitions(200)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    jpegFile(); // written before anything is timed
    const int result = gamarium::bench::runWithRatios(
        argc, argv,
        {{"640x480 JPEG, program's decoder vs plain libjpeg-turbo", "BM_ProgramDecoder/iterations:20/repeats:200",
          "BM_PlainLibjpeg/iterations:20/repeats:200", 1.2}});
    fs::remove_all(jpegFile().parent_path());
    return result;
}

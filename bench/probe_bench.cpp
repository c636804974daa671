#include "jpeg_writer.h"
#include "ratio_reporter.h"

#include "core/pictures/probe.h"

#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

// The size probe over 10,000 picture files of mixed formats, as the page
// generator runs it, against the least any probe must do: stat each file
// and read its first 4 KiB.
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr int kFiles = 10000;
constexpr int kWidth = 96;
constexpr int kHeight = 64;
constexpr std::size_t kPixelBytes = kWidth * kHeight * 3;

void put16(Bytes& b, unsigned v, bool big = false) {
    b.push_back(static_cast<std::uint8_t>(big ? v >> 8 : v));
    b.push_back(static_cast<std::uint8_t>(big ? v : v >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
Bytes withPixels(Bytes header) {
    header.resize(header.size() + kPixelBytes, 0x80);
    return header;
}

Bytes bmp() {
    Bytes b{'B', 'M'};
    put32(b, 54 + kPixelBytes);
    put32(b, 0);
    put32(b, 54);
    for (std::uint32_t v : {40u, unsigned(kWidth), unsigned(kHeight)})
        put32(b, v);
    put16(b, 1);
    put16(b, 24);
    b.resize(54, 0);
    return withPixels(b);
}

Bytes tga() {
    Bytes b{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    put16(b, kWidth);
    put16(b, kHeight);
    b.push_back(24);
    b.push_back(0);
    return withPixels(b);
}

Bytes ppm() {
    const std::string header = "P6\n" + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n255\n";
    return withPixels(Bytes(header.begin(), header.end()));
}

// Pixels first, the image directory at the end, as many writers place it.
Bytes tiff() {
    Bytes b{'I', 'I', 42, 0};
    put32(b, static_cast<std::uint32_t>(8 + kPixelBytes));
    b.resize(8 + kPixelBytes, 0x80);
    const std::array<std::array<std::uint32_t, 3>, 6> entries{{
        {256, 3, kWidth}, {257, 3, kHeight}, {258, 3, 8}, {262, 3, 2}, {273, 4, 8}, {277, 3, 3}}};
    put16(b, entries.size());
    for (const auto& [tag, type, value] : entries) {
        put16(b, tag);
        put16(b, type);
        put32(b, 1);
        put32(b, value);
    }
    put32(b, 0);
    return b;
}

Bytes sgi() {
    Bytes b;
    for (unsigned v : {474u, 0x0001u, 3u, unsigned(kWidth), unsigned(kHeight), 3u})
        put16(b, v, true);
    b.resize(512, 0);
    return withPixels(b);
}

const std::vector<fs::path>& pictureFiles() {
    static const std::vector<fs::path> files = [] {
        const fs::path folder = fs::temp_directory_path() / ("gamarium-bench-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder);
        const std::vector<std::pair<std::string, Bytes>> kinds = {
            {"jpg", gamarium::bench::makeJpeg(320, 240)},
            {"jpg", gamarium::bench::makeJpeg(320, 240, 20000)},
            {"bmp", bmp()}, {"tga", tga()}, {"ppm", ppm()}, {"tif", tiff()}, {"sgi", sgi()},
        };
        std::vector<fs::path> paths;
        for (int i = 0; i < kFiles; ++i) {
            const auto& [extension, bytes] = kinds[i % kinds.size()];
            paths.push_back(folder / ("picture" + std::to_string(i) + "." + extension));
            std::ofstream(paths.back(), std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        }
        return paths;
    }();
    return files;
}

void BM_ProbeSizes(benchmark::State& state) {
    for (auto _ : state) {
        int found = 0;
        for (const fs::path& file : pictureFiles())
            found += gamarium::pictures::probePictureSize(file).has_value();
        if (found != kFiles)
            state.SkipWithError("a picture was not probed");
    }
}
BENCHMARK(BM_ProbeSizes)->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

void BM_StatAndRead4K(benchmark::State& state) {
    std::array<char, 4096> head;
    for (auto _ : state) {
        std::uintmax_t total = 0;
        for (const fs::path& file : pictureFiles()) {
            total += fs::file_size(file);
            std::ifstream in(file, std::ios::binary);
            in.read(head.data(), head.size());
            total += static_cast<std::uintmax_t>(in.gcount());
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_StatAndRead4K)->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    pictureFiles(); // written before anything is timed
    const int result = gamarium::bench::runWithRatios(
        argc, argv,
        {{"Size probe vs stat + first 4 KiB, 10,000 files", "BM_ProbeSizes/iterations:1/repeats:9",
          "BM_StatAndRead4K/iterations:1/repeats:9", 2.0}});
    fs::remove_all(pictureFiles().front().parent_path());
    return result;
}

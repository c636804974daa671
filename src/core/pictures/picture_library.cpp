#include "core/error.h"
#include "core/files/shared_library.h"
#include "core/pictures/emf_decoder.h"
#include "core/pictures/magick_decoder.h"
#include "core/pictures/picture_module.h"

#include <filesystem>
#include <string>
#include <system_error>

// Where the module's decoders are compiled into the program itself (the
// sanitizer tests, the fuzzers), they are used as they are.
#pragma weak gamarium_decode_with_magick
#pragma weak gamarium_decode_emf

namespace gamarium::pictures {
namespace {

using MagickEntry = decltype(&gamarium_decode_with_magick);
using EmfEntry = decltype(&gamarium_decode_emf);

struct ModuleEntries {
    MagickEntry magick = nullptr;
    EmfEntry emf = nullptr;
    std::string problem; // why the module could not be loaded
};

// The module beside the program (a portable program folder), where the
// package puts it, then on the library path (the build tree's run path).
ModuleEntries loadModule() {
    if (gamarium_decode_with_magick && gamarium_decode_emf) return {gamarium_decode_with_magick, gamarium_decode_emf, {}};
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
    files::SharedLibrary library({(folder / kPictureModule).string(),
                                 (folder / GAMARIUM_PICTURE_MODULE_FROM_PROGRAM / kPictureModule).string(),
                                 kPictureModule});
    ModuleEntries entries{library.function<decltype(gamarium_decode_with_magick)>("gamarium_decode_with_magick"),
                          library.function<decltype(gamarium_decode_emf)>("gamarium_decode_emf"), library.problem()};
    if (!entries.problem.empty())
        entries.problem = std::string("Не найден модуль картинок ") + kPictureModule + " (" + entries.problem + ").";
    return entries;
}

// Loaded once, by the first picture that needs it, on whatever thread.
const ModuleEntries& module() {
    static const ModuleEntries entries = loadModule();
    return entries;
}

template <typename Call>
Picture throughModule(Call call) {
    Picture picture;
    std::string error;
    if (!call(&picture, &error)) throw Error(error);
    return picture;
}

} // namespace

Picture decodeWithMagick(std::span<const std::uint8_t> bytes, const MagickRequest& request) {
    const ModuleEntries& entries = module();
    if (!entries.magick) throw Error(entries.problem);
    return throughModule([&](Picture* picture, std::string* error) {
        return entries.magick(bytes.data(), bytes.size(), &request, picture, error);
    });
}

Picture decodeEmf(std::span<const std::uint8_t> bytes) {
    const ModuleEntries& entries = module();
    if (!entries.emf) throw Error(entries.problem);
    return throughModule(
        [&](Picture* picture, std::string* error) { return entries.emf(bytes.data(), bytes.size(), picture, error); });
}

} // namespace gamarium::pictures

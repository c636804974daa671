// A base's restore points as the program lists them and keeps them within
// the keeping rules, each read from the point.txt of its folder. The input
// is the point.txt files of points 1, 2, ... (at most four), each ended by a
// zero byte.
#include "fields_input.h"
#include "fuzz_folder.h"

#include "core/history/point_store.h"

#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace gamarium;
    const history::PointStore points(fuzz::folder(), "games", [] { return std::int64_t{1'700'000'000}; });
    std::filesystem::remove_all(points.folder());
    std::string_view rest = fuzz::asText(data, size);
    for (int id = 1; id <= 4 && !rest.empty(); ++id)
        fuzz::writeFile(points.folder() / std::to_string(id) / "point.txt", fuzz::takeField(rest));
    for (const history::Point& point : points.points()) {
        if (point.id < 1 || point.id > 4 || point.what.find('\n') != std::string::npos) __builtin_trap();
        history::localTimeText(point.time);
    }
    points.keepWithinRules();
    return 0;
}

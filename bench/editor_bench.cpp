// The record editor on a base of 30,000 games whose first picture is a
// 640x480 JPEG: opening the editor until that picture shows, and one
// navigator step (the move, the picture refresh and the field colours)
// against decoding the JPEG alone, which every step does once.
#include "core/files/system.h"
#include "core/pictures/decoder.h"
#include "core/store/catalogue.h"
#include "core/store/table.h"
#include "gui/app/application.h"
#include "gui/app/windows.h"
#include "gui/editor/editor_window.h"
#include "gui/widgets/navigator_bar.h"
#include "jpeg_writer.h"
#include "ratio_reporter.h"

#include <QFrame>
#include <QToolButton>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using namespace gamarium;

constexpr int kGames = 30000;

struct Bench {
    fs::path home = fs::temp_directory_path() / "gamarium-editor-bench";
    fs::path picture;
    std::unique_ptr<gui::Windows> windows;

    Bench() {
        fs::remove_all(home);
        fs::create_directories(home);
        store::createBase(home, "bench", false);
        store::Table games(store::basesFolder(home), "bench.db");
        games.open();
        games.runAsOneTransaction([&] {
            for (int i = 0; i < kGames; ++i) {
                games.append();
                games.fieldByName("N").setAsInteger(i % 30000);
                games.fieldByName("Name").setAsString(text::StoredText::fromCp1251("Game " + std::to_string(i)));
                games.fieldByName("Sid").setAsString("a"_stored);
                games.fieldByName("Image1").setAsString("p.jpg"_stored);
                games.post();
            }
        });
        fs::create_directories(home / "images" / "bench" / "a");
        picture = home / "images" / "bench" / "a" / "p.jpg";
        const auto bytes = bench::makeJpeg(640, 480);
        std::ofstream(picture, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                      static_cast<std::streamsize>(bytes.size()));
        windows = std::make_unique<gui::Windows>(home);
    }
    void finish() {
        windows->form2()->FormClose();
        windows.reset();
        fs::remove_all(home);
    }
};

Bench& editorBench() {
    static Bench instance;
    return instance;
}

void BM_OpenEditor(benchmark::State& state) {
    gui::TForm2* editor = editorBench().windows->form2();
    for (auto _ : state) {
        editor->FormShow("bench");
        state.PauseTiming();
        if (!editor->previewPanel()->isVisibleTo(editor)) state.SkipWithError("no picture shown");
        editor->FormClose();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenEditor)->Iterations(1)->Repetitions(20)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

void BM_NavigatorStep(benchmark::State& state) {
    gui::TForm2* editor = editorBench().windows->form2();
    editor->FormShow("bench");
    auto* navigator = editor->findChild<gui::NavigatorBar*>(QStringLiteral("DBNavigator"));
    for (auto _ : state) navigator->button(gui::NavigatorBar::Button::Next)->click();
    editor->FormClose();
}
BENCHMARK(BM_NavigatorStep)->Iterations(1)->Repetitions(1000)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

void BM_DecodeJpeg(benchmark::State& state) {
    const fs::path& file = editorBench().picture;
    for (auto _ : state) benchmark::DoNotOptimize(pictures::decodePicture(file));
}
BENCHMARK(BM_DecodeJpeg)->Iterations(1)->Repetitions(1000)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    files::reuseFreedMemory(); // as the program does
    qputenv("QT_QPA_PLATFORM", "offscreen");
    gui::Application app(argc, argv);
    editorBench();
    const int result = bench::runWithRatios(argc, argv,
                                {{"navigator step (move, picture, colours) vs the JPEG decode alone",
                                  "BM_NavigatorStep/iterations:1/repeats:1000", "BM_DecodeJpeg/iterations:1/repeats:1000",
                                  1.5}});
    editorBench().finish(); // while the application object still lives
    return result;
}

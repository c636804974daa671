#include "core/pages/report_line.h"

namespace gamarium::pages {

std::string reportLine(const GenerationReport& report) {
    return "Записано страниц: " + std::to_string(report.pagesWritten) +
           ", без изменений: " + std::to_string(report.pagesUnchanged);
}

} // namespace gamarium::pages

#include "core/pages/report_line.h"

namespace gamarium::pages {

std::string reportLine(const GenerationReport& report) {
    std::string line = "Записано страниц: " + std::to_string(report.pagesWritten) +
                       ", без изменений: " + std::to_string(report.pagesUnchanged);
    if (report.pagesRemoved > 0) line += ", удалено: " + std::to_string(report.pagesRemoved);
    return line;
}

} // namespace gamarium::pages

#include "core/editor/picture_slots.h"

namespace gamarium::editor {

std::string minus(std::string_view name) {
    static constexpr std::string_view kDropped = "'[!]\",<>;:/\\`~@#$%^&*()";
    std::string prefix;
    for (const char c : name) {
        if (kDropped.find(c) != std::string_view::npos) continue;
        prefix += c == ' ' ? '_' : c;
    }
    return prefix;
}

char slotOf(std::string_view controlName) {
    return controlName.empty() ? '\0' : controlName.back();
}

int pictureFieldOf(char slot) {
    if (slot == 'e' || slot == '1') return 1;
    if (slot >= '2' && slot <= '5') return slot - '0';
    return 0;
}

std::string pictureFieldName(int number) {
    return "Image" + std::to_string(number);
}

} // namespace gamarium::editor

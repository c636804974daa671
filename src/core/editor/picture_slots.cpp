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
    if (slot >= '2' && slot - '0' <= static_cast<int>(store::games::kPictureFields.size())) return slot - '0';
    return 0;
}

store::FieldKey pictureField(int number) {
    return store::games::kPictureFields.at(static_cast<std::size_t>(number - 1));
}

} // namespace gamarium::editor

#pragma once

#include <cstdint>
#include <span>

namespace gamarium::pictures {

// Walks the records of a Windows metafile (with or without the placeable
// header) before GraphicsMagick plays it through libwmf, which trusts
// them: every record must lie inside the file, the records must end with
// a proper end record, every object a record selects or deletes must have
// been created and not yet deleted, and nothing may be drawn while a
// deleted object is still the selected one of its kind. Throws Error
// otherwise.
void requireSoundMetafile(std::span<const std::uint8_t> bytes);

} // namespace gamarium::pictures

// Full names of the faces of a font file, read from their `name` tables with a
// bounds-checked reader of the SFNT container (single fonts and collections).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/byte_source.h"

namespace lumo::index {

enum class FullNameStatus {
    Found,       // `full_name` holds the face's full name (possibly empty)
    NoFullName,  // the face has no name-ID-4 record: it is not indexed
    Error,       // the face cannot be read, or one of its name-ID-4 records cannot be decoded
};

struct FullNameResult {
    FullNameStatus status = FullNameStatus::Error;
    std::string full_name;  // UTF-8, white space stripped at both ends
};

/// The full name of a file holding one font (TrueType, OpenType/CFF or Apple
/// 'true' outlines). A collection file is an error here, as is anything that
/// is not a font.
FullNameResult read_single_font_full_name(base::ByteSource& source);

/// The table-directory offsets of a collection's faces, in face order;
/// nullopt when `source` is not a readable collection.
std::optional<std::vector<std::uint32_t>> read_collection_face_offsets(base::ByteSource& source);

/// The full name of the collection face whose table directory starts at `directory_offset`.
FullNameResult read_collection_face_full_name(base::ByteSource& source, std::uint32_t directory_offset);

}  // namespace lumo::index

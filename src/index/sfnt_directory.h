// The table directory of one SFNT face: which tables it has and where in the
// file each one lies.
#pragma once

#include <cstdint>
#include <optional>

#include "base/byte_source.h"

namespace lumo::index::detail {

/// A table's place in the file, as its directory entry states it (not yet
/// checked against the file's size).
struct TableLocation {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

/// Whether `version` starts the directory of one face: TrueType outlines
/// (0x00010000 or Apple's 'true') or CFF outlines ('OTTO').
bool is_single_face_version(std::uint32_t version);

/// The entry of table `tag` in the directory that starts at `directory_offset`;
/// nullopt when the directory is not one face's (see `is_single_face_version`),
/// runs past the end of the file, has more than `kMaxSfntTables` entries, or
/// has no such table. A tag listed twice resolves to its last entry.
std::optional<TableLocation> find_table(base::ByteSource& source, std::uint64_t directory_offset, std::uint32_t tag);

}  // namespace lumo::index::detail

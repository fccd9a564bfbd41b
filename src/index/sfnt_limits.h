// Caps on the counts and sizes the SFNT name reader accepts from a font file.
// A file that asks for more is refused, so hostile counts never drive allocations.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumo::index {

/// Table-directory entries of one face. Real fonts carry a few dozen; the
/// format allows 65535.
inline constexpr std::uint32_t kMaxSfntTables = 1024;

/// Faces of one collection. The largest collections in use hold a few hundred.
inline constexpr std::uint32_t kMaxCollectionFaces = 4096;

/// Name records of one `name` table that lie inside the table. The string
/// storage starts at a 16-bit offset after the records, so a well-formed
/// table holds at most this many (5460).
inline constexpr std::uint32_t kMaxNameRecords = (0xFFFF - 6) / 12;

/// Strings of the full-name records are fetched with one read when they lie
/// within this span of the string storage, one read per record otherwise.
inline constexpr std::size_t kNameStringWindowBytes = 64 * 1024;

}  // namespace lumo::index

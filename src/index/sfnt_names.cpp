// Full names of single fonts and of the faces of collections ('ttcf' files):
// the container is located here, the names are read by the name-table reader.
#include "index/sfnt_names.h"

#include <array>

#include "base/big_endian.h"
#include "index/name_table.h"
#include "index/sfnt_directory.h"
#include "base/limits.h"

namespace lumo::index {
namespace {

constexpr std::size_t kCollectionHeaderBytes = 12;  // tag, version, face count

FullNameResult read_face_full_name(base::ByteSource& source, std::uint64_t directory_offset) {
    auto name_table = detail::find_table(source, directory_offset, base::detail::sfnt_tag("name"));
    if (!name_table) return {};  // not a face, or no name table: it cannot be read
    return detail::read_full_name(source, *name_table);
}

}  // namespace

FullNameResult read_single_font_full_name(base::ByteSource& source) { return read_face_full_name(source, 0); }

std::optional<std::vector<std::uint32_t>> read_collection_face_offsets(base::ByteSource& source) {
    std::array<std::uint8_t, kCollectionHeaderBytes> header{};
    if (!source.read(0, header)) return std::nullopt;
    if (base::detail::load_u32(header, 0) != base::detail::sfnt_tag("ttcf")) return std::nullopt;
    const std::uint32_t version = base::detail::load_u32(header, 4);
    if (version != 0x00010000 && version != 0x00020000) return std::nullopt;
    const std::uint32_t face_count = base::detail::load_u32(header, 8);
    if (face_count > kMaxCollectionFaces) return std::nullopt;

    std::vector<std::uint8_t> offset_bytes(std::size_t{face_count} * 4);
    if (!source.read(kCollectionHeaderBytes, offset_bytes)) return std::nullopt;
    std::vector<std::uint32_t> offsets(face_count);
    for (std::size_t face = 0; face < face_count; ++face) offsets[face] = base::detail::load_u32(offset_bytes, face * 4);
    return offsets;
}

FullNameResult read_collection_face_full_name(base::ByteSource& source, std::uint32_t directory_offset) {
    return read_face_full_name(source, directory_offset);
}

}  // namespace lumo::index

// Reading an SFNT table directory: the 12-byte offset table, then 16-byte
// entries (tag, checksum, offset, length), each count checked against its cap.
#include "index/sfnt_directory.h"

#include <array>
#include <vector>

#include "base/big_endian.h"
#include "base/limits.h"

namespace lumo::index::detail {
namespace {

constexpr std::size_t kOffsetTableBytes = 12;
constexpr std::size_t kDirectoryEntryBytes = 16;

}  // namespace

bool is_single_face_version(std::uint32_t version) {
    return version == 0x00010000 || version == base::detail::sfnt_tag("OTTO") || version == base::detail::sfnt_tag("true");
}

std::optional<TableLocation> find_table(base::ByteSource& source, std::uint64_t directory_offset, std::uint32_t tag) {
    std::array<std::uint8_t, kOffsetTableBytes> header{};
    if (!source.read(directory_offset, header)) return std::nullopt;
    if (!is_single_face_version(base::detail::load_u32(header, 0))) return std::nullopt;
    const std::uint16_t table_count = base::detail::load_u16(header, 4);
    if (table_count > kMaxSfntTables) return std::nullopt;

    std::vector<std::uint8_t> entries(std::size_t{table_count} * kDirectoryEntryBytes);
    if (!source.read(directory_offset + kOffsetTableBytes, entries)) return std::nullopt;
    std::optional<TableLocation> found;
    for (std::size_t at = 0; at < entries.size(); at += kDirectoryEntryBytes) {
        // A duplicated tag is malformed; the last entry wins, as in common font tools.
        if (base::detail::load_u32(entries, at) == tag) found = TableLocation{base::detail::load_u32(entries, at + 8), base::detail::load_u32(entries, at + 12)};
    }
    return found;
}

}  // namespace lumo::index::detail

// Assembles small SFNT fonts and collections in memory for the name-reader
// tests: a table directory, a `name` table with records in a chosen order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumo::test {

using Bytes = std::vector<std::uint8_t>;

inline void put_u16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

inline void put_u32(Bytes& out, std::uint32_t value) {
    put_u16(out, value >> 16);
    put_u16(out, value & 0xFFFF);
}

inline void set_u16(Bytes& out, std::size_t at, std::uint32_t value) {
    out.at(at) = static_cast<std::uint8_t>(value >> 8);
    out.at(at + 1) = static_cast<std::uint8_t>(value);
}

inline void set_u32(Bytes& out, std::size_t at, std::uint32_t value) {
    set_u16(out, at, value >> 16);
    set_u16(out, at + 2, value & 0xFFFF);
}

constexpr std::uint32_t tag(const char (&text)[5]) {
    return std::uint32_t(std::uint8_t(text[0])) << 24 | std::uint32_t(std::uint8_t(text[1])) << 16 |
           std::uint32_t(std::uint8_t(text[2])) << 8 | std::uint32_t(std::uint8_t(text[3]));
}

inline Bytes bytes_of(std::string_view text) { return Bytes(text.begin(), text.end()); }

inline Bytes utf16be(std::u16string_view text) {
    Bytes out;
    for (char16_t unit : text) put_u16(out, unit);
    return out;
}

struct NameRecord {
    std::uint16_t platform_id = 3;
    std::uint16_t encoding_id = 1;
    std::uint16_t language_id = 0x409;
    std::uint16_t name_id = 4;
    Bytes string;
};

/// A Windows Unicode full-name record, the kind almost every font carries.
inline NameRecord windows_full_name(std::u16string_view text, std::uint16_t language_id = 0x409) {
    return {3, 1, language_id, 4, utf16be(text)};
}

/// A format-0 `name` table holding `records` in the given order, strings
/// stored one after another.
inline Bytes name_table(const std::vector<NameRecord>& records, std::uint16_t format = 0) {
    Bytes table;
    put_u16(table, format);
    put_u16(table, static_cast<std::uint32_t>(records.size()));
    put_u16(table, static_cast<std::uint32_t>(6 + 12 * records.size()));
    Bytes storage;
    for (const NameRecord& record : records) {
        put_u16(table, record.platform_id);
        put_u16(table, record.encoding_id);
        put_u16(table, record.language_id);
        put_u16(table, record.name_id);
        put_u16(table, static_cast<std::uint32_t>(record.string.size()));
        put_u16(table, static_cast<std::uint32_t>(storage.size()));
        storage.insert(storage.end(), record.string.begin(), record.string.end());
    }
    table.insert(table.end(), storage.begin(), storage.end());
    return table;
}

struct Table {
    std::uint32_t tag;
    Bytes data;
};

constexpr std::size_t kDirectoryHeaderBytes = 12;
constexpr std::size_t kDirectoryEntryBytes = 16;

/// A face: offset table, directory, then the tables in the given order. Table
/// offsets count from the start of the file, in which the face begins at `base`.
inline Bytes sfnt(const std::vector<Table>& tables, std::uint32_t version = 0x00010000, std::uint32_t base = 0) {
    Bytes out;
    put_u32(out, version);
    put_u16(out, static_cast<std::uint32_t>(tables.size()));
    put_u16(out, 0);  // searchRange, entrySelector, rangeShift: unused by the reader
    put_u16(out, 0);
    put_u16(out, 0);
    std::uint32_t offset = static_cast<std::uint32_t>(base + kDirectoryHeaderBytes + kDirectoryEntryBytes * tables.size());
    for (const Table& table : tables) {
        put_u32(out, table.tag);
        put_u32(out, 0);  // checksum: not verified
        put_u32(out, offset);
        put_u32(out, static_cast<std::uint32_t>(table.data.size()));
        offset += static_cast<std::uint32_t>(table.data.size());
    }
    for (const Table& table : tables) out.insert(out.end(), table.data.begin(), table.data.end());
    return out;
}

/// A font whose only table is a `name` table with `records`.
inline Bytes font_with_names(const std::vector<NameRecord>& records, std::uint32_t version = 0x00010000) {
    return sfnt({{tag("name"), name_table(records)}}, version);
}

/// A collection of faces, each given as its list of tables.
inline Bytes collection(const std::vector<std::vector<Table>>& faces, std::uint32_t version = 0x00010000) {
    Bytes out;
    put_u32(out, tag("ttcf"));
    put_u32(out, version);
    put_u32(out, static_cast<std::uint32_t>(faces.size()));
    const std::size_t offsets_at = out.size();
    out.resize(out.size() + 4 * faces.size());
    for (std::size_t face = 0; face < faces.size(); ++face) {
        set_u32(out, offsets_at + 4 * face, static_cast<std::uint32_t>(out.size()));
        Bytes face_bytes = sfnt(faces[face], 0x00010000, static_cast<std::uint32_t>(out.size()));
        out.insert(out.end(), face_bytes.begin(), face_bytes.end());
    }
    return out;
}

}  // namespace lumo::test

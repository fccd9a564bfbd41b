// Reading the name-ID-4 records of a `name` table (format 0 or 1) with a few
// positioned reads: the header, the record array, then the strings.
#include "index/name_table.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "base/big_endian.h"
#include "index/name_decoding.h"
#include "base/limits.h"
#include "index/text_rules.h"

namespace lumo::index::detail {
namespace {

constexpr std::size_t kHeaderBytes = 6;
constexpr std::size_t kRecordBytes = 12;
constexpr std::uint16_t kFullNameId = 4;

struct FullNameRecord {
    std::uint16_t platform_id;
    std::uint16_t encoding_id;
    std::uint16_t language_id;
    std::uint32_t string_offset;  // from the start of the string storage
    std::uint32_t string_length;
};

/// Reads the strings of `records` from the storage at `storage_start`: one
/// read when they lie close together, one per record otherwise. Empty strings
/// need no read, so a storage that starts past the file's end still yields them.
std::optional<std::vector<std::vector<std::uint8_t>>> read_strings(base::ByteSource& source, std::uint64_t storage_start,
                                                                   const std::vector<FullNameRecord>& records) {
    std::uint32_t span_start = UINT32_MAX;
    std::uint32_t span_end = 0;
    for (const FullNameRecord& record : records) {
        span_start = std::min(span_start, record.string_offset);
        span_end = std::max(span_end, record.string_offset + record.string_length);
    }
    std::vector<std::vector<std::uint8_t>> strings;
    strings.reserve(records.size());
    if (span_end - span_start <= kNameStringWindowBytes) {
        std::vector<std::uint8_t> window(span_end - span_start);
        if (!window.empty() && !source.read(storage_start + span_start, window)) return std::nullopt;
        for (const FullNameRecord& record : records) {
            auto first = window.begin() + (record.string_offset - span_start);
            strings.emplace_back(first, first + record.string_length);
        }
        return strings;
    }
    for (const FullNameRecord& record : records) {
        std::vector<std::uint8_t> bytes(record.string_length);
        if (!bytes.empty() && !source.read(storage_start + record.string_offset, bytes)) return std::nullopt;
        strings.push_back(std::move(bytes));
    }
    return strings;
}

}  // namespace

FullNameResult read_full_name(base::ByteSource& source, TableLocation table) {
    const FullNameResult error;  // status Error
    if (table.offset > source.size() || table.length > source.size() - table.offset) return error;
    if (table.length < kHeaderBytes) return error;

    std::array<std::uint8_t, kHeaderBytes> header{};
    if (!source.read(table.offset, header)) return error;
    const std::uint16_t format = base::detail::load_u16(header, 0);
    if (format > 1) return error;
    const std::uint16_t declared_count = base::detail::load_u16(header, 2);
    const std::uint16_t storage_offset = base::detail::load_u16(header, 4);

    // Records that would run past the end of the table are malformed: skipped.
    const std::size_t record_count = std::min<std::size_t>(declared_count, (table.length - kHeaderBytes) / kRecordBytes);
    if (record_count > kMaxNameRecords) return error;
    std::vector<std::uint8_t> record_bytes(record_count * kRecordBytes);
    if (!source.read(std::uint64_t{table.offset} + kHeaderBytes, record_bytes)) return error;

    // A storage offset past the end leaves an empty storage, which still holds empty strings at offset 0.
    const std::uint32_t storage_length = table.length > storage_offset ? table.length - storage_offset : 0;
    std::vector<FullNameRecord> full_names;
    for (std::size_t at = 0; at < record_bytes.size(); at += kRecordBytes) {
        if (base::detail::load_u16(record_bytes, at + 6) != kFullNameId) continue;
        FullNameRecord record{base::detail::load_u16(record_bytes, at), base::detail::load_u16(record_bytes, at + 2), base::detail::load_u16(record_bytes, at + 4),
                              base::detail::load_u16(record_bytes, at + 10), base::detail::load_u16(record_bytes, at + 8)};
        if (record.string_offset + record.string_length > storage_length) continue;  // malformed: skipped
        full_names.push_back(record);
    }
    if (full_names.empty()) return {FullNameStatus::NoFullName, {}};

    auto strings = read_strings(source, std::uint64_t{table.offset} + storage_offset, full_names);
    if (!strings) return error;
    std::optional<std::string> first_name;
    for (std::size_t i = 0; i < full_names.size(); ++i) {
        const FullNameRecord& record = full_names[i];
        auto text = decode_name_record(record.platform_id, record.encoding_id, record.language_id, (*strings)[i]);
        if (!text) return error;
        if (!first_name) first_name = std::move(text);
    }
    return {FullNameStatus::Found, std::string(strip_text(*first_name))};
}

}  // namespace lumo::index::detail

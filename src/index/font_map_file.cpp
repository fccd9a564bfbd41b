// Writes the index cache file in the layout the host's json.dumps(indent=2,
// ensure_ascii=False) gives it, so files written by either read the same.
#include "index/font_map_file.h"

#include "base/strict_utf8.h"

namespace lumo::index {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void append_u_escape(std::string& out, unsigned code) {
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHexDigits[(code >> shift) & 0xF];
}

/// The string literal of `bytes`. Well-formed UTF-8 is kept as it is; an
/// encoded surrogate (when `keep_surrogates`) becomes its \udXXX escape and any
/// other undecodable byte its surrogateescape form \udcXX, so the output is
/// always valid UTF-8 and reads back as the host's text of the same bytes.
/// (Path escapes are all low surrogates, so two never pair up into one
/// character on reading; only a name holding a lone high surrogate right
/// before a lone low one could, as with any JSON writer.)
void append_literal(std::string& out, std::string_view bytes, bool keep_surrogates) {
    out += '"';
    std::size_t run = 0;  // start of the bytes not yet copied
    std::size_t at = 0;
    auto flush = [&] { out.append(bytes, run, at - run); };
    while (at < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[at]);
        if (c >= 0x80) {
            const std::string_view rest = bytes.substr(at);
            if (const std::size_t length = base::utf8_sequence_length(rest)) {
                at += length;
                continue;
            }
            flush();
            if (keep_surrogates && base::starts_with_encoded_surrogate(rest)) {
                const unsigned code = 0xD000 | ((rest[1] & 0x3F) << 6) | (rest[2] & 0x3F);
                append_u_escape(out, code);
                at += 3;
            } else {
                append_u_escape(out, 0xDC00 | c);
                at += 1;
            }
            run = at;
            continue;
        }
        if (c >= 0x20 && c != '"' && c != '\\') {
            ++at;
            continue;
        }
        flush();
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default: append_u_escape(out, c); break;
        }
        run = ++at;
    }
    flush();
    out += '"';
}

/// Writes `"name": ` at the indent of an object's members.
void append_member_name(std::string& out, std::string_view indent, std::string_view name) {
    out += indent;
    append_json_string(out, name);
    out += ": ";
}

/// Writes the members of one map of the index, `write_value` writing each value.
template <typename Value, typename WriteValue>
void append_map(std::string& out, const OrderedMap<Value>& map, WriteValue write_value) {
    if (map.empty()) {
        out += "{}";
        return;
    }
    out += "{\n";
    bool first = true;
    for (const auto& [key, value] : map.entries()) {
        if (!first) out += ",\n";
        first = false;
        append_member_name(out, "    ", key);
        write_value(value);
    }
    out += "\n  }";
}

}  // namespace

void append_json_string(std::string& out, std::string_view utf8) { append_literal(out, utf8, true); }

void append_json_path(std::string& out, std::string_view path_bytes) { append_literal(out, path_bytes, false); }

std::string font_map_json(std::string_view timestamp, const FontMap& map) {
    std::string out;
    // About the size of the file, so that it grows once or twice at most.
    out.reserve(64 + timestamp.size() + map.paths.size() * 120 + map.names.size() * 60);
    out += "{\n";
    append_member_name(out, "  ", "_timestamp");
    append_json_string(out, timestamp);
    out += ",\n";
    append_member_name(out, "  ", "paths");
    append_map(out, map.paths, [&out](const PathRecord& record) {
        out += "[\n      ";
        append_json_path(out, record.path);
        out += ",\n      ";
        out += std::to_string(record.face_index);
        out += "\n    ]";
    });
    out += ",\n";
    append_member_name(out, "  ", "names");
    append_map(out, map.names, [&out](const std::string& full_name) { append_json_string(out, full_name); });
    out += "\n}";
    return out;
}

bool is_written_face_index(long long number) {
    return number >= -1 && number <= static_cast<long long>(kMaxCollectionFaces);
}

std::string shortened_repr(std::string_view repr) {
    constexpr std::size_t kShownBytes = 60;
    if (repr.size() <= kShownBytes) return std::string(repr);
    return std::string(repr.substr(0, kShownBytes)) + "...";
}

std::string bad_path_record_message(std::string_view name_repr, std::string_view record_repr) {
    return "index entry " + shortened_repr(name_repr) + " of \"paths\" is not [path, face index]: " +
           shortened_repr(record_repr);
}

std::string bad_names_message(std::string_view names_repr) {
    return "\"names\" of the index is not an object: " + shortened_repr(names_repr);
}

std::string bad_alias_message(std::string_view alias_repr, std::string_view full_name_repr) {
    return "index alias " + shortened_repr(alias_repr) + " names no face of \"paths\": " +
           shortened_repr(full_name_repr);
}

}  // namespace lumo::index

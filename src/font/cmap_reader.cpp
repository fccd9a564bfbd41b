// Reads which code points a face covers from its preferred Unicode character
// map, with a FreeType instance of its own per call.
#include "font/cmap_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <new>
#include <optional>
#include <span>
#include <vector>

#include "base/freetype_handles.h"
#include "base/big_endian.h"
#include "base/byte_source.h"

#include FT_TRUETYPE_TABLES_H

namespace lumo::font {
namespace {

using base::detail::sfnt_tag;

struct CmapId {
    FT_UShort platform_id;
    FT_UShort encoding_id;
};

// Full-repertoire maps before BMP-only ones, and within each the Windows
// platform before the Unicode platform: the order HarfBuzz and fontTools use.
constexpr std::array<CmapId, 8> kPreferredUnicodeMaps = {
    {{3, 10}, {0, 6}, {0, 4}, {3, 1}, {0, 3}, {0, 2}, {0, 1}, {0, 0}}};

// FreeType reads bits 16 and up of a face index as a variable font's named
// instance, so a larger index never names a face of a collection.
constexpr int kMaxCollectionFaceIndex = 0xFFFF;

enum class FontFileKind { unreadable, collection, single_font };

/// What the file's first four bytes say it holds. FreeType would also open
/// Type 1, bitmap and resource-fork fonts; none of those has a `cmap` table.
FontFileKind font_file_kind(base::FileByteSource& file) {
    std::array<std::uint8_t, 4> signature{};
    if (!file.is_open() || !file.read(0, signature)) return FontFileKind::unreadable;
    switch (base::detail::load_u32(signature, 0)) {
        case sfnt_tag("ttcf"):
            return FontFileKind::collection;
        case 0x00010000:
        case sfnt_tag("OTTO"):
        case sfnt_tag("true"):
        case sfnt_tag("wOFF"):
        case sfnt_tag("wOF2"):
            return FontFileKind::single_font;
        default:
            return FontFileKind::unreadable;
    }
}

/// FreeType's view of the open file: positioned reads of what it asks for.
/// FreeType would otherwise map the file into memory, and a file cut short
/// while mapped ends the process.
unsigned long read_for_freetype(FT_Stream stream, unsigned long offset, unsigned char* buffer, unsigned long count) {
    auto* file = static_cast<base::FileByteSource*>(stream->descriptor.pointer);
    if (count == 0) return offset <= file->size() ? 0 : 1;  // a seek: non-zero refuses it
    if (offset >= file->size()) return 0;
    const unsigned long available = std::min<unsigned long>(count, file->size() - offset);
    return file->read(offset, std::span<std::uint8_t>(buffer, available)) ? available : 0;
}

/// The index to hand FreeType, or nullopt when the asked face cannot exist.
std::optional<FT_Long> freetype_face_index(FontFileKind kind, int face_index) {
    switch (kind) {
        case FontFileKind::collection:
            if (face_index < 0 || face_index > kMaxCollectionFaceIndex) return std::nullopt;
            return face_index;
        case FontFileKind::single_font:
            return 0;
        case FontFileKind::unreadable:
            break;
    }
    return std::nullopt;
}

/// The first preferred map in the face's `cmap` table, or null. FreeType
/// synthesises a Unicode map from glyph names for a CFF font that lacks one;
/// such a map has no subtable format, and it does not count.
FT_CharMap preferred_unicode_map(FT_Face face) {
    for (const CmapId& wanted : kPreferredUnicodeMaps) {
        for (FT_Int i = 0; i < face->num_charmaps; ++i) {
            FT_CharMap charmap = face->charmaps[i];
            if (charmap->platform_id == wanted.platform_id && charmap->encoding_id == wanted.encoding_id &&
                FT_Get_CMap_Format(charmap) >= 0)
                return charmap;
        }
    }
    return nullptr;
}

/// The code points the face's selected map gives a glyph, up to U+10FFFF.
/// A hostile map may claim all 2^32 codes; the walk stops at the end of
/// Unicode, so it takes at most 1,114,112 steps.
CodePointSet walk_selected_map(FT_Face face) {
    std::vector<CodePointRange> ranges;
    FT_UInt glyph_index = 0;
    FT_ULong code_point = FT_Get_First_Char(face, &glyph_index);
    while (glyph_index != 0 && code_point <= kMaxCodePoint) {
        const auto code = static_cast<std::uint32_t>(code_point);
        if (!ranges.empty() && code == ranges.back().last + 1) {
            ranges.back().last = code;
        } else {
            ranges.push_back({code, code});
        }
        const FT_ULong next = FT_Get_Next_Char(face, code_point, &glyph_index);
        if (next <= code_point) break;  // codes must rise; anything else would loop
        code_point = next;
    }
    return CodePointSet::from_ranges(std::move(ranges));
}

}  // namespace

CodePointSet read_unicode_coverage(const std::string& path, int face_index) {
    // Only a regular file opens, so a FIFO or device at the path cannot block us.
    base::FileByteSource file(path);
    const std::optional<FT_Long> freetype_index = freetype_face_index(font_file_kind(file), face_index);
    if (!freetype_index) return {};

    base::FtLibraryPtr library = base::make_ft_library();
    // Out of memory is no property of the font: it must not be remembered as "covers nothing".
    if (!library) throw std::bad_alloc();
    FT_StreamRec stream{};
    stream.size = static_cast<unsigned long>(file.size());
    stream.descriptor.pointer = &file;
    stream.read = &read_for_freetype;
    FT_Open_Args arguments{};
    arguments.flags = FT_OPEN_STREAM;
    arguments.stream = &stream;
    FT_Face raw_face = nullptr;
    if (const FT_Error error = FT_Open_Face(library.get(), &arguments, *freetype_index, &raw_face)) {
        if (error == FT_Err_Out_Of_Memory) throw std::bad_alloc();
        return {};
    }
    base::FtFacePtr face(raw_face);  // declared after the library and the file, so released before them

    if (!FT_IS_SFNT(face.get())) return {};
    FT_CharMap charmap = preferred_unicode_map(face.get());
    if (charmap == nullptr || FT_Set_Charmap(face.get(), charmap) != 0) return {};
    return walk_selected_map(face.get());
}

}  // namespace lumo::font

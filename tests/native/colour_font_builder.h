// Assembles small colour-emoji fonts in memory: one strike of PNG images in a
// CBDT/CBLC or sbix table, with every length, offset and header field open to
// damage. Shared by the rasterising tests and the colour-glyph fuzz target.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "crc32.h"
#include "sfnt_builder.h"

namespace lumo::test {

/// Glyph 1 of a colour font maps to this code point, glyph 2 to the next, and so on.
inline constexpr std::uint32_t kFirstEmoji = 0x1F600;

namespace detail {

inline std::uint32_t adler32(const Bytes& data) {
    std::uint32_t low = 1, high = 0;
    for (std::uint8_t byte : data) {
        low = (low + byte) % 65521;
        high = (high + low) % 65521;
    }
    return high << 16 | low;
}

/// A zlib stream of stored (uncompressed) blocks: valid, and simple to write.
inline Bytes zlib_stored(const Bytes& data) {
    Bytes out{0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t length = std::min<std::size_t>(data.size() - at, 0xFFFF);
        out.push_back(at + length == data.size() ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(length));
        out.push_back(static_cast<std::uint8_t>(length >> 8));
        out.push_back(static_cast<std::uint8_t>(~length));
        out.push_back(static_cast<std::uint8_t>(~length >> 8));
        out.insert(out.end(), data.begin() + at, data.begin() + at + length);
        at += length;
    } while (at < data.size());
    put_u32(out, adler32(data));
    return out;
}

inline void put_chunk(Bytes& out, std::string_view kind, const Bytes& body) {
    put_u32(out, static_cast<std::uint32_t>(body.size()));
    Bytes typed(kind.begin(), kind.end());
    typed.insert(typed.end(), body.begin(), body.end());
    out.insert(out.end(), typed.begin(), typed.end());
    put_u32(out, crc32(0, std::string_view(reinterpret_cast<const char*>(typed.data()), typed.size())));
}

}  // namespace detail

/// What a PNG header says, which need not be what its rows hold.
struct PngHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint8_t bit_depth = 8;
};

/// An RGBA PNG of `width` x `height` pixels of one colour; `header`, when
/// given, is written instead of the true header.
inline Bytes png(int width, int height, std::array<std::uint8_t, 4> rgba, const PngHeader* header = nullptr) {
    Bytes rows;
    for (int y = 0; y < height; ++y) {
        rows.push_back(0);  // no filter
        for (int x = 0; x < width; ++x) rows.insert(rows.end(), rgba.begin(), rgba.end());
    }
    const PngHeader stated = header ? *header : PngHeader{std::uint32_t(width), std::uint32_t(height), 8};
    Bytes ihdr;
    put_u32(ihdr, stated.width);
    put_u32(ihdr, stated.height);
    ihdr.insert(ihdr.end(), {stated.bit_depth, 6, 0, 0, 0});  // RGBA, deflate, no filter, no interlace
    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    detail::put_chunk(out, "IHDR", ihdr);
    detail::put_chunk(out, "IDAT", detail::zlib_stored(rows));
    detail::put_chunk(out, "IEND", {});
    return out;
}

/// One glyph of the strike. For CBDT, `data` is the PNG (image format 17);
/// for sbix, the record's data after its graphic type.
struct StrikeGlyph {
    Bytes data;
    std::uint32_t graphic_type = tag("png ");             // sbix only: 'png ', 'dupe', ...
    std::array<std::uint8_t, 5> metrics{32, 32, 0, 28, 32};  // CBDT only: height, width, bearing x and y, advance
    std::uint32_t length_change = 0;                         // CBDT only: added to the image's length field
};

struct ColourStrikeFont {
    bool sbix = false;  // else CBDT/CBLC
    std::uint8_t ppem = 32;
    std::vector<StrikeGlyph> glyphs;     // glyphs 1.., glyph 0 has no image
    std::uint32_t strike_offset_change = 0;  // added to CBLC's index array offset or sbix's strike offset
    std::uint16_t units_per_em = 1024;
};

namespace detail {

inline Bytes cbdt_tables(const ColourStrikeFont& font, Bytes& cblc) {
    Bytes cbdt;
    put_u32(cbdt, 0x00030000);
    std::vector<std::uint32_t> offsets;
    for (const StrikeGlyph& glyph : font.glyphs) {
        offsets.push_back(static_cast<std::uint32_t>(cbdt.size()) - 4);
        cbdt.insert(cbdt.end(), glyph.metrics.begin(), glyph.metrics.end());
        put_u32(cbdt, static_cast<std::uint32_t>(glyph.data.size()) + glyph.length_change);
        cbdt.insert(cbdt.end(), glyph.data.begin(), glyph.data.end());
    }
    offsets.push_back(static_cast<std::uint32_t>(cbdt.size()) - 4);
    const std::uint32_t last = static_cast<std::uint32_t>(font.glyphs.size());
    Bytes array;  // one index subtable, format 1 (32-bit offsets) over image format 17
    put_u16(array, 1);
    put_u16(array, last);
    put_u32(array, 8);
    put_u16(array, 1);
    put_u16(array, 17);
    put_u32(array, 4);
    for (std::uint32_t offset : offsets) put_u32(array, offset);

    put_u32(cblc, 0x00030000);
    put_u32(cblc, 1);
    put_u32(cblc, 8 + 48 + font.strike_offset_change);
    put_u32(cblc, static_cast<std::uint32_t>(array.size()));
    put_u32(cblc, 1);
    put_u32(cblc, 0);
    for (int direction = 0; direction < 2; ++direction) {  // line metrics: ascender, descender, width max, rest 0
        const Bytes metrics{std::uint8_t(font.ppem * 7 / 8), std::uint8_t(-(font.ppem / 8)), font.ppem, 1, 0, 0,
                            0, 0, 0, 0, 0, 0};
        cblc.insert(cblc.end(), metrics.begin(), metrics.end());
    }
    put_u16(cblc, 1);
    put_u16(cblc, last);
    cblc.insert(cblc.end(), {font.ppem, font.ppem, 32, 1});
    cblc.insert(cblc.end(), array.begin(), array.end());
    return cbdt;
}

inline Bytes sbix_table(const ColourStrikeFont& font) {
    std::vector<Bytes> records{{}};  // glyph 0: no image
    for (const StrikeGlyph& glyph : font.glyphs) {
        Bytes record;
        put_u32(record, 0);  // origin offsets x and y
        put_u32(record, glyph.graphic_type);
        record.insert(record.end(), glyph.data.begin(), glyph.data.end());
        records.push_back(std::move(record));
    }
    Bytes strike;
    put_u16(strike, font.ppem);
    put_u16(strike, 72);
    std::uint32_t at = static_cast<std::uint32_t>(4 + 4 * (records.size() + 1));
    for (const Bytes& record : records) {
        put_u32(strike, at);
        at += static_cast<std::uint32_t>(record.size());
    }
    put_u32(strike, at);
    for (const Bytes& record : records) strike.insert(strike.end(), record.begin(), record.end());
    Bytes table;
    put_u16(table, 1);
    put_u16(table, 1);  // draw the images only
    put_u32(table, 1);
    put_u32(table, 12 + font.strike_offset_change);
    table.insert(table.end(), strike.begin(), strike.end());
    return table;
}

}  // namespace detail

/// A font of bitmap strikes only, as colour emoji fonts are: its glyphs
/// advance one em and map from kFirstEmoji on.
inline Bytes colour_strike_font(const ColourStrikeFont& font) {
    const std::uint32_t glyph_count = static_cast<std::uint32_t>(font.glyphs.size()) + 1;
    Bytes head;
    put_u32(head, 0x00010000);
    put_u32(head, 0x00010000);
    put_u32(head, 0);
    put_u32(head, 0x5F0F3CF5);
    put_u16(head, 0);
    put_u16(head, font.units_per_em);
    head.resize(head.size() + 16);  // created, modified
    const int em = font.units_per_em;
    for (int value : {0, -em / 8, em, em * 7 / 8})  // bounding box
        put_u16(head, static_cast<std::uint16_t>(value));
    put_u16(head, 0);
    put_u16(head, 8);
    put_u16(head, 2);
    put_u16(head, 0);
    put_u16(head, 0);

    Bytes hhea;
    put_u32(hhea, 0x00010000);
    put_u16(hhea, font.units_per_em * 7 / 8);
    put_u16(hhea, static_cast<std::uint16_t>(-font.units_per_em / 8));
    put_u16(hhea, 0);
    put_u16(hhea, font.units_per_em);
    hhea.resize(hhea.size() + 22);  // side bearings, extent, caret, reserved, metric data format
    put_u16(hhea, glyph_count);

    Bytes maxp;
    put_u32(maxp, 0x00005000);
    put_u16(maxp, glyph_count);

    Bytes hmtx;
    for (std::uint32_t glyph = 0; glyph < glyph_count; ++glyph) {
        put_u16(hmtx, font.units_per_em);
        put_u16(hmtx, 0);
    }

    Bytes cmap;  // one format-12 group: kFirstEmoji.. to glyphs 1..
    put_u16(cmap, 0);
    put_u16(cmap, 1);
    put_u16(cmap, 3);
    put_u16(cmap, 10);
    put_u32(cmap, 12);
    put_u16(cmap, 12);
    put_u16(cmap, 0);
    put_u32(cmap, 28);
    put_u32(cmap, 0);
    put_u32(cmap, 1);
    put_u32(cmap, kFirstEmoji);
    put_u32(cmap, kFirstEmoji + glyph_count - 2);
    put_u32(cmap, 1);

    std::vector<Table> tables{{tag("cmap"), cmap}, {tag("head"), head}, {tag("hhea"), hhea},
                              {tag("hmtx"), hmtx}, {tag("maxp"), maxp}};
    if (font.sbix) {
        tables.push_back({tag("sbix"), detail::sbix_table(font)});
    } else {
        Bytes cblc;
        Bytes cbdt = detail::cbdt_tables(font, cblc);
        tables.insert(tables.begin(), {{tag("CBDT"), cbdt}, {tag("CBLC"), cblc}});
    }
    return sfnt(tables);
}

}  // namespace lumo::test

// The font knowledge of one font object in typed form: which file serves a
// family in a face word, what each face of each file covers, the shaping
// font and the sized faces made from it, and the line metrics per size and
// face word. Each part is learned from one of the host-visible caches and
// answers while that cache is unchanged (viewed_map.h). `HostRef` is how
// the values the host sees are held (a strong reference in the binding).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "font/code_point_set.h"
#include "font/dynamic_glyphs.h"
#include "font/viewed_map.h"

namespace lumo::font {

/// One face of one font file: the path text (UTF-8) and face index.
struct FontFileKey {
    std::string path;
    int face_index = 0;
    bool has_path = true;  // false: the path is None

    bool operator==(const FontFileKey&) const = default;
};

/// A family name and a face word, as face resolution is asked.
struct FamilyFaceKey {
    std::string family;
    std::string face;
    bool has_face = true;  // false: the face is None

    bool operator==(const FamilyFaceKey&) const = default;
};

/// A face of a file at a pixel size in a face word, set to a variable
/// font's coordinates (none: its default instance).
struct SizedFaceKey {
    FontFileKey file;
    int pixel_size = 0;
    std::string face;
    std::vector<float> coordinates;

    bool operator==(const SizedFaceKey&) const = default;
};

/// A pixel size and a face word, as line metrics are kept.
struct SizeFaceKey {
    long pixel_size = 0;
    std::string face;

    bool operator==(const SizeFaceKey&) const = default;
};

/// A run the legacy emoji engine drew, as it was asked for: the engine
/// object (by identity; the entry keeps it alive) and the styles set on it,
/// the run's text, the smoothing, and where the run stands on its line.
struct LegacyEmojiKey {
    std::uintptr_t engine = 0;
    std::vector<long> engine_style;
    std::u32string text;
    bool anti_aliased = true;
    int ascent = 0;
    long height = 0;
    bool lowered = true;
    double offset = 0.0;
    double size = 0.0;

    bool operator==(const LegacyEmojiKey&) const = default;
};

struct FontSetKeyHash {
    std::size_t operator()(const FontFileKey& key) const;
    std::size_t operator()(const FamilyFaceKey& key) const;
    std::size_t operator()(const SizedFaceKey& key) const;
    std::size_t operator()(const SizeFaceKey& key) const;
    std::size_t operator()(const LegacyEmojiKey& key) const;
};

template <class HostRef>
struct LearnedCoverage {
    HostRef entry;               // what the host's cache holds
    const CodePointSet* set;     // the set inside it, alive while `entry` is
};

template <class HostRef>
struct LearnedMetrics {
    double ascent = 0.0;
    double line_height = 0.0;
    HostRef entry;  // (ascent, line height, sized font) as the host's cache holds it
};

template <class HostRef>
struct LegacyEmojiPicture {
    HostRef engine;   // keeps the key's identity from being reused
    HostRef picture;  // the run's surface, never drawn into once made
    long width = 1;
};

template <class HostRef>
struct FontSet {
    ViewedMap<FamilyFaceKey, HostRef, FontSetKeyHash> resolved_files;        // the path data per (family, face)
    ViewedMap<FontFileKey, LearnedCoverage<HostRef>, FontSetKeyHash> coverage;
    ViewedMap<FontFileKey, HostRef, FontSetKeyHash> shaping_fonts;           // the HarfBuzz font per file
    ViewedMap<SizedFaceKey, HostRef, FontSetKeyHash> sized_faces;            // the FreeType face per size
    ViewedMap<SizeFaceKey, LearnedMetrics<HostRef>, FontSetKeyHash> metrics;
    // Emoji runs recur line after line, and the legacy engine draws each
    // through the host's font module; the pictures it drew are kept.
    std::unordered_map<LegacyEmojiKey, LegacyEmojiPicture<HostRef>, FontSetKeyHash> emoji_pictures;
    DynamicGlyphs<HostRef> dynamic_glyphs;  // the glyph cache's entries per ASCII character

    void clear() {
        resolved_files.clear();
        coverage.clear();
        shaping_fonts.clear();
        sized_faces.clear();
        metrics.clear();
        emoji_pictures.clear();
        dynamic_glyphs.clear();
    }

    /// Calls `visit` with every host value held.
    template <class Visitor>
    void each_host_value(Visitor&& visit) const {
        resolved_files.each_value(visit);
        coverage.each_value([&](const LearnedCoverage<HostRef>& learned) { visit(learned.entry); });
        shaping_fonts.each_value(visit);
        sized_faces.each_value(visit);
        metrics.each_value([&](const LearnedMetrics<HostRef>& learned) { visit(learned.entry); });
        for (const auto& [key, kept] : emoji_pictures) {
            visit(kept.engine);
            visit(kept.picture);
        }
        dynamic_glyphs.each_value(visit);
    }
};

}  // namespace lumo::font

// Caps on what one shaped run may cost. Fonts and sizes come from the host and
// may be hostile; past these limits a run fails instead of allocating more.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumo::shaping {

/// Code points of one run. A game's longest lines are a few thousand.
inline constexpr std::size_t kMaxRunCodePoints = std::size_t{1} << 18;

/// Glyphs HarfBuzz may make of one run (decompositions can add a few).
inline constexpr std::size_t kMaxRunGlyphs = std::size_t{1} << 20;

/// Pixels of one glyph bitmap, checked on the outline before FreeType renders
/// it: a 4096 x 4096 glyph, far above any size text is drawn at.
inline constexpr std::int64_t kMaxGlyphBitmapPixels = std::int64_t{1} << 24;

/// Bytes of one copied glyph bitmap (rows are padded, so a little above the
/// pixel cap).
inline constexpr std::int64_t kMaxGlyphBitmapBytes = std::int64_t{1} << 25;

/// Bytes of all glyph bitmaps of one run together.
inline constexpr std::int64_t kMaxRunBitmapBytes = std::int64_t{1} << 28;

/// Pixel positions, advances and widths of a run are clamped to
/// ±kMaxRunExtentPixels before they become integers.
inline constexpr int kMaxRunExtentPixels = 1 << 20;

}  // namespace lumo::shaping

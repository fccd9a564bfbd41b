// Every cap on what one input may cost the engine, in one place: fonts, index
// files, text and sizes come from the host and may be hostile; past these a
// file is refused, a run fails or a cache starts afresh instead of growing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lumo {

// Files --------------------------------------------------------------------

/// Largest font file read into memory. The biggest CJK collections in use are
/// a few tens of megabytes.
inline constexpr std::size_t kMaxFontFileBytes = std::size_t{512} << 20;

/// Largest index file read back. An index of every font of a large system
/// (a few thousand faces) is well under a megabyte; anything this big is
/// damage, and rebuilding it is cheaper than reading it.
inline constexpr std::uint64_t kMaxIndexFileBytes = std::uint64_t{64} << 20;

// Font tables ----------------------------------------------------------------

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

// Text and markup --------------------------------------------------------------

/// A face tag's "={" may start at most this many characters after its "<".
inline constexpr std::ptrdiff_t kMaxFaceTagReach = 29;

/// Code points of one run. A game's longest lines are a few thousand.
inline constexpr std::size_t kMaxRunCodePoints = std::size_t{1} << 18;

/// Glyphs HarfBuzz may make of one run (decompositions can add a few).
inline constexpr std::size_t kMaxRunGlyphs = std::size_t{1} << 20;

// Typography options -------------------------------------------------------------

/// Characters of one features, language or variations text. The longest real
/// settings are a few dozen features of a dozen characters each.
inline constexpr std::size_t kMaxTypographyTextLength = 4096;

/// Feature settings, or axis values, of one call. OpenType registers about
/// 140 features; a font has a handful of axes.
inline constexpr std::size_t kMaxTypographySettings = 256;

/// Axes and named instances read from a font's `fvar`. Real fonts have a
/// handful of axes and a few dozen instances; a file past either is drawn at
/// its default instance only, as a font without variations is.
inline constexpr unsigned kMaxVariationAxes = 64;
inline constexpr unsigned kMaxNamedInstances = 1024;

/// HarfBuzz fonts kept per font file, one per set of variation coordinates;
/// past it they are made afresh.
inline constexpr std::size_t kMaxVariedFontsPerFile = 64;

// Glyph bitmaps ----------------------------------------------------------------

/// Pixels of one glyph bitmap, checked on the outline before FreeType renders
/// it: a 4096 x 4096 glyph, far above any size text is drawn at.
inline constexpr std::int64_t kMaxGlyphBitmapPixels = std::int64_t{1} << 24;

/// Ems a glyph's outline may span on a side. Real glyphs, long swashes
/// included, stay within a few; one past this is damage, whatever size it is
/// drawn at.
inline constexpr int kMaxGlyphEms = 64;

/// Times its strike's size an image of a bitmap strike may be on a side
/// (emoji images are about 1.25 times); a larger one is damage.
inline constexpr int kMaxStrikeImageScale = 4;

/// Bytes of one copied glyph bitmap (rows are padded, so a little above the
/// pixel cap).
inline constexpr std::int64_t kMaxGlyphBitmapBytes = std::int64_t{1} << 25;

/// Bytes of all glyph bitmaps of one run together.
inline constexpr std::int64_t kMaxRunBitmapBytes = std::int64_t{1} << 28;

/// Pixel positions, advances and widths of a run are clamped to
/// ±kMaxRunExtentPixels before they become integers.
inline constexpr int kMaxRunExtentPixels = 1 << 20;

/// Largest single block FreeType may allocate for the engine's faces, which
/// read fonts from memory and so never copy a table: four times the largest
/// colour bitmap the caps above let FreeType draw. A damaged image header may
/// claim 32767 x 32767 pixels (4 GiB); such a request is refused, and the
/// glyph counts as damaged.
inline constexpr std::size_t kMaxFreeTypeBlockBytes = std::size_t{4} * 4 * std::size_t{kMaxGlyphBitmapPixels};

// Surfaces -------------------------------------------------------------------

/// The largest surface the engine makes, for a line, a block, a run or a
/// glyph, and the largest it measures: at most kMaxSurfacePixels in all (256
/// MiB of 32-bit pixels), and each side short of the clamp on run extents, so
/// that a clamped width is never drawn as if it were the text's. Text that
/// needs more is refused with its size, by measuring and drawing alike,
/// instead of being cut or taking the process's memory.
inline constexpr std::int64_t kMaxSurfacePixels = std::int64_t{1} << 26;
inline constexpr std::int64_t kMaxSurfaceSide = kMaxRunExtentPixels - 1;

/// Whether a width x height surface is within the limits above. Sizes below
/// one are left to the host library, which refuses them itself.
constexpr bool surface_within_limits(std::int64_t width, std::int64_t height) {
    return width <= kMaxSurfaceSide && height <= kMaxSurfaceSide &&
           (width <= 0 || height <= 0 || width * height <= kMaxSurfacePixels);
}

/// Why a width x height surface past those limits is refused, with its size.
std::string surface_limit_message(std::int64_t width, std::int64_t height);

// Caches of one FreeType face -------------------------------------------------

/// Bitmap bytes one face may keep. A face at size 24 keeps a few thousand
/// glyphs within it; past it the cache starts afresh.
inline constexpr std::size_t kGlyphCacheBytesPerFace = std::size_t{4} << 20;

/// Runs longer than this are laid out afresh each time: they rarely repeat.
inline constexpr std::size_t kMaxCachedRunLength = 48;

/// Layouts one face keeps; past it the cache starts afresh.
inline constexpr std::size_t kMaxCachedRunsPerFace = 4096;

// Font choices each object remembers across lines --------------------------

/// Face words and (character, face) choices the memo numbers and keeps: past
/// them it starts afresh rather than grow, so a host inventing face words or
/// characters without end gets no faster, and no bigger.
inline constexpr std::size_t kMaxRememberedFaces = 64;
inline constexpr std::size_t kMaxRememberedChoices = std::size_t{1} << 16;

// Text blocks ---------------------------------------------------------------

/// Emoji runs each object keeps as the legacy emoji engine drew them; past
/// this many they are all dropped and drawn again as they come.
inline constexpr std::size_t kMaxLegacyEmojiPictures = 256;

/// Blocks each object keeps drawn, and the pixel bytes they may hold
/// together; past either the oldest is dropped first, and a block bigger than
/// the byte bound alone is drawn but not kept.
inline constexpr std::size_t kMaxCachedBlocks = 64;
inline constexpr std::int64_t kMaxCachedBlockBytes = std::int64_t{64} << 20;

/// Largest factor of the line height between the lines of a block.
inline constexpr double kMaxLineSpacing = 64.0;

// Text effects ----------------------------------------------------------------

/// Widest outline, and widest shadow blur, in pixels: far beyond what reads as
/// text, and small enough that stroking or blurring a glyph stays cheap.
inline constexpr double kMaxOutlinePixels = 64.0;
inline constexpr double kMaxShadowBlurPixels = 64.0;

/// Farthest a shadow may be cast from its text, in pixels either way.
inline constexpr int kMaxShadowOffsetPixels = 4096;

/// Bytes of stroked glyph bitmaps one face may keep, over every outline
/// width; past it the cache starts afresh.
inline constexpr std::size_t kStrokeCacheBytesPerFace = std::size_t{4} << 20;

}  // namespace lumo

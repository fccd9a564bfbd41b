// Preparing a run to paint once its font is known: its layout from the face's
// cache (or laid out and kept there), where an emoji run's baseline goes, and
// the prepared run itself.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "shaping/harfbuzz_font.h"
#include "shaping/prepared_run.h"
#include "shaping/run_layout.h"
#include "shaping/sized_face.h"

namespace lumo::shaping {

/// Where the emoji font's runs stand on a line: SMOOTH_FONT (`lowered`) and
/// EMOJI_OFFSET_Y, read once per call.
struct EmojiPlacement {
    bool lowered = true;
    double offset = 0.0;
};

/// The layout of `text` shaped with `font` and rasterised from `face` (set to
/// `pixel_size` and the coordinates in `shaping`): the one the face's layout
/// cache keeps under the text, options, direction and `shaping_key`, or one
/// laid out now and kept there. On an error `layout` is left null.
LayoutError find_or_lay_out(const HarfBuzzFont& font, SizedFace& face, std::span<const std::uint32_t> text,
                            int pixel_size, const RasterOptions& options, ShapingDirection direction,
                            const ShapingOptions& shaping, std::u32string_view shaping_key,
                            std::shared_ptr<const RunLayout>& layout);

/// The run of `layout` drawn from `face` in `rgb` on a line `line_height`
/// rows tall with its baseline `baseline` rows down. An empty layout is an
/// empty run as wide as its advance.
PreparedRun run_of_layout(std::shared_ptr<const RunLayout> layout, std::shared_ptr<SizedFace> face,
                          const RasterOptions& options, int baseline, int line_height,
                          const std::array<std::uint8_t, 3>& rgb);

/// Where colour emoji of the emoji font stand, as the older engine puts its
/// emoji: lowered onto the text's baseline (`line_baseline`), lifted by the
/// offset times the pixel size; else hung from the top of the line by the
/// font's own ascent. Either way moved as little as it takes for no ink of
/// `layout` to be cut off a line `line_height` tall.
int emoji_baseline(const HarfBuzzFont& font, const RunLayout& layout, const EmojiPlacement& placement,
                   int line_baseline, int line_height, double pixel_size);

/// Rows a run the older emoji engine drew (from a font whose ascent is
/// `engine_ascent`) is moved down on a line whose baseline is `line_baseline`
/// rows down: onto the baseline, lifted by the offset times the pixel size,
/// when the placement lowers emoji, and never above the line's top.
long legacy_emoji_drop(const EmojiPlacement& placement, long line_baseline, long engine_ascent, double pixel_size);

/// Why a run of `code_points` characters cannot be shaped: longer than
/// kMaxRunCodePoints; empty when it can.
std::string run_length_refusal(std::size_t code_points);

}  // namespace lumo::shaping

// Preparing a run to paint once its font is known; see run_preparation.h.
#include "shaping/run_preparation.h"

#include <algorithm>
#include <cmath>

#include "base/limits.h"

namespace lumo::shaping {

LayoutError find_or_lay_out(const HarfBuzzFont& font, SizedFace& face, std::span<const std::uint32_t> text,
                            int pixel_size, const RasterOptions& options, ShapingDirection direction,
                            const ShapingOptions& shaping, std::u32string_view shaping_key,
                            std::shared_ptr<const RunLayout>& layout) {
    layout = face.layouts.find(text, options, direction, shaping_key);
    if (layout) return {};
    auto fresh = std::make_shared<RunLayout>();
    if (const LayoutError error =
            layout_run(font, face.face.get(), text, pixel_size, options, *fresh, &face.glyphs, direction, shaping))
        return error;
    face.layouts.store(text, options, direction, fresh, shaping_key);
    layout = std::move(fresh);
    return {};
}

PreparedRun run_of_layout(std::shared_ptr<const RunLayout> layout, std::shared_ptr<SizedFace> face,
                          const RasterOptions& options, int baseline, int line_height,
                          const std::array<std::uint8_t, 3>& rgb) {
    PreparedRun run;
    run.baseline = baseline;
    run.height = line_height;
    run.anti_aliased = options.anti_aliased;
    run.face = std::move(face);
    run.options = options;
    if (layout->empty) {
        run.width = layout->logical_width;
        run.advance = layout->logical_width;
        return run;
    }
    run.rgb = rgb;
    run.width = layout->surface_width;
    run.advance = layout->total_advance;
    run.layout = std::move(layout);
    return run;
}

int emoji_baseline(const HarfBuzzFont& font, const RunLayout& layout, const EmojiPlacement& placement,
                   int line_baseline, int line_height, double pixel_size) {
    int baseline;
    if (placement.lowered) {
        baseline = line_baseline - static_cast<int>(pixel_size * placement.offset);
    } else {
        hb_font_extents_t extents{};
        hb_font_get_h_extents(font.font(), &extents);
        baseline = static_cast<int>(extents.ascender * pixel_size / font.upem() + 0.5);
    }
    const InkReach ink = ink_reach(layout);
    baseline = std::min(baseline, line_height - static_cast<int>(std::ceil(ink.below)));
    return std::max(baseline, static_cast<int>(std::ceil(ink.above)));
}

long legacy_emoji_drop(const EmojiPlacement& placement, long line_baseline, long engine_ascent, double pixel_size) {
    if (!placement.lowered) return 0;
    const long lift = static_cast<long>(pixel_size * placement.offset);
    return std::max(0L, line_baseline - engine_ascent - lift);
}

std::string run_length_refusal(std::size_t code_points) {
    if (code_points <= kMaxRunCodePoints) return {};
    return "a run of " + std::to_string(code_points) + " characters is longer than the " +
           std::to_string(kMaxRunCodePoints) + " one run may hold";
}

}  // namespace lumo::shaping

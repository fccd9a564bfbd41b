// Runs ready to paint, and how far a line of them must be lowered to keep its ink.
#include "shaping/prepared_run.h"

#include <algorithm>
#include <stdexcept>

#include "shaping/run_painter.h"

namespace lumo::shaping {

const RunPicture& NoRunPictures::picture(std::size_t) {
    throw std::logic_error("a run refers to a picture its line does not have");
}

int inked_rows(const RunPicture& picture) {
    const AlphaChannel alpha = alpha_channel(picture.format);
    const PixelTarget& pixels = picture.pixels;
    for (int row = pixels.height; row-- > 0;) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(pixels.pixels + row * pixels.pitch_bytes);
        if (std::any_of(from, from + pixels.width, [&](std::uint32_t pixel) { return alpha.of(pixel) != 0; }))
            return row + 1;
    }
    return 0;
}

void paint_run_alone(const PixelTarget& target, const PixelFormat& format, const PreparedRun& run, int lowered) {
    if (!run.layout) return;
    paint_run(target, *run.layout, kept_color_table(format, run.rgb), format, run.anti_aliased,
              run.baseline + lowered, true);
}

int rows_to_keep_ink(std::span<const PreparedRun> runs, RunPictures& pictures) {
    int short_above = 0, free_below = 1 << 30;
    for (const PreparedRun& run : runs) {
        if (!run.layout) continue;
        const RowFit fit = row_fit(run.layout->glyphs, run.baseline, run.height);
        short_above = std::max(short_above, fit.rows_short_above);
        free_below = std::min(free_below, fit.rows_free_below);
    }
    if (short_above == 0) return 0;
    // The legacy engine's pictures hold their ink from row 0 down: what is
    // free is below their lowest inked row.
    for (const PreparedRun& run : runs) {
        if (!run.has_picture()) continue;
        if (const int inked = inked_rows(pictures.picture(static_cast<std::size_t>(run.picture))); inked > 0)
            free_below = std::min(free_below, run.height - inked);
    }
    return std::max(0, std::min(short_above, free_below));
}

}  // namespace lumo::shaping

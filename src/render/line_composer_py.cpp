// Composing a line from its runs natively.
#include "render/line_composer_py.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <tuple>

#include "shaping/pixel_blend.h"
#include "shaping/surface_pixels_py.h"

namespace nb = nanobind;

namespace lumo::render {
namespace {

bool g_native_composition = true;

/// The 256 pixel values of a colour, kept for the colours lines keep using.
const shaping::ColorTable& cached_color_table(const shaping::PixelFormat& format, const std::array<std::uint8_t, 3>& rgb) {
    using Key = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t>;
    static std::map<Key, shaping::ColorTable> tables;
    constexpr std::size_t kMaxTables = 64;
    Key key{format.masks[0], format.masks[1], format.masks[2], format.masks[3],
            (std::uint32_t{rgb[0]} << 16) | (std::uint32_t{rgb[1]} << 8) | rgb[2]};
    auto found = tables.find(key);
    if (found != tables.end()) return found->second;
    if (tables.size() >= kMaxTables) tables.clear();
    return tables.emplace(key, shaping::color_table(format, rgb[0], rgb[1], rgb[2])).first->second;
}

nb::object compose_with_blits(const std::vector<shaping::PreparedRun>& runs, long width, long height) {
    nb::object line = shaping::new_surface(width, height);
    long pen = 0;
    for (const shaping::PreparedRun& run : runs) {
        line.attr("blit")(shaping::run_surface(run), nb::make_tuple(pen, 0));
        pen += run.advance;
    }
    return line;
}

bool same_masks(const shaping::PixelFormat& a, const shaping::PixelFormat& b) {
    return std::equal(std::begin(a.masks), std::end(a.masks), std::begin(b.masks));
}

/// Whether every piece can be blended here exactly as pygame would blit it:
/// a plain Surface of the line's format, with no colour key and full alpha
/// of its own (either would change how pygame blends it).
bool natively_placeable(const std::vector<PlacedSurface>& pieces, const shaping::PixelFormat& format) {
    for (const PlacedSurface& piece : pieces) {
        if (!shaping::is_plain_surface(piece.surface) ||
            !same_masks(shaping::surface_pixel_format(piece.surface), format) ||
            !shaping::blends_plainly(piece.surface))
            return false;
    }
    return true;
}

}  // namespace

void place_surfaces(nb::handle line, const std::vector<PlacedSurface>& pieces) {
    if (g_native_composition) {
        const shaping::PixelFormat& format = shaping::surface_pixel_format(line);
        if (shaping::blendable_format(format) && natively_placeable(pieces, format)) {
            shaping::LockedPixels locked(line);
            long blank_from = 0;  // the line is new: columns from here on hold nothing yet
            for (const PlacedSurface& piece : pieces) {
                shaping::LockedPixels source(piece.surface);
                const shaping::PixelTarget& from = source.target();
                const int x = static_cast<int>(std::clamp(piece.pen, -(1L << 30), 1L << 30));
                shaping::blend_pixels(locked.target(), reinterpret_cast<const std::uint32_t*>(from.pixels),
                                      from.width, from.height, from.pitch_bytes / 4, x, 0, format,
                                      static_cast<int>(std::min(blank_from, 1L << 30)));
                if (from.height > 0) blank_from = std::max(blank_from, static_cast<long>(x) + from.width);
            }
            return;
        }
    }
    nb::list placements;
    for (const PlacedSurface& piece : pieces) placements.append(nb::make_tuple(piece.surface, nb::make_tuple(piece.pen, 0)));
    line.attr("blits")(placements, false);
}

void set_native_composition(bool enabled) { g_native_composition = enabled; }

nb::object compose_runs(const std::vector<shaping::PreparedRun>& runs, long width, long height) {
    if (!g_native_composition) return compose_with_blits(runs, width, height);
    nb::object line = shaping::new_surface(width, height);
    const shaping::PixelFormat& format = shaping::surface_pixel_format(line);
    if (!shaping::blendable_format(format)) return compose_with_blits(runs, width, height);
    for (const shaping::PreparedRun& run : runs) {
        // A surface of another pixel layout is left to pygame's own blit.
        if (run.surface.is_valid() && !same_masks(shaping::surface_pixel_format(run.surface), format))
            return compose_with_blits(runs, width, height);
    }

    shaping::LockedPixels locked(line);
    const shaping::PixelTarget& target = locked.target();
    std::vector<std::uint32_t> scratch;
    // Columns at and right of this have never been written: a run landing
    // there entirely can be painted straight into the line, which is what
    // blending its surface onto untouched (all-zero) pixels amounts to.
    long untouched_from = 0;
    long pen = 0;
    for (const shaping::PreparedRun& run : runs) {
        const int x = static_cast<int>(std::clamp(pen, -(1L << 30), 1L << 30));
        if (run.surface.is_valid()) {
            // Drawn by the legacy engine: its surface shares the line's format.
            shaping::LockedPixels source(run.surface);
            const auto& from = source.target();
            shaping::blend_pixels(target, reinterpret_cast<const std::uint32_t*>(from.pixels), from.width,
                                  from.height, from.pitch_bytes / 4, x, 0, format);
            untouched_from = std::max(untouched_from, static_cast<long>(x) + from.width);
        } else if (x >= untouched_from && x < target.width) {
            if (run.layout) {
                shaping::PixelTarget window{target.pixels + static_cast<std::ptrdiff_t>(x) * 4,
                                            std::min(run.width, target.width - x), std::min(run.height, target.height),
                                            target.pitch_bytes};
                shaping::PaintedColumns painted = shaping::paint_glyphs(
                    window, run.layout->glyphs, cached_color_table(format, run.rgb), format,
                    run.anti_aliased, run.baseline, run.layout->start_x);
                if (painted.left <= painted.right) untouched_from = std::max(untouched_from, static_cast<long>(x) + painted.right);
            }
        } else {
            scratch.assign(static_cast<std::size_t>(run.width) * static_cast<std::size_t>(run.height), 0u);
            long written_right = 0;
            if (run.layout) {
                shaping::PixelTarget canvas{reinterpret_cast<std::uint8_t*>(scratch.data()), run.width, run.height,
                                            static_cast<std::ptrdiff_t>(run.width) * 4};
                shaping::PaintedColumns painted =
                    shaping::paint_glyphs(canvas, run.layout->glyphs, cached_color_table(format, run.rgb),
                                          format, run.anti_aliased, run.baseline,
                                          run.layout->start_x);
                if (painted.left <= painted.right) written_right = painted.right;
            }
            shaping::blend_pixels(target, scratch.data(), run.width, run.height, run.width, x, 0, format);
            untouched_from = std::max(untouched_from, static_cast<long>(x) + written_right);
        }
        pen += run.advance;
    }
    return line;
}

}  // namespace lumo::render

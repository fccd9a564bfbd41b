// Drawing one run: shaped with HarfBuzz, rasterised with FreeType and painted
// into per-pixel-alpha pixels; emoji-font runs go to the legacy engine.
#pragma once

#include <nanobind/nanobind.h>

#include <array>
#include <memory>
#include <span>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "font/lumo_font_object_py.h"
#include "shaping/font_variations.h"
#include "shaping/prepared_run.h"
#include "shaping/run_layout.h"
#include "shaping/run_preparation.h"
#include "shaping/surface_pixels_py.h"
#include "shaping/typography_options.h"

namespace lumo::shaping {

/// The placement the settings give now.
EmojiPlacement current_emoji_placement();

/// The placement of the two setting values a call read.
EmojiPlacement emoji_placement_of(nanobind::handle smooth_font, nanobind::handle emoji_offset_y);

/// What drawing with one font path in one face at one size needs; runs of a
/// line that share them resolve them once.
struct RunFont {
    int baseline = 0;
    int height = 1;
    bool emoji = false;               // drawn by the legacy emoji engine
    bool colour_emoji = false;        // the emoji font, drawn natively in colour: placed as emoji are
    EmojiPlacement emoji_placement;
    nanobind::object path;            // the font file's path, as the path data gives it
    nanobind::object harfbuzz;        // invalid: the font cannot be used (the run is empty)
    nanobind::object face;            // the FreeType face entry, set to `coordinates`
    // What `harfbuzz` and `face` wrap, read once: their runs are many.
    const HarfBuzzFont* shaper = nullptr;
    std::shared_ptr<SizedFace> sized;
    RasterOptions options;
    const TypographyOptions* typography = nullptr;  // the call's; null: the defaults
    std::u32string shaping_key;       // what its features and language add to layout keys
    std::vector<float> coordinates;   // of a variable font's axes; empty: its default instance
    bool instance_found = false;      // the call's named instance is one of this font's
};

/// The font of `font_path` in `face` at `size`, for a call with `typography`
/// (which must outlive the result). A variable font is set to the face word's
/// axes and the call's variations, in HarfBuzz and FreeType alike; its
/// FreeType face is kept under ("FT", path, index, size, face, coordinates),
/// and a face at the default instance under the key without coordinates.
RunFont resolve_run_font(font::LumoFontObject* self, nanobind::handle size, nanobind::handle font_path,
                         nanobind::handle face, const EmojiPlacement& placement,
                         const TypographyOptions* typography = nullptr);

/// A run's colour: read from its tuple when a run first has ink to paint,
/// then kept, since the runs of a line mostly share one colour object.
class RunColour {
public:
    explicit RunColour(nanobind::handle color) : color_(color) {}
    nanobind::handle object() const { return color_; }
    /// The red, green and blue components; ValueError outside 0..255.
    const std::array<std::uint8_t, 3>& rgb();

private:
    nanobind::handle color_;
    bool read_ = false;
    std::array<std::uint8_t, 3> rgb_{};
};

/// Shapes and lays out one run with a resolved font in `direction`, without
/// making a surface; a run the legacy emoji engine draws is drawn, and its
/// surface kept in `surfaces`.
PreparedRun prepare_run_with(font::LumoFontObject* self, const RunFont& font, std::u32string_view text,
                             nanobind::handle size, RunColour& colour, ShapingDirection direction,
                             RunSurfaces& surfaces);

/// Shapes and lays out one run on its own (in its script's direction) without making a surface for it.
PreparedRun prepare_run(font::LumoFontObject* self, nanobind::handle text, nanobind::handle size,
                        nanobind::handle color, nanobind::handle font_path, nanobind::handle face,
                        const EmojiPlacement& placement, RunSurfaces& surfaces);

/// The run as its own pygame Surface (width x height, per-pixel alpha), its
/// glyphs painted `lowered` rows below their baseline; a run the legacy
/// engine drew is its surface in `surfaces`.
nanobind::object run_surface(const PreparedRun& run, const RunSurfaces& surfaces, int lowered = 0);

/// (surface, advance) for `text` drawn with the font at `font_path`. A run
/// drawn as a line of its own is lowered to keep its ink (rows_to_keep_ink);
/// a piece of a line composed elsewhere (`whole_line` false) is not, so that
/// all its pieces share one baseline.
nanobind::object render_shaped_run(font::LumoFontObject* self, nanobind::handle text, nanobind::handle size,
                                   nanobind::handle color, nanobind::handle font_path, nanobind::handle face,
                                   const EmojiPlacement& placement, bool whole_line = true);

/// Whether the font at `path_data` has colour glyphs the engine paints in
/// their own colours (bitmap strikes or layers); false when it cannot be loaded.
bool draws_in_colour(font::LumoFontObject* self, nanobind::handle path_data);

/// The HarfBuzz font of a file and face, one per (path, face index); None,
/// after a printed line, when it cannot be loaded.
nanobind::object get_hb_font(font::LumoFontObject* self, nanobind::handle path_data);

/// The same without the printed line: an invalid object, with `failure` set
/// to the reason, when the font cannot be loaded.
nanobind::object load_hb_font(font::LumoFontObject* self, nanobind::handle path_data, nanobind::object& failure);

/// The object's HarfBuzz font of a file and face when it holds one, else
/// one read for a question and not kept; invalid when it cannot be read.
nanobind::object font_for_question(font::LumoFontObject* self, nanobind::handle path_data);

/// Whether the font of a file and face has colour glyphs, asked of the
/// object's HarfBuzz font when it holds one, else of one read for the
/// question and not kept; empty when the font cannot be read.
std::optional<bool> has_colour_glyphs(font::LumoFontObject* self, nanobind::handle path_data);

/// The axes and named instances of the font of a file and face, asked as
/// has_colour_glyphs() asks; empty when the font cannot be read.
std::optional<FontVariations> font_variations(font::LumoFontObject* self, nanobind::handle path_data);

/// A file object over the bytes of a font file that the HarfBuzz cache holds
/// (loading them there), or None when HarfBuzz cannot read the file: then
/// pygame opens the path and reports the problem in its own words. Installed
/// at start-up as the source of the sized pygame fonts.
nanobind::object font_file_stream(font::LumoFontObject* self, nanobind::handle path_data);

}  // namespace lumo::shaping

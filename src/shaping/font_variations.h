// What a variable font offers (its axes and named instances, from `fvar` and
// `name`), and the design coordinates a run is drawn at: the face word's
// axis values, then the call's, clamped to each axis's range.
#pragma once

#include <hb.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shaping/typography_options.h"

namespace lumo::shaping {

struct VariationAxis {
    Tag tag = 0;
    float minimum = 0.0f;
    float default_value = 0.0f;
    float maximum = 0.0f;
};

struct NamedInstance {
    std::string name;                // its subfamily name ("Semi Bold Italic"), in English where the font has it
    std::vector<float> coordinates;  // one per axis, in the axes' order
};

struct FontVariations {
    std::vector<VariationAxis> axes;  // in `fvar` order; empty for a font without variations
    std::vector<NamedInstance> instances;

    bool is_variable() const { return !axes.empty(); }
    /// The position of the axis `tag`, or -1.
    int axis_index(Tag tag) const;
    /// The instance whose name is `name`, in any case and with or without
    /// blanks, hyphens and underscores ("semibold" is "Semi Bold"); or null.
    const NamedInstance* instance_named(std::string_view name) const;
};

/// The axes and named instances of `face`. A face past the limits on axes or
/// instances, or whose `fvar` is damaged, has none: it draws at its default.
FontVariations read_font_variations(hb_face_t* face);

/// The design coordinates, one per axis, of a run drawn with `font`: the
/// axes' defaults, then the face word's settings, then the call's request (a
/// named instance the font has sets every axis; axis values set the axes the
/// font has, and tags it lacks are passed over). Each value is clamped to its
/// axis's range, as HarfBuzz clamps. Empty when every axis stays at its
/// default, so that such a run draws, and is cached, as one without variations.
/// `instance_found` tells whether the request named an instance of this font.
std::vector<float> design_coordinates(const FontVariations& font, std::span<const AxisSetting> face_settings,
                                      const VariationRequest& request, bool& instance_found);

/// Sets `face` to draw at `coordinates` (one per axis, as design_coordinates
/// gives them; empty: the default instance). Returns FreeType's error, 0 on success.
FT_Error set_design_coordinates(FT_Face face, std::span<const float> coordinates);

}  // namespace lumo::shaping

// The style decision for one font file and face word, with variable fonts
// drawing face words on their own axes before anything is imitated.
#include "shaping/drawn_style_py.h"

#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "engine/host_values_py.h"
#include "font/synthetic_style_py.h"
#include "shaping/face_axes.h"
#include "shaping/native_fonts_py.h"
#include "shaping/shaped_run_py.h"

namespace nb = nanobind;

namespace lumo::shaping {

DrawnStyle drawn_style(font::LumoFontObject* self, nb::handle font_path, nb::handle face,
                       const FontVariations* variations, bool can_imitate) {
    DrawnStyle style;
    if (!engine::truth_of(face)) return style;
    if (variations != nullptr && variations->is_variable() && PyUnicode_Check(face.ptr())) {
        FaceAxes axes = face_axes(*variations, engine::utf8_of(face));
        if (!axes.settings.empty() && font::lacks_face_file(self, face, font_path)) {
            style.face_settings = std::move(axes.settings);
            if (can_imitate) {
                const engine::SyntheticStyle asked = font::synthetic_flags(face);
                style.synthetic_bold = asked.bold && !axes.weight_drawn;
                style.synthetic_italic = asked.italic && !axes.italic_drawn;
            }
            return style;
        }
    }
    if (can_imitate && font::is_synthetic_needed(self, nb::str(""), face, font_path)) {
        const engine::SyntheticStyle asked = font::synthetic_flags(face);
        style.synthetic_bold = asked.bold;
        style.synthetic_italic = asked.italic;
    }
    return style;
}

nb::dict face_axes_of(font::LumoFontObject* self, nb::handle face, nb::handle font_path) {
    if (!PyUnicode_Check(face.ptr())) engine::raise_argument_type_error("face", "str", face);
    nb::dict axes;
    // Asked on its own, the question keeps no HarfBuzz font on the object: it still pickles.
    const std::optional<FontVariations> variations = font_variations(self, font_path);
    if (!variations) return axes;
    nb::object lowered = face.attr("lower")();
    const DrawnStyle style = drawn_style(self, font_path, lowered, &*variations, false);
    for (const AxisSetting& setting : style.face_settings)
        axes[nb::str(tag_text(setting.tag).c_str())] = nb::float_(setting.value);
    return axes;
}

}  // namespace lumo::shaping

// The style decision for one font file and face word, with variable fonts
// drawing face words on their own axes before anything is imitated.
#include "shaping/drawn_style_py.h"

#include <optional>
#include <string>

#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "engine/host_values_py.h"
#include "font/synthetic_style_py.h"
#include "shaping/native_fonts_py.h"
#include "shaping/shaped_run_py.h"

namespace nb = nanobind;

namespace lumo::shaping {

namespace {

class HostStyleQuestions final : public StyleQuestions {
public:
    HostStyleQuestions(font::LumoFontObject* self, nb::handle font_path, nb::handle face)
        : self_(self), font_path_(font_path), face_(face) {}

    bool lacks_face_file() override { return font::lacks_face_file(self_, face_, font_path_); }
    bool synthetic_needed() override { return font::is_synthetic_needed(self_, nb::str(""), face_, font_path_); }
    engine::SyntheticStyle asked_effects() override { return font::synthetic_flags(face_); }

private:
    font::LumoFontObject* self_;
    nb::handle font_path_, face_;
};

}  // namespace

DrawnStyle drawn_style(font::LumoFontObject* self, nb::handle font_path, nb::handle face,
                       const FontVariations* variations, bool can_imitate) {
    const bool face_given = engine::truth_of(face);
    std::optional<std::string> word;
    if (face_given && variations != nullptr && variations->is_variable() && PyUnicode_Check(face.ptr()))
        word = engine::utf8_of(face);
    HostStyleQuestions questions(self, font_path, face);
    return decide_drawn_style(face_given, word ? std::optional<std::string_view>(*word) : std::nullopt, variations,
                              can_imitate, questions);
}

nb::dict face_axes_of(font::LumoFontObject* self, nb::handle face, nb::handle font_path) {
    if (!PyUnicode_Check(face.ptr())) engine::raise_argument_type_error("face", "str", face);
    nb::dict axes;
    // Asked on its own, the question keeps no HarfBuzz font on the object: it still pickles.
    const std::optional<FontVariations> variations = font_variations(self, font_path);
    if (!variations) return axes;
    nb::object lowered = engine::lowered_text(face);
    const DrawnStyle style = drawn_style(self, font_path, lowered, &*variations, false);
    for (const AxisSetting& setting : style.face_settings)
        axes[nb::str(tag_text(setting.tag).c_str())] = nb::float_(setting.value);
    return axes;
}

}  // namespace lumo::shaping

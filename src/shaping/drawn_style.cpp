// The style decision for one font file and face word; see drawn_style.h.
#include "shaping/drawn_style.h"

#include "shaping/face_axes.h"

namespace lumo::shaping {

DrawnStyle decide_drawn_style(bool face_given, std::optional<std::string_view> face_word,
                              const FontVariations* variations, bool can_imitate, StyleQuestions& questions) {
    DrawnStyle style;
    if (!face_given) return style;
    if (variations != nullptr && variations->is_variable() && face_word) {
        FaceAxes axes = face_axes(*variations, *face_word);
        if (!axes.settings.empty() && questions.lacks_face_file()) {
            style.face_settings = std::move(axes.settings);
            if (can_imitate) {
                const engine::SyntheticStyle asked = questions.asked_effects();
                style.synthetic_bold = asked.bold && !axes.weight_drawn;
                style.synthetic_italic = asked.italic && !axes.italic_drawn;
            }
            return style;
        }
    }
    if (can_imitate && questions.synthetic_needed()) {
        const engine::SyntheticStyle asked = questions.asked_effects();
        style.synthetic_bold = asked.bold;
        style.synthetic_italic = asked.italic;
    }
    return style;
}

}  // namespace lumo::shaping

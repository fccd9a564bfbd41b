// How one font file draws a face word: from its own file, from a variable
// font's axes and named instances, or imitated by synthetic bold and slant.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "engine/fixed_tables.h"
#include "shaping/font_variations.h"

namespace lumo::shaping {

struct DrawnStyle {
    std::vector<AxisSetting> face_settings;  // the axis values the face word is drawn at
    bool synthetic_bold = false;
    bool synthetic_italic = false;
};

/// What the style decision asks about the file drawn and the face word.
class StyleQuestions {
public:
    virtual ~StyleQuestions() = default;
    /// Whether the file is not the family's own file for the face.
    virtual bool lacks_face_file() = 0;
    /// Whether the synthetic-style decision imitates the face with this file.
    virtual bool synthetic_needed() = 0;
    /// The effects the face word asks for.
    virtual engine::SyntheticStyle asked_effects() = 0;
};

/// The style of a run in a face word (`face_given` false: none; `face_word`:
/// the word, when it is text). A variable font (`variations`, null for none)
/// that is not the family's own file for the face draws the face from its
/// named instance or axes, and only what it has no axis for (bold without
/// `wght`, italic without `ital` or `slnt`) is imitated; every other font is
/// imitated exactly when the synthetic-style decision asks for it. No
/// imitation at all when `can_imitate` is false (FreeType's styling calls
/// are missing); the decision is then not asked.
DrawnStyle decide_drawn_style(bool face_given, std::optional<std::string_view> face_word,
                              const FontVariations* variations, bool can_imitate, StyleQuestions& questions);

}  // namespace lumo::shaping

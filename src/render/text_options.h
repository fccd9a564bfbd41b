// The options a call that takes text may add to how it is drawn, beyond
// render()'s arguments: one struct that the line pipeline carries, so that a
// new option reaches every such call (size, text blocks and what follows).
#pragma once

#include "shaping/typography_options.h"

namespace lumo::render {

struct TextOptions {
    bool markup = true;  // colour and face tags restyle the text; off, it is drawn exactly as given
    shaping::TypographyOptions typography;  // features, language and variations of every run

    bool operator==(const TextOptions&) const = default;
    /// A call with default options draws what render() draws, from the same caches.
    bool is_default() const { return *this == TextOptions{}; }
};

}  // namespace lumo::render

// The effect options of render_block(), size_block() and draw_block(), as
// the host passes them: outline, outline_color, shadow, shadow_color,
// shadow_blur, underline, strikethrough.
#pragma once

#include <nanobind/nanobind.h>

#include <array>

#include "layout/text_effects.h"

namespace lumo::layout {

inline constexpr std::array<const char*, 7> kEffectNames = {
    "outline", "outline_color", "shadow", "shadow_color", "shadow_blur", "underline", "strikethrough"};

/// The effect options given in kEffectNames' order (nullptr: left at its
/// default), checked: a bad value raises the host's error naming the option.
TextEffects read_effects(PyObject* const* given);

/// What the effects in force add to the block cache's key; None when there
/// are none, so that a block without them keeps the key it always had.
nanobind::object effects_key(const TextEffects& effects);

}  // namespace lumo::layout

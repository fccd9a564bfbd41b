// Emoji classification of single characters, shared by all font objects.
#pragma once

#include <nanobind/nanobind.h>

namespace lumo::font {

/// Whether the one-character text `ch` is an emoji: fixed ranges first, then
/// the emoji package's table and the two joiners; memoised in `_EMOJI_CACHE`.
bool is_emoji(nanobind::handle ch);

/// Stores `is_emoji` on the package.
void install_emoji_function(nanobind::module_& package);

}  // namespace lumo::font

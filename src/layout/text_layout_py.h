// TextLayout, what layout_block() returns: a block of text laid out once,
// then drawn and asked where its carets, clicks and selections fall.
#pragma once

#include <nanobind/nanobind.h>

#include <functional>

#include "layout/block_carets.h"

namespace lumo::layout {

/// A TextLayout over `carets`, `width` x `height` pixels, drawn by `paint`
/// (called once, when its surface is first asked for).
nanobind::object make_text_layout(BlockCarets carets, long width, long height, std::function<nanobind::object()> paint);

/// Defines TextLayout and its LayoutLine records in the package, once pygame is imported.
void install_text_layout_types(nanobind::module_& package);

}  // namespace lumo::layout

// TextLayout, what layout_block() returns: a block of text laid out once,
// then drawn and asked where its carets, clicks and selections fall.
#pragma once

#include <nanobind/nanobind.h>

#include <functional>
#include <memory>

#include "layout/block_carets.h"
#include "layout/cluster_frames_py.h"

namespace lumo::layout {

/// A TextLayout over `carets`, `width` x `height` pixels, drawn by `paint`
/// (called once, when its surface is first asked for); its frames drawn
/// cluster by cluster from `picture`.
nanobind::object make_text_layout(BlockCarets carets, long width, long height, std::function<nanobind::object()> paint,
                                  std::shared_ptr<const BlockPicture> picture);

/// Defines TextLayout and its LayoutLine records in the package, once pygame is imported.
void install_text_layout_types(nanobind::module_& package);

}  // namespace lumo::layout

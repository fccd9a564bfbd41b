// The pixel work of a text block's effects, over its lines once they are
// painted: underlines and strikethrough lines in the block's colour, its
// alpha, and, when asked, an outline stroked around every glyph and a shadow
// of the whole, composed under the text.
#pragma once

#include "layout/block_drawing.h"
#include "layout/text_effects.h"
#include "shaping/glyph_painter.h"
#include "shaping/pixel_format.h"
#include "shaping/prepared_run.h"

namespace lumo::layout {

/// Finishes `text`, a surface of frame_block()'s size on which the block's
/// lines are painted where the frame puts them: decorations over the text,
/// the colour's alpha, then the shadow and outline layers under it. Runs
/// drawn as pictures are read from `pictures` for the outline. Throws
/// std::runtime_error when the layers cannot be blended in `format` or a
/// glyph cannot be outlined, std::bad_alloc when memory runs out.
void paint_block_effects(const shaping::PixelTarget& text, const shaping::PixelFormat& format,
                         const BlockDrawing& block, const TextEffects& effects, shaping::RunPictures& pictures);

}  // namespace lumo::layout

// A text block drawn in layers: the lines painted as ever, then its effects
// (layout/block_painter.h) on the same surface.
#include "layout/block_effects_py.h"

#include "layout/block_painter.h"
#include "render/line_composer_py.h"
#include "shaping/native_fonts_py.h"
#include "shaping/shaped_run_py.h"

namespace nb = nanobind;

namespace lumo::layout {

shaping::LineDecorations fallback_decorations(font::LumoFontObject* self, nb::handle size, nb::handle fallback_path,
                                              nb::handle face) {
    const int pixel_size = nb::cast<int>(size);
    const shaping::RunFont font =
        shaping::resolve_run_font(self, size, fallback_path, face, shaping::current_emoji_placement());
    shaping::FreeTypeFaceObject* entry = font.face.is_valid() ? shaping::as_freetype_face(font.face) : nullptr;
    return shaping::line_decorations(entry != nullptr ? entry->face->face.get() : nullptr, pixel_size);
}

nb::object draw_block_surface(const BlockDrawing& block, const TextEffects& effects,
                              const shaping::RunSurfaces& surfaces, nb::handle onto) {
    const EffectFrame frame = frame_block(block.width, block.height, effects);
    nb::object text = onto.is_valid() ? nb::borrow(onto) : shaping::new_surface(frame.width, frame.height);
    render::InkedRows inked;  // a surface given to draw onto is taken as new
    for (const PlacedLine& placed : block.lines)
        render::place_runs(text, placed.line->runs, surfaces, placed.x + frame.text_x, placed.y + frame.text_y,
                           inked);
    const shaping::PixelFormat& format = shaping::surface_pixel_format(text);
    shaping::LockedPixels pixels(text);
    shaping::LockedRunSurfaces pictures(surfaces);
    paint_block_effects(pixels.target(), format, block, effects, pictures);
    return text;
}

}  // namespace lumo::layout

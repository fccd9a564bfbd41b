// Underline and strikethrough positions from a font's tables.
#include "shaping/decoration_metrics.h"

#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

namespace lumo::shaping {
namespace {

int whole_rows(double pixels) { return static_cast<int>(std::floor(pixels + 0.5)); }

/// A thickness in pixels as whole rows, at least one, and never thicker than
/// the size itself (a damaged table cannot paint a slab).
int thickness_rows(double pixels, int pixel_size) { return std::clamp(whole_rows(pixels), 1, std::max(1, pixel_size)); }

/// A position in pixels, kept within a few sizes of the baseline for the same reason.
double bounded(double pixels, int pixel_size) {
    const double limit = 4.0 * pixel_size;
    return std::clamp(pixels, -limit, limit);
}

}  // namespace

LineDecorations line_decorations(FT_Face face, int pixel_size) {
    pixel_size = std::max(1, pixel_size);
    const double size = pixel_size;
    const double default_thickness = size / 14.0;
    LineDecorations lines;
    lines.underline.thickness = thickness_rows(default_thickness, pixel_size);
    lines.underline.top = whole_rows(size / 10.0 - lines.underline.thickness / 2.0);
    lines.strikethrough.thickness = lines.underline.thickness;
    lines.strikethrough.top = whole_rows(-size / 4.0 - lines.strikethrough.thickness / 2.0);
    if (face == nullptr || !FT_IS_SCALABLE(face) || face->units_per_EM == 0) return lines;

    const double scale = size / face->units_per_EM;
    if (face->underline_thickness > 0) {
        lines.underline.thickness = thickness_rows(face->underline_thickness * scale, pixel_size);
        const double centre = bounded(-face->underline_position * scale, pixel_size);
        lines.underline.top = whole_rows(centre - lines.underline.thickness / 2.0);
    }
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
        lines.strikethrough.thickness = thickness_rows(os2->yStrikeoutSize * scale, pixel_size);
        lines.strikethrough.top = whole_rows(bounded(-os2->yStrikeoutPosition * scale, pixel_size));
    }
    return lines;
}

}  // namespace lumo::shaping

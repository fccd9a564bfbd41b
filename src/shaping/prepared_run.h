// One run of a line laid out and ready to paint, and the pictures of runs that
// were drawn outside the engine (the legacy emoji engine's), which runs refer
// to by number.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "shaping/glyph_painter.h"
#include "shaping/glyph_raster.h"
#include "shaping/pixel_format.h"
#include "shaping/run_layout.h"
#include "shaping/sized_face.h"

namespace lumo::shaping {

/// One run laid out and ready to paint: a native layout in one colour, or a
/// picture the legacy emoji engine already drew.
struct PreparedRun {
    static constexpr std::int32_t kNoPicture = -1;

    long advance = 1;
    int width = 1;    // width of the run's own surface
    int height = 1;   // the line's surface height
    int baseline = 0;
    std::shared_ptr<const RunLayout> layout;  // null: an empty run, or one drawn as a picture
    std::array<std::uint8_t, 3> rgb{};
    bool anti_aliased = true;
    std::int32_t picture = kNoPicture;  // the number of the picture the legacy engine drew it as
    std::shared_ptr<SizedFace> face;    // the face its glyphs came from (outlines are stroked from it)
    RasterOptions options;              // how its glyphs were rasterised

    bool has_picture() const { return picture >= 0; }
};

/// A run drawn outside the engine as pixels: `width` x `height` of its run,
/// its ink from row 0 down.
struct RunPicture {
    PixelTarget pixels;
    PixelFormat format;
};

/// The pictures a call's runs refer to by number. Whoever holds them makes
/// their pixels readable when one is first asked for, which is only when a
/// line with such a run is painted or its ink measured.
class RunPictures {
public:
    /// The picture `number` (a run's `picture`), valid while this object lives.
    virtual const RunPicture& picture(std::size_t number) = 0;

protected:
    ~RunPictures() = default;
};

/// The pictures of lines that have none.
class NoRunPictures final : public RunPictures {
public:
    const RunPicture& picture(std::size_t number) override;
};

/// Rows from the top of `picture` to the bottom of its lowest inked row (a
/// pixel with any alpha): 0 when it holds no ink.
int inked_rows(const RunPicture& picture);

/// Paints `run` onto `target`, a blank surface of the run's size, its glyphs
/// `lowered` rows below their baseline; a run without a layout (an empty
/// one, or one drawn as a picture) paints nothing.
void paint_run_alone(const PixelTarget& target, const PixelFormat& format, const PreparedRun& run, int lowered);

/// How many rows lower a line of `runs` is painted so that ink reaching above
/// the top of its surface (stacked marks, tall vowel signs, accents over
/// capitals) is kept: the rows it lacks above, as far as the rows free below
/// all of its ink allow; 0 for a line whose ink fits, which is painted
/// exactly where its baseline says. Pictures are read only when some ink
/// reaches above.
int rows_to_keep_ink(std::span<const PreparedRun> runs, RunPictures& pictures);

}  // namespace lumo::shaping

// Prepared runs and lines of real words, laid out with a real font the way the
// renderer lays them out, and pixel buffers to paint them into.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "layout/block_layout.h"
#include "real_fonts.h"
#include "render/prepared_line.h"
#include "shaping/harfbuzz_font.h"
#include "shaping/prepared_run.h"
#include "shaping/run_layout.h"

namespace lumo::test {

inline constexpr shaping::PixelFormat kArgb{
    {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}, {16, 8, 0, 24}, {0, 0, 0, 0}};

/// 32-bit pixels of one format, all zero: a new transparent surface.
struct Pixels {
    Pixels(int width, int height) : width(width), height(height), values(std::size_t(width) * height, 0u) {}
    shaping::PixelTarget target() {
        return {reinterpret_cast<std::uint8_t*>(values.data()), width, height, std::ptrdiff_t(width) * 4};
    }
    std::uint32_t at(int x, int y) const { return values[std::size_t(y) * width + x]; }
    int width, height;
    std::vector<std::uint32_t> values;
};

/// DejaVu Sans at 24 pixels, with a face of its own, as a line draws with it:
/// baseline 23 rows down a 42-row line.
class DejaVuRuns {
public:
    static constexpr int kBaseline = 23;
    static constexpr int kLineHeight = 42;

    DejaVuRuns() {
        shaping::FontLoadError error;
        font_ = shaping::HarfBuzzFont::load(kDejaVuSans, 0, error);
        // The face shared by the runs keeps its own FreeType library alive.
        SizedFace opened = open_sized_face(kDejaVuSans, 24);
        face_ = std::make_shared<shaping::SizedFace>();
        face_->face = std::move(opened.face);
        face_->source = std::shared_ptr<const void>(opened.library.release(), [](const void* library) {
            FT_Done_FreeType(static_cast<FT_Library>(const_cast<void*>(library)));
        });
        face_->pixel_size = 24;
    }
    bool ready() const { return font_ && face_->face; }

    /// `text` as one run in `rgb`, as the line renderer prepares it.
    shaping::PreparedRun run(const std::u32string& text, std::array<std::uint8_t, 3> rgb = {250, 120, 20},
                             bool anti_aliased = true) {
        const std::vector<std::uint32_t> code_points(text.begin(), text.end());
        auto layout = std::make_shared<shaping::RunLayout>();
        shaping::RasterOptions options;
        options.anti_aliased = anti_aliased;
        EXPECT_FALSE(shaping::layout_run(*font_, face_->face.get(), code_points, 24, options, *layout, &face_->glyphs));
        shaping::PreparedRun run;
        run.baseline = kBaseline;
        run.height = kLineHeight;
        run.anti_aliased = anti_aliased;
        run.options = options;
        run.face = face_;
        run.width = layout->empty ? layout->logical_width : layout->surface_width;
        run.advance = layout->empty ? layout->logical_width : layout->total_advance;
        run.rgb = rgb;
        if (!layout->empty) run.layout = std::move(layout);
        return run;
    }

    const std::shared_ptr<shaping::SizedFace>& face() const { return face_; }

private:
    std::unique_ptr<shaping::HarfBuzzFont> font_;
    std::shared_ptr<shaping::SizedFace> face_;
};

/// A line of `runs`, as the renderer prepares one.
inline render::PreparedLine line_of(std::vector<shaping::PreparedRun> runs, int height = DejaVuRuns::kLineHeight) {
    render::PreparedLine line;
    line.height = static_cast<int>(height / 1.5);
    for (const shaping::PreparedRun& run : runs) line.total += run.advance;
    line.runs = std::move(runs);
    return line;
}

/// Pictures held as pixel buffers, counting how often each is asked for.
class HeldPictures final : public shaping::RunPictures {
public:
    std::int32_t add(Pixels pixels, const shaping::PixelFormat& format = kArgb) {
        buffers_.push_back(std::make_unique<Pixels>(std::move(pixels)));
        pictures_.push_back({buffers_.back()->target(), format});
        return static_cast<std::int32_t>(pictures_.size() - 1);
    }
    const shaping::RunPicture& picture(std::size_t number) override {
        ++asked;
        return pictures_.at(number);
    }
    int asked = 0;

private:
    std::vector<std::unique_ptr<Pixels>> buffers_;
    std::vector<shaping::RunPicture> pictures_;
};

/// Lines of markup-free text, each one run of DejaVu Sans; counts what it prepares.
class DejaVuLines final : public layout::BlockLines {
public:
    explicit DejaVuLines(DejaVuRuns& fonts) : fonts_(fonts) {}
    int prepared = 0;
    std::vector<std::u32string> asked;  // the texts prepared, in order

protected:
    render::PreparedLine prepare(std::u32string_view text, bool) override {
        ++prepared;
        asked.emplace_back(text);
        render::PreparedLine line =
            line_of(text.empty() ? std::vector<shaping::PreparedRun>{} : std::vector{fonts_.run(std::u32string(text))});
        if (!text.empty()) line.characters.push_back({0, text.size(), 0});
        return line;
    }

private:
    DejaVuRuns& fonts_;
};

}  // namespace lumo::test

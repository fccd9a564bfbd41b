// The layers of frames drawn cluster by cluster: the pieces of one alpha make
// a block that draws like the whole block where nothing moves, and draws a
// moved cluster's glyphs moved on a frame grown to hold them.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "layout/caret_lines.h"
#include "layout/cluster_layers.h"
#include "prepared_lines.h"
#include "render/line_painter.h"

namespace {

using namespace lumo;
using lumo::test::Pixels;

/// The block's lines painted as a block's surface is, without effects.
Pixels painted(const layout::BlockDrawing& drawing) {
    Pixels pixels(int(drawing.width), int(drawing.height));
    test::HeldPictures pictures;
    render::InkedRows inked;
    for (const layout::PlacedLine& line : drawing.lines)
        render::paint_runs(pixels.target(), test::kArgb, line.line->runs, pictures, line.x, line.y, false,
                           inked);
    return pixels;
}

struct ClusteredBlock {
    ClusteredBlock(test::DejaVuRuns& fonts, std::u32string text) : lines(fonts) {
        block = layout::break_block(std::move(text), {}, {}, lines);
        layout::place_block(block, {}, {test::DejaVuRuns::kBaseline, 28, {}}, lines);
        carets.emplace(layout::block_carets(block, [this](std::u32string_view markup, bool rtl)
                                                       -> const render::PreparedLine& { return *lines.line(markup, rtl); }));
        clusters.emplace(*carets);
    }
    test::DejaVuLines lines;
    layout::LaidOutBlock block;
    std::optional<layout::BlockCarets> carets;
    std::optional<layout::BlockClusters> clusters;
};

TEST(ClusterLayers, MarginsHoldEveryMoveAndLayersGoFromOpaqueToFaint) {
    layout::LinePieces first, second;
    first.runs.push_back({0, {-3, 2, 255}, true, {}});
    first.runs.push_back({1, {0, 0, 0}, true, {}});
    second.runs.push_back({0, {7, -5, 40}, true, {}});
    second.decorations.push_back({0, 10, {2, 9, 128}});
    const layout::LinePieces lines[] = {first, second};
    const layout::PieceMargins margins = layout::margins_of(lines);
    EXPECT_EQ(margins.left, 3);
    EXPECT_EQ(margins.right, 7);
    EXPECT_EQ(margins.top, 5);
    EXPECT_EQ(margins.bottom, 9);
    EXPECT_EQ(layout::layer_alphas(lines), (std::vector<std::uint8_t>{255, 128, 40}));
}

TEST(ClusterLayers, PieceLayoutsAreReusedOnceNoFrameHoldsThem) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    const shaping::PreparedRun run = fonts.run(U"abc");
    std::vector<std::shared_ptr<shaping::RunLayout>> kept;
    layout::PieceLayouts frame(kept);
    EXPECT_EQ(frame.piece_of(run, {0, {}, true, {}}).layout, run.layout);
    shaping::PreparedRun piece = frame.piece_of(run, {0, {}, false, {2, 0, 9}});
    ASSERT_EQ(piece.layout->glyphs.size(), 2u);
    EXPECT_EQ(piece.layout->glyphs[0].glyph_id, run.layout->glyphs[2].glyph_id);
    EXPECT_EQ(piece.layout->surface_width, run.layout->surface_width);
    layout::PieceLayouts next(kept);
    EXPECT_NE(next.piece_of(run, {0, {}, false, {1}}).layout, piece.layout) << "held by the frame before";
    const shaping::RunLayout* held = piece.layout.get();
    piece = {};
    layout::PieceLayouts after(kept);
    EXPECT_EQ(after.piece_of(run, {0, {}, false, {1}}).layout.get(), held);
    EXPECT_TRUE(after.piece_of(run, {0, {}, false, {}}).layout->empty);
}

TEST(ClusterLayers, WithNothingMovedTheLayerDrawsTheBlockAsItIs) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    ClusteredBlock clustered(fonts, U"Wavy fjord\nÅgé");
    const auto& clusters = *clustered.clusters;
    const std::vector<layout::LinePieces> pieces =
        clusters.pieces(clusters.reveal_shifts(clusters.clusters().size()));
    std::vector<std::shared_ptr<shaping::RunLayout>> kept;
    layout::PieceLayouts layouts(kept);
    const layout::ClusterLayer layer(clustered.block.drawing, pieces, 255, layout::margins_of(pieces), layouts);
    EXPECT_EQ(painted(layer.drawing()).values, painted(clustered.block.drawing).values);
    const layout::ClusterLayer faint(clustered.block.drawing, pieces, 128, layout::margins_of(pieces), layouts);
    EXPECT_TRUE(faint.drawing().lines.empty());
}

TEST(ClusterLayers, AMovedClusterIsDrawnMovedOnAFrameGrownToHoldIt) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    ClusteredBlock clustered(fonts, U"I    I");
    const auto& clusters = *clustered.clusters;
    std::vector<layout::ClusterShift> shifts = clusters.reveal_shifts(clusters.clusters().size());
    shifts.front() = {-2, 9, 255};  // the first I, down and to the left
    const std::vector<layout::LinePieces> pieces = clusters.pieces(shifts);
    const layout::PieceMargins margins = layout::margins_of(pieces);
    std::vector<std::shared_ptr<shaping::RunLayout>> kept;
    layout::PieceLayouts layouts(kept);
    const layout::ClusterLayer layer(clustered.block.drawing, pieces, 255, margins, layouts);
    const Pixels moved = painted(layer.drawing()), still = painted(clustered.block.drawing);
    ASSERT_EQ(moved.width, still.width + 2);
    ASSERT_EQ(moved.height, still.height + 9);
    const int first_i = int(std::ceil(clustered.block.lines[0]->runs[0].layout->glyphs[0].advance));
    for (int y = 0; y < still.height; ++y)
        for (int x = 0; x < still.width; ++x) {
            // The first I lands 2 columns left and 9 rows down of where it stood, on a frame
            // that grew by 2 on the left: at its own column; the rest stands 2 columns right.
            if (x < first_i) EXPECT_EQ(moved.at(x, y + 9), still.at(x, y)) << x << ", " << y;
            else EXPECT_EQ(moved.at(x + 2, y), still.at(x, y)) << x << ", " << y;
        }
}

}  // namespace

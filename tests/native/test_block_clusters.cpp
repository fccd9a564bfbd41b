// Grapheme clusters of made-up blocks, which glyphs and underline columns
// belong to each, and the pieces frames are drawn from: every glyph's
// characters and advance are known, so every piece is known.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/limits.h"
#include "layout/block_clusters.h"
#include "layout/cluster_requests.h"
#include "layout/laid_out_text.h"

namespace {

using lumo::layout::BlockCarets;
using lumo::layout::BlockClusters;
using lumo::layout::CaretCharacter;
using lumo::layout::CaretLine;
using lumo::layout::ClusterShift;
using lumo::layout::DecorationPiece;
using lumo::layout::GlyphPlace;
using lumo::layout::LinePieces;
using lumo::layout::PixelRect;
using lumo::layout::RunPiece;
using lumo::layout::RunPlace;

constexpr ClusterShift kStill{};
constexpr ClusterShift kHidden{0, 0, 0};

/// The characters of `text`, each at its own index, or at `starts` when given (tags between them).
std::vector<CaretCharacter> characters_of(std::u32string_view text, std::vector<std::size_t> starts = {}) {
    std::vector<CaretCharacter> characters;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t start = starts.empty() ? i : starts[i];
        characters.push_back({text[i], start, start + 1, text[i] != U'\n'});
    }
    return characters;
}

/// A drawn run over characters [first, end): one glyph per entry of
/// `characters` (the character it was shaped from), each `advance` wide,
/// left to right from `origin`.
struct TestRun {
    RunPlace place;
    std::vector<GlyphPlace> glyphs;
};

TestRun run(std::size_t first, std::size_t end, std::uint8_t level, double origin,
            std::vector<std::size_t> characters, std::vector<double> advances) {
    TestRun made;
    made.place = {first, end, level, origin};
    double pen = origin;
    for (std::size_t i = 0; i < characters.size(); ++i) {
        made.glyphs.push_back({characters[i], advances[i], pen, pen + advances[i]});
        pen += advances[i];
    }
    made.place.advance = pen - origin;
    return made;
}

CaretLine line(std::size_t first, std::size_t end, std::vector<TestRun> runs, long y = 0) {
    CaretLine made;
    made.first = first;
    made.end = end;
    made.y = y;
    made.height = 20;
    made.baseline = y + 15;
    double right = 0.0;
    for (TestRun& drawn : runs) {
        right = std::max(right, drawn.place.origin + drawn.place.advance);
        drawn.place.first_glyph = made.glyphs.size();
        drawn.place.glyph_count = drawn.glyphs.size();
        made.glyphs.insert(made.glyphs.end(), drawn.glyphs.begin(), drawn.glyphs.end());
        made.runs.push_back(drawn.place);
    }
    made.drawn_runs = made.runs.size();
    made.start_edge = 0.0;
    made.end_edge = right;
    return made;
}

std::vector<std::pair<std::size_t, std::size_t>> ranges(const BlockClusters& clusters) {
    std::vector<std::pair<std::size_t, std::size_t>> found;
    for (const auto& cluster : clusters.clusters()) found.emplace_back(cluster.start, cluster.end);
    return found;
}

TEST(BlockClusters, ClustersAreGraphemesWithTheirPlaceLineAndBaseline) {
    // "ae\u0301b" then "cd" on a second line: "e" and its accent are one cluster.
    const std::u32string text = U"ae\u0301b\ncd";
    BlockCarets carets(characters_of(text), text.size(),
                       {line(0, 4, {run(0, 4, 0, 0, {0, 1, 1, 3}, {10, 12, 0, 8})}),
                        line(5, 7, {run(5, 7, 0, 0, {5, 6}, {9, 9})}, 20)});
    const BlockClusters clusters(carets);
    EXPECT_EQ(ranges(clusters), (std::vector<std::pair<std::size_t, std::size_t>>{
                                    {0, 1}, {1, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}}));
    const auto& all = clusters.clusters();
    EXPECT_EQ(all[1].rect, (PixelRect{10, 0, 12, 20}));
    EXPECT_EQ(all[1].line, 0u);
    EXPECT_EQ(all[1].baseline, 15);
    EXPECT_EQ(all[3].line, 0u);  // the newline stands at the end of its line, without width
    EXPECT_EQ(all[3].rect.width, 0);
    EXPECT_EQ(all[3].rect.x, 30);
    EXPECT_EQ(all[5].rect, (PixelRect{9, 20, 9, 20}));
    EXPECT_EQ(all[5].line, 1u);
    EXPECT_EQ(all[5].baseline, 35);
}

TEST(BlockClusters, ARevealShowsOnlyClustersItHasReachedWhole) {
    // "a", a tag of two characters (indices 1 and 2), then "e\u0301" at 3 and 4, then "b".
    const std::u32string text = U"ae\u0301b";
    BlockCarets carets(characters_of(text, {0, 3, 4, 5}), 6,
                       {line(0, 4, {run(0, 4, 0, 0, {0, 1, 1, 3}, {10, 12, 0, 8})})});
    const BlockClusters clusters(carets);
    EXPECT_EQ(ranges(clusters), (std::vector<std::pair<std::size_t, std::size_t>>{{0, 1}, {3, 5}, {5, 6}}));
    const std::vector<std::size_t> shown = {clusters.revealed(0), clusters.revealed(1), clusters.revealed(3),
                                            clusters.revealed(4), clusters.revealed(5), clusters.revealed(99)};
    EXPECT_EQ(shown, (std::vector<std::size_t>{0, 1, 1, 1, 2, 3}));
}

TEST(ClusterRequests, RevealIndicesOfAnySizeShowNoneSomeOrAll) {
    // As above: "a", a two-character tag, "e\u0301", "b": three clusters in six indices.
    const std::u32string text = U"ae\u0301b";
    BlockCarets carets(characters_of(text, {0, 3, 4, 5}), 6,
                       {line(0, 4, {run(0, 4, 0, 0, {0, 1, 1, 3}, {10, 12, 0, 8})})});
    const BlockClusters clusters(carets);
    using lumo::layout::clusters_revealed;
    EXPECT_EQ(clusters_revealed(clusters, 6, -7, 0), 0u);
    EXPECT_EQ(clusters_revealed(clusters, 6, 0, 0), 0u);
    EXPECT_EQ(clusters_revealed(clusters, 6, -1, -1), 0u);  // below every long long
    EXPECT_EQ(clusters_revealed(clusters, 6, 1, 0), 1u);
    EXPECT_EQ(clusters_revealed(clusters, 6, 4, 0), 1u);  // inside "e\u0301"
    EXPECT_EQ(clusters_revealed(clusters, 6, 5, 0), 2u);
    EXPECT_EQ(clusters_revealed(clusters, 6, 6, 0), 3u);
    EXPECT_EQ(clusters_revealed(clusters, 6, 1LL << 40, 0), 3u);
    EXPECT_EQ(clusters_revealed(clusters, 6, -1, 1), 3u);  // above every long long
}

TEST(LaidOutText, FramesDifferFromTheBlockOnlyWhenTheyHideOrMoveClusters) {
    const std::u32string text = U"ae\u0301b";
    lumo::layout::LaidOutText laid_out(
        BlockCarets(characters_of(text, {0, 3, 4, 5}), 6,
                    {line(0, 4, {run(0, 4, 0, 0, {0, 1, 1, 3}, {10, 12, 0, 8})})}),
        30, 20);
    EXPECT_EQ(laid_out.shown(std::nullopt), 3u);
    EXPECT_EQ(laid_out.shown(4), 1u);
    EXPECT_EQ(laid_out.shown(-1, 1), 3u);
    EXPECT_TRUE(laid_out.is_whole(3, false));
    EXPECT_FALSE(laid_out.is_whole(3, true));
    EXPECT_FALSE(laid_out.is_whole(2, false));
    EXPECT_EQ(laid_out.frame_shifts(1), (std::vector<ClusterShift>{kStill, kHidden, kHidden}));
    EXPECT_EQ(laid_out.index(6), 6u);
    EXPECT_FALSE(laid_out.index(7));
    EXPECT_FALSE(laid_out.index(-1));
}

/// Offsets as a host gives them: `given` triples of a sequence (nullopt: a
/// callable), each cluster moved by its number; what was asked is noted.
class ScriptedOffsets final : public lumo::layout::FrameOffsets {
public:
    explicit ScriptedOffsets(std::optional<std::size_t> given) : given_(given) {}
    std::vector<std::size_t> asked;
    std::optional<std::size_t> count() override { return given_; }
    ClusterShift shift(std::size_t cluster) override {
        asked.push_back(cluster);
        return {static_cast<long>(cluster) + 1, 0, 255};
    }
    [[noreturn]] void refuse(const std::string& message) override { throw std::runtime_error(message); }

private:
    std::optional<std::size_t> given_;
};

TEST(LaidOutText, OffsetsMoveOnlyTheClustersAFrameShowsAndMustCountThemAll) {
    const std::u32string text = U"ae\u0301b";
    lumo::layout::LaidOutText laid_out(
        BlockCarets(characters_of(text, {0, 3, 4, 5}), 6,
                    {line(0, 4, {run(0, 4, 0, 0, {0, 1, 1, 3}, {10, 12, 0, 8})})}),
        30, 20);
    // Every cluster shown and none moved: the block as it stands.
    EXPECT_FALSE(laid_out.frame_shifts(3, nullptr));
    EXPECT_EQ(laid_out.frame_shifts(1, nullptr), (std::vector<ClusterShift>{kStill, kHidden, kHidden}));
    ScriptedOffsets callable(std::nullopt);
    EXPECT_EQ(laid_out.frame_shifts(2, &callable),
              (std::vector<ClusterShift>{{1, 0, 255}, {2, 0, 255}, kHidden}));
    EXPECT_EQ(callable.asked, (std::vector<std::size_t>{0, 1}));
    // Moving every cluster, even where each already stands, is a frame of its own.
    ScriptedOffsets sequence(3);
    EXPECT_TRUE(laid_out.frame_shifts(3, &sequence));
    EXPECT_EQ(sequence.asked.size(), 3u);
    ScriptedOffsets short_sequence(2);
    try {
        laid_out.frame_shifts(1, &short_sequence);
        FAIL() << "two triples for three clusters were taken";
    } catch (const std::runtime_error& refusal) {
        EXPECT_EQ(std::string(refusal.what()), lumo::layout::offsets_count_message(3, 2));
    }
    EXPECT_TRUE(short_sequence.asked.empty());
}

TEST(LaidOutText, LinesGiveTheirTypedRangeRectangleBaselineAndDirection) {
    const std::u32string text = U"ab\ncd";
    CaretLine second = line(3, 5, {run(3, 5, 1, 0, {4, 3}, {9, 9})}, 20);
    second.right_to_left = true;
    second.width = 18;
    lumo::layout::LaidOutText laid_out(
        BlockCarets(characters_of(text), text.size(), {line(0, 2, {run(0, 2, 0, 0, {0, 1}, {10, 10})}), second}), 20,
        40);
    const std::vector<lumo::layout::LayoutLineRecord> lines = laid_out.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(std::string(lines[0].direction), "ltr");
    EXPECT_EQ(lines[0].start, 0u);
    EXPECT_EQ(lines[1].start, 3u);
    EXPECT_EQ(lines[1].end, 5u);
    EXPECT_EQ(lines[1].rect, (PixelRect{0, 20, 18, 20}));
    EXPECT_EQ(lines[1].baseline, 35);
    EXPECT_EQ(std::string(lines[1].direction), "rtl");
    EXPECT_TRUE(lumo::layout::point_allowed(-3.5, 1e300));
    EXPECT_FALSE(lumo::layout::point_allowed(__builtin_inf(), 0.0));
    EXPECT_FALSE(lumo::layout::point_allowed(0.0, __builtin_nan("")));
}

TEST(ClusterRequests, TextIndicesRunFromZeroToTheLength) {
    using lumo::layout::index_within_text;
    EXPECT_EQ(index_within_text(0, 5), 0u);
    EXPECT_EQ(index_within_text(5, 5), 5u);
    EXPECT_FALSE(index_within_text(6, 5));
    EXPECT_FALSE(index_within_text(-1, 5));
    EXPECT_FALSE(index_within_text(-(1LL << 62), 0));
    EXPECT_EQ(lumo::layout::index_outside_text_message(-3, 5), "index -3 is outside the text (0 to 5)");
}

TEST(ClusterRequests, OffsetNumbersAreFiniteMovesWithinTheLimitsAndAlphasFrom0To255) {
    using lumo::layout::OffsetPart;
    using lumo::layout::offset_allowed;
    const double most = lumo::kMaxRunExtentPixels;
    for (OffsetPart move : {OffsetPart::dx, OffsetPart::dy}) {
        for (double allowed : {0.0, -3.5, most, -most}) EXPECT_TRUE(offset_allowed(move, allowed)) << allowed;
        for (double refused : {most + 1, -most - 1, __builtin_inf(), __builtin_nan("")})
            EXPECT_FALSE(offset_allowed(move, refused)) << refused;
    }
    for (double allowed : {0.0, 127.5, 255.0}) EXPECT_TRUE(offset_allowed(OffsetPart::alpha, allowed));
    for (double refused : {-0.5, 255.5, __builtin_nan("")}) EXPECT_FALSE(offset_allowed(OffsetPart::alpha, refused));
    EXPECT_EQ(lumo::layout::offset_limit_message(OffsetPart::dy),
              "offsets: dy must be a finite number of pixels within the limits");
    EXPECT_EQ(lumo::layout::offset_limit_message(OffsetPart::alpha), "offsets: alpha must be from 0 to 255");
    EXPECT_EQ(lumo::layout::offsets_count_message(3, 2),
              "offsets must give one (dx, dy, alpha) for each of the 3 clusters, not 2");
}

TEST(ClusterRequests, ShiftsRoundHalfAwayFromZero) {
    EXPECT_EQ(lumo::layout::shift_of(2.5, -2.5, 127.5), (ClusterShift{3, -3, 128}));
    EXPECT_EQ(lumo::layout::shift_of(-0.4, 0.49, 0.4), (ClusterShift{0, 0, 0}));
    EXPECT_EQ(lumo::layout::shift_of(0, 0, 255), kStill);
}

TEST(BlockClusters, StillPiecesAreTheRunsThemselves) {
    const std::u32string text = U"ab cd";
    BlockCarets carets(characters_of(text), text.size(),
                       {line(0, 5, {run(0, 2, 0, 0, {0, 1}, {10, 10}), run(2, 3, 0, 20, {2}, {5}),
                                    run(3, 5, 0, 25, {3, 4}, {10, 10})})});
    const BlockClusters clusters(carets);
    const std::vector<ClusterShift> still(clusters.clusters().size(), kStill);
    const std::vector<LinePieces> pieces = clusters.pieces(still);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].runs, (std::vector<RunPiece>{{0, kStill, true, {}}, {1, kStill, true, {}},
                                                     {2, kStill, true, {}}}));
    EXPECT_EQ(pieces[0].decorations, (std::vector<DecorationPiece>{{0, 45, kStill}}));
    EXPECT_EQ(clusters.reveal_shifts(5), still);
}

TEST(BlockClusters, AMovedClusterTakesItsGlyphsAndItsUnderlineWithIt) {
    const std::u32string text = U"abc";
    BlockCarets carets(characters_of(text), 3, {line(0, 3, {run(0, 3, 0, 0, {0, 1, 2}, {10, 12, 8})})});
    const BlockClusters clusters(carets);
    const ClusterShift up{0, -3, 255}, faded{2, 0, 128};
    const std::vector<LinePieces> pieces = clusters.pieces(std::vector<ClusterShift>{kStill, up, faded});
    EXPECT_EQ(pieces[0].runs, (std::vector<RunPiece>{{0, kStill, false, {0}}, {0, up, false, {1}},
                                                     {0, faded, false, {2}}}));
    EXPECT_EQ(pieces[0].decorations,
              (std::vector<DecorationPiece>{{0, 10, kStill}, {10, 22, up}, {22, 30, faded}}));
    // Glyphs that move alike are one piece, in order of the first of them.
    const std::vector<LinePieces> wave = clusters.pieces(std::vector<ClusterShift>{up, kStill, up});
    EXPECT_EQ(wave[0].runs, (std::vector<RunPiece>{{0, up, false, {0, 2}}, {0, kStill, false, {1}}}));
}

TEST(BlockClusters, ALigatureGoesWithItsFirstLetter) {
    // "ffi" shaped into one glyph (from character 0), then "x".
    const std::u32string text = U"ffix";
    BlockCarets carets(characters_of(text), 4, {line(0, 4, {run(0, 4, 0, 0, {0, 3}, {30, 10})})});
    const BlockClusters clusters(carets);
    ASSERT_EQ(clusters.clusters().size(), 4u);
    const ClusterShift moved{5, 0, 255};
    EXPECT_EQ(clusters.pieces(std::vector<ClusterShift>{moved, kStill, kStill, kStill})[0].runs,
              (std::vector<RunPiece>{{0, moved, false, {0}}, {0, kStill, false, {1}}}));
    // Moving its second letter moves no glyph, only that letter's share of the underline.
    const std::vector<LinePieces> second = clusters.pieces(std::vector<ClusterShift>{kStill, moved, kStill, kStill});
    EXPECT_EQ(second[0].runs, (std::vector<RunPiece>{{0, kStill, true, {}}}));
    EXPECT_EQ(second[0].decorations,
              (std::vector<DecorationPiece>{{0, 10, kStill}, {10, 20, moved}, {20, 40, kStill}}));
    // A reveal of the first letter shows the whole ligature.
    EXPECT_EQ(clusters.pieces(clusters.reveal_shifts(1))[0].runs,
              (std::vector<RunPiece>{{0, kStill, false, {0}}}));
}

TEST(BlockClusters, ARightToLeftRunRevealsFromItsRightEnd) {
    // Three Hebrew letters drawn right to left: the glyph of the first letter is drawn last, at the right.
    const std::u32string text = U"\u05D0\u05D1\u05D2";
    BlockCarets carets(characters_of(text), 3, {line(0, 3, {run(0, 3, 1, 0, {2, 1, 0}, {10, 10, 10})})});
    const BlockClusters clusters(carets);
    EXPECT_EQ(clusters.clusters()[0].rect.x, 20);
    const std::vector<LinePieces> first = clusters.pieces(clusters.reveal_shifts(1));
    EXPECT_EQ(first[0].runs, (std::vector<RunPiece>{{0, kStill, false, {2}}}));
    EXPECT_EQ(first[0].decorations, (std::vector<DecorationPiece>{{20, 30, kStill}}));
    const std::vector<LinePieces> two = clusters.pieces(clusters.reveal_shifts(2));
    EXPECT_EQ(two[0].runs, (std::vector<RunPiece>{{0, kStill, false, {1, 2}}}));
    EXPECT_EQ(two[0].decorations, (std::vector<DecorationPiece>{{10, 30, kStill}}));
    EXPECT_TRUE(clusters.pieces(clusters.reveal_shifts(0))[0].runs.empty());
}

TEST(BlockClusters, ARunDrawnAsOnePictureBelongsToItsFirstCluster) {
    // "a" then two emoji the older engine drew as one surface (a run without glyphs).
    const std::u32string text = U"a\U0001F600\U0001F601";
    CaretLine drawn = line(0, 3, {run(0, 1, 0, 0, {0}, {10})});
    RunPlace picture{1, 3, 0, 10, 40};
    drawn.runs.push_back(picture);
    drawn.drawn_runs = 2;
    drawn.end_edge = 50;
    BlockCarets carets(characters_of(text), 3, {drawn});
    const BlockClusters clusters(carets);
    const ClusterShift moved{0, 4, 255};
    EXPECT_EQ(clusters.pieces(std::vector<ClusterShift>{kStill, moved, kHidden})[0].runs,
              (std::vector<RunPiece>{{0, kStill, true, {}}, {1, moved, true, {}}}));
    EXPECT_EQ(clusters.pieces(clusters.reveal_shifts(1))[0].runs, (std::vector<RunPiece>{{0, kStill, true, {}}}));
}

TEST(BlockClusters, HangingSpacesAndEmptyTextsHaveNoPieces) {
    // "ab " whose trailing space hangs past the line: a run the line does not draw.
    const std::u32string text = U"ab ";
    CaretLine drawn = line(0, 3, {run(0, 2, 0, 0, {0, 1}, {10, 10}), run(2, 3, 0, 20, {2}, {6})});
    drawn.drawn_runs = 1;
    drawn.end_edge = 20;
    BlockCarets carets(characters_of(text), 3, {drawn});
    const BlockClusters clusters(carets);
    ASSERT_EQ(clusters.clusters().size(), 3u);
    const std::vector<LinePieces> pieces = clusters.pieces(clusters.reveal_shifts(3));
    EXPECT_EQ(pieces[0].runs, (std::vector<RunPiece>{{0, kStill, true, {}}}));
    EXPECT_EQ(pieces[0].decorations, (std::vector<DecorationPiece>{{0, 20, kStill}}));

    BlockCarets empty({}, 0, {});
    const BlockClusters none(empty);
    EXPECT_TRUE(none.clusters().empty());
    EXPECT_EQ(none.revealed(5), 0u);
    EXPECT_TRUE(none.pieces({})[0].runs.empty());
}

}  // namespace

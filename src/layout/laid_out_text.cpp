// A block laid out once, as a TextLayout answers for it; see laid_out_text.h.
#include "layout/laid_out_text.h"

#include <cmath>
#include <utility>

#include "layout/cluster_requests.h"

namespace lumo::layout {

bool point_allowed(double x, double y) { return std::isfinite(x) && std::isfinite(y); }

LaidOutText::LaidOutText(BlockCarets carets, long width, long height)
    : carets_(std::move(carets)), width_(width), height_(height) {}

std::vector<LayoutLineRecord> LaidOutText::lines() const {
    std::vector<LayoutLineRecord> records;
    for (std::size_t number = 0; number < carets_.line_count(); ++number) {
        const CaretLine& line = carets_.line(number);
        const auto [start, end] = carets_.line_range(number);
        records.push_back({start, end, PixelRect{line.x, line.y, line.width, line.height}, line.baseline,
                           line.right_to_left ? "rtl" : "ltr"});
    }
    return records;
}

std::optional<std::size_t> LaidOutText::index(long long index) const {
    return index_within_text(index, carets_.text_length());
}

const BlockClusters& LaidOutText::clusters() {
    if (!clusters_) clusters_.emplace(carets_);
    return *clusters_;
}

std::size_t LaidOutText::shown(std::optional<long long> reveal, int overflow) {
    if (!reveal) return clusters().clusters().size();
    return clusters_revealed(clusters(), carets_.text_length(), *reveal, overflow);
}

bool LaidOutText::is_whole(std::size_t shown, bool moved) { return !moved && shown == clusters().clusters().size(); }

std::vector<ClusterShift> LaidOutText::frame_shifts(std::size_t shown) { return clusters().reveal_shifts(shown); }

std::optional<std::vector<ClusterShift>> LaidOutText::frame_shifts(std::size_t shown, FrameOffsets* offsets) {
    if (is_whole(shown, offsets != nullptr)) return std::nullopt;
    std::vector<ClusterShift> shifts = frame_shifts(shown);
    if (offsets == nullptr) return shifts;
    const std::size_t count = clusters().clusters().size();
    if (const std::optional<std::size_t> given = offsets->count(); given && *given != count)
        offsets->refuse(offsets_count_message(count, *given));
    for (std::size_t i = 0; i < shown; ++i) shifts[i] = offsets->shift(i);
    return shifts;
}

}  // namespace lumo::layout

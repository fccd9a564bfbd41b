// What a host asks of a block's text and clusters; see cluster_requests.h.
#include "layout/cluster_requests.h"

#include <cmath>

#include "base/limits.h"

namespace lumo::layout {

std::optional<std::size_t> index_within_text(long long index, std::size_t length) {
    if (index < 0 || static_cast<unsigned long long>(index) > length) return std::nullopt;
    return static_cast<std::size_t>(index);
}

std::string index_outside_text_message(long long index, std::size_t length) {
    return "index " + std::to_string(index) + " is outside the text (0 to " + std::to_string(length) + ")";
}

std::size_t clusters_revealed(const BlockClusters& clusters, std::size_t text_length, long long index,
                              int overflow) {
    if (overflow < 0 || (overflow == 0 && index <= 0)) return 0;
    if (overflow > 0 || static_cast<unsigned long long>(index) >= text_length) return clusters.clusters().size();
    return clusters.revealed(static_cast<std::size_t>(index));
}

bool offset_allowed(OffsetPart part, double value) {
    if (part == OffsetPart::alpha) return value >= 0.0 && value <= 255.0;
    return std::abs(value) <= static_cast<double>(kMaxRunExtentPixels);
}

std::string offset_limit_message(OffsetPart part) {
    switch (part) {
    case OffsetPart::dx: return "offsets: dx must be a finite number of pixels within the limits";
    case OffsetPart::dy: return "offsets: dy must be a finite number of pixels within the limits";
    case OffsetPart::alpha: break;
    }
    return "offsets: alpha must be from 0 to 255";
}

ClusterShift shift_of(double dx, double dy, double alpha) {
    return {std::lround(dx), std::lround(dy), static_cast<std::uint8_t>(std::lround(alpha))};
}

std::string offsets_count_message(std::size_t clusters, std::size_t given) {
    return "offsets must give one (dx, dy, alpha) for each of the " + std::to_string(clusters) + " clusters, not " +
           std::to_string(given);
}

}  // namespace lumo::layout

// Float-to-pixel conversion for layout and painting: the integer part of a
// value (truncation toward zero), clamped first so that no value is cast out of range.
#pragma once

namespace lumo::shaping {

/// The integer part of `value`, truncated toward zero, clamped into
/// [`lowest`, `highest`]; NaN gives `lowest`. Pixel positions are rounded by
/// adding 0.5 before the call, so a pixel at -0.8 (-0.3 after adding 0.5)
/// lands in column 0, not -1.
constexpr int truncate_clamped(double value, int lowest, int highest) noexcept {
    if (!(value >= static_cast<double>(lowest))) return lowest;
    if (value >= static_cast<double>(highest)) return highest;
    return static_cast<int>(value);
}

}  // namespace lumo::shaping

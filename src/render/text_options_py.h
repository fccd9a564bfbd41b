// The keyword-only options every call that takes text shares (size,
// render_block, size_block and the calls after them), read from the host.
#pragma once

#include <nanobind/nanobind.h>

#include <array>
#include <cstddef>

#include "render/text_options.h"

namespace lumo::render {

/// The options' keyword names, after each call's own arguments.
inline constexpr std::array<const char*, 4> kTextOptionNames = {"markup", "features", "language", "variations"};
using TextOptionValues = std::array<PyObject*, kTextOptionNames.size()>;

/// A call's own argument names followed by the options' names.
template <std::size_t N>
constexpr std::array<const char*, N + kTextOptionNames.size()> with_text_options(
    const std::array<const char*, N>& own) {
    std::array<const char*, N + kTextOptionNames.size()> names{};
    for (std::size_t i = 0; i < N; ++i) names[i] = own[i];
    for (std::size_t i = 0; i < kTextOptionNames.size(); ++i) names[N + i] = kTextOptionNames[i];
    return names;
}

/// The options given (nullptr: left at its default), checked; a bad value
/// raises the host's error naming the option.
TextOptions read_text_options(const TextOptionValues& given);

/// What the options add to a cache key: None when they are all at their
/// defaults, so that a call without them keeps the key it always had.
nanobind::object text_options_key(const TextOptions& options);

}  // namespace lumo::render

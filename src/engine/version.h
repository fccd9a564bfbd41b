// The engine's version text, as get_engine_version() reports it.
#pragma once

#include <string_view>

namespace lumo::engine {

inline constexpr std::string_view kEngineVersion = "v1.2.2.5-patch";

}  // namespace lumo::engine

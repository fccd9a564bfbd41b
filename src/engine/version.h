// The package's version, in the one place it is written: the build reads
// LUMO_VERSION from here for the package metadata, and the engine reports it.
#pragma once

#include <string_view>

#define LUMO_VERSION "1.2.2.5"

namespace lumo::engine {

/// The package version, as `lumo_font.__version__` and the wheel's metadata give it.
inline constexpr std::string_view kPackageVersion = LUMO_VERSION;
/// The engine's version text, as get_engine_version() reports it.
inline constexpr std::string_view kEngineVersion = "v" LUMO_VERSION "-patch";

}  // namespace lumo::engine

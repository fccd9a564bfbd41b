// The fingerprint of the font directories: a short text that changes when a
// font is added or removed, computed without opening any font file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/atomic_file.h"

namespace lumo::index {

/// For each existing directory, in order: its own modification time (as the
/// host's repr() writes the float seconds), "_", and the number of font files
/// anywhere below it; elements joined with "|". Missing directories add
/// nothing. Fails when an existing directory's time cannot be read.
std::optional<base::FileError> fonts_fingerprint(const std::vector<std::string>& directories, std::string& fingerprint);

/// Modification time in seconds, computed as the host computes st_mtime.
std::optional<double> modification_time(const std::string& path, int& error_number);

}  // namespace lumo::index

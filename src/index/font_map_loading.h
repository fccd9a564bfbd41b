// Loading the font index: the cache file's when it is current, else a fresh
// scan, stored in the file for the next start; and what the engine says
// while it does.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/atomic_file.h"
#include "index/font_map.h"

namespace lumo::index {

/// What loading the index asks of the host, which reads the cache file with
/// its own JSON reader and prints the engine's lines.
class IndexLoading {
public:
    virtual ~IndexLoading() = default;
    /// Takes the index the cache file holds when it is current for
    /// `fingerprint` (is_current_index()); false when it must be rebuilt.
    virtual bool take_cached(const std::string& cache_file, const std::string& fingerprint) = 0;
    virtual void say(std::string_view line) = 0;
    virtual FontMap scan(const std::vector<std::string>& directories) = 0;
    virtual void say_written(const std::string& cache_file) = 0;
    virtual void say_not_written(const base::FileError& error) = 0;
};

/// The index of the fonts in `directories`, whose fingerprint is
/// `fingerprint`: nullopt when the host took the cache file's, else a fresh
/// scan, written to `cache_file` (a failure to write is said, not raised).
std::optional<FontMap> load_or_scan(const std::string& cache_file, const std::vector<std::string>& directories,
                                    const std::string& fingerprint, IndexLoading& host);

/// Whether a cache file's index is current: it has a text timestamp (nullopt:
/// none, or not text) equal to `fingerprint`, and its first path record is a
/// list as this layout writes it (false: empty, or of an earlier layout).
/// Either way it is rebuilt without a word.
bool is_current_index(const std::optional<std::string>& timestamp, const std::string& fingerprint,
                      bool first_record_is_list);

/// Whether a path record read back is [path, face index] as a scan writes it,
/// given its path's length in characters, whether the path holds a NUL (which
/// names no file), and its face index (nullopt: too large to hold).
bool is_written_path_record(std::size_t path_length, bool path_has_nul, std::optional<long long> face_index);

/// "[SUCCESS] Scan Finished N Font faces!.": what a finished scan says.
std::string scan_finished_line(std::size_t faces);

}  // namespace lumo::index

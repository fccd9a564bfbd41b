// Loading the font index; see font_map_loading.h.
#include "index/font_map_loading.h"

#include "base/fs_paths.h"
#include "index/font_map_file.h"

namespace lumo::index {

std::optional<FontMap> load_or_scan(const std::string& cache_file, const std::vector<std::string>& directories,
                                    const std::string& fingerprint, IndexLoading& host) {
    if (base::path_exists(cache_file) && host.take_cached(cache_file, fingerprint)) return std::nullopt;
    host.say("[SYSTEM] Scanning and indexing system fonts... Please wait.");
    FontMap map = host.scan(directories);
    if (std::optional<base::FileError> error = base::write_file_atomically(cache_file, font_map_json(fingerprint, map)))
        host.say_not_written(*error);
    else
        host.say_written(cache_file);
    return map;
}

bool is_current_index(const std::optional<std::string>& timestamp, const std::string& fingerprint,
                      bool first_record_is_list) {
    return timestamp && *timestamp == fingerprint && first_record_is_list;
}

bool is_written_path_record(std::size_t path_length, bool path_has_nul, std::optional<long long> face_index) {
    return path_length > 0 && !path_has_nul && face_index && is_written_face_index(*face_index);
}

std::string scan_finished_line(std::size_t faces) {
    return "[SUCCESS] Scan Finished " + std::to_string(faces) + " Font faces!.";
}

}  // namespace lumo::index

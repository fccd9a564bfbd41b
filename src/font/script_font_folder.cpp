// Reads the candidates of the script font folder from disk and lets the
// folder's order rule choose among them.
#include "font/script_font_folder.h"

#include <array>

#include "base/big_endian.h"
#include "base/byte_source.h"
#include "font/cmap_reader.h"
#include "index/sfnt_directory.h"

namespace lumo::font {

bool has_colour_glyphs(const std::string& path) {
    base::FileByteSource source(path);
    if (!source.is_open()) return false;
    using base::detail::sfnt_tag;
    constexpr std::array<std::uint32_t, 4> kColourTables = {sfnt_tag("CBDT"), sfnt_tag("sbix"), sfnt_tag("COLR"),
                                                            sfnt_tag("SVG ")};
    for (std::uint32_t table : kColourTables)
        if (index::detail::find_table(source, 0, table)) return true;
    return false;
}

std::vector<FolderFont> choose_script_fonts(const std::vector<index::RegularFontFile>& files) {
    std::vector<CandidateFont> candidates;
    candidates.reserve(files.size());
    for (const index::RegularFontFile& file : files) {
        CodePointSet coverage = read_unicode_coverage(file.path, -1);
        if (coverage.empty() || has_colour_glyphs(file.path)) continue;
        candidates.push_back({file.path, file.full_name, std::move(coverage)});
    }
    return order_folder_fonts(candidates);
}

}  // namespace lumo::font

// Synthetic bold and slant through FreeType's glyph-slot styling.
#include "engine/freetype_styling.h"

#include FT_SYNTHESIS_H

#include <atomic>

#include "base/freetype_handles.h"
#include "base/platform.h"

namespace lumo::engine {

namespace {
// The engine links FreeType, so the styling calls are always present; the
// switch exists so that the unstyled path can be chosen and tested.
std::atomic<bool> g_styling_available{true};
}  // namespace

bool styling_available() noexcept { return g_styling_available.load(std::memory_order_relaxed); }

void set_styling_available(bool available) noexcept {
    g_styling_available.store(available, std::memory_order_relaxed);
}

void embolden_glyph_slot(FT_GlyphSlot slot) noexcept {
    if (slot != nullptr) FT_GlyphSlot_Embolden(slot);
}

void oblique_glyph_slot(FT_GlyphSlot slot) noexcept {
    if (slot != nullptr) FT_GlyphSlot_Oblique(slot);
}

FreeTypeLibraryInfo freetype_library_info() {
    FreeTypeLibraryInfo info;
    if (auto file = base::platform::library_file_of(reinterpret_cast<const void*>(&FT_Init_FreeType)))
        info.path = *file;
    if (auto library = base::make_ft_library())
        FT_Library_Version(library.get(), &info.major, &info.minor, &info.patch);
    return info;
}

}  // namespace lumo::engine

namespace lumo::engine {

std::string describe_library(const FreeTypeLibraryInfo& info) {
    return "<FreeType " + std::to_string(info.major) + "." + std::to_string(info.minor) + "." +
           std::to_string(info.patch) + " at '" + info.path + "'>";
}

std::string describe_entry_point(std::string_view name) {
    return "<FreeType entry point " + std::string(name) + ">";
}

}  // namespace lumo::engine

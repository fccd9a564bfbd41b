// The fixed tables as module attributes.
#include "engine/fixed_tables_py.h"

#include "engine/fixed_tables.h"

namespace nb = nanobind;

namespace lumo::engine {
namespace {

template <std::size_t N>
nb::tuple text_tuple(const std::array<std::string_view, N>& items) {
    nb::list list;
    for (std::string_view item : items) list.append(nb::str(item.data(), item.size()));
    return nb::tuple(list);
}

}  // namespace

void install_fixed_tables(nb::dict ns) {
    nb::dict face_map;
    for (const FaceWordStyle& entry : kSyntheticFaceMap)
        face_map[nb::str(entry.face.data(), entry.face.size())] =
            nb::make_tuple(nb::bool_(entry.style.bold), nb::bool_(entry.style.italic));
    ns["_SYNTHETIC_FACE_MAP"] = face_map;

    ns["PROTECTED_VARS"] = text_tuple(kProtectedNames);

    nb::dict palette;
    for (const PaletteEntry& entry : kRichPalette)
        palette[nb::str(&entry.key, 1)] = nb::make_tuple(entry.red, entry.green, entry.blue);
    ns["RICH_PALETTE"] = palette;

    ns["FONT_SUFFIXES"] = text_tuple(kFontSuffixes);
}

}  // namespace lumo::engine

// A variable font's axes and named instances, read once when its file is
// opened, and the coordinates that HarfBuzz and FreeType are both set to.
#include "shaping/font_variations.h"

#include <hb-ot.h>

#include FT_MULTIPLE_MASTERS_H

#include <algorithm>
#include <cmath>

#include "base/limits.h"

namespace lumo::shaping {
namespace {

/// Letters and digits of a name, letters lower-cased: "Semi Bold" and
/// "semibold" are one name.
std::string name_key(std::string_view name) {
    std::string key;
    for (char c : name) {
        if (c == ' ' || c == '-' || c == '_' || c == '\t') continue;
        key += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return key;
}

/// A name record's text in UTF-8: English where the font has it, else the
/// language HarfBuzz finds first.
std::string name_text(hb_face_t* face, hb_ot_name_id_t name_id) {
    if (name_id == HB_OT_NAME_ID_INVALID) return {};
    unsigned length = hb_ot_name_get_utf8(face, name_id, HB_LANGUAGE_INVALID, nullptr, nullptr);
    if (length == 0) return {};
    std::string text(length + 1, '\0');
    unsigned size = length + 1;
    hb_ot_name_get_utf8(face, name_id, HB_LANGUAGE_INVALID, &size, text.data());
    text.resize(size);
    return text;
}

}  // namespace

int FontVariations::axis_index(Tag tag) const {
    for (std::size_t i = 0; i < axes.size(); ++i)
        if (axes[i].tag == tag) return static_cast<int>(i);
    return -1;
}

const NamedInstance* FontVariations::instance_named(std::string_view name) const {
    const std::string wanted = name_key(name);
    if (wanted.empty()) return nullptr;
    for (const NamedInstance& instance : instances)
        if (name_key(instance.name) == wanted) return &instance;
    return nullptr;
}

FontVariations read_font_variations(hb_face_t* face) {
    FontVariations variations;
    const unsigned axis_count = hb_ot_var_get_axis_count(face);
    const unsigned instance_count = hb_ot_var_get_named_instance_count(face);
    if (axis_count == 0 || axis_count > kMaxVariationAxes || instance_count > kMaxNamedInstances) return variations;

    std::vector<hb_ot_var_axis_info_t> infos(axis_count);
    unsigned read = axis_count;
    hb_ot_var_get_axis_infos(face, 0, &read, infos.data());
    if (read != axis_count) return variations;
    for (const hb_ot_var_axis_info_t& info : infos) {
        // HarfBuzz has already made minimum <= default <= maximum.
        if (!std::isfinite(info.min_value) || !std::isfinite(info.max_value)) return {};
        variations.axes.push_back({info.tag, info.min_value, info.default_value, info.max_value});
    }
    for (unsigned i = 0; i < instance_count; ++i) {
        NamedInstance instance;
        instance.coordinates.resize(axis_count);
        unsigned length = axis_count;
        if (hb_ot_var_named_instance_get_design_coords(face, i, &length, instance.coordinates.data()) != axis_count)
            continue;
        instance.name = name_text(face, hb_ot_var_named_instance_get_subfamily_name_id(face, i));
        if (!instance.name.empty()) variations.instances.push_back(std::move(instance));
    }
    return variations;
}

std::vector<float> design_coordinates(const FontVariations& font, std::span<const AxisSetting> face_settings,
                                      const VariationRequest& request, bool& instance_found) {
    instance_found = false;
    if (!font.is_variable()) return {};
    std::vector<float> coordinates;
    coordinates.reserve(font.axes.size());
    for (const VariationAxis& axis : font.axes) coordinates.push_back(axis.default_value);
    const auto apply = [&](std::span<const AxisSetting> settings) {
        for (const AxisSetting& setting : settings)
            if (const int index = font.axis_index(setting.tag); index >= 0) coordinates[index] = setting.value;
    };
    apply(face_settings);
    if (!request.instance.empty()) {
        if (const NamedInstance* instance = font.instance_named(request.instance)) {
            coordinates = instance->coordinates;
            instance_found = true;
        }
    }
    apply(request.axes);
    bool at_default = true;
    for (std::size_t i = 0; i < coordinates.size(); ++i) {
        const VariationAxis& axis = font.axes[i];
        coordinates[i] = std::clamp(coordinates[i], axis.minimum, axis.maximum);
        at_default = at_default && coordinates[i] == axis.default_value;
    }
    if (at_default) coordinates.clear();
    return coordinates;
}

FT_Error set_design_coordinates(FT_Face face, std::span<const float> coordinates) {
    if (coordinates.empty()) return 0;
    std::vector<FT_Fixed> fixed;
    fixed.reserve(coordinates.size());
    for (float value : coordinates) fixed.push_back(static_cast<FT_Fixed>(std::lround(value * 65536.0)));
    return FT_Set_Var_Design_Coordinates(face, static_cast<FT_UInt>(fixed.size()), fixed.data());
}

}  // namespace lumo::shaping

// Hashes of the font set's keys; see font_set.h.
#include "font/font_set.h"

namespace lumo::font {
namespace {

std::size_t combined(std::size_t seed, std::size_t value) {
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

}  // namespace

std::size_t FontSetKeyHash::operator()(const FontFileKey& key) const {
    return combined(std::hash<std::string>{}(key.path), static_cast<std::size_t>(key.face_index) * 2 + key.has_path);
}

std::size_t FontSetKeyHash::operator()(const FamilyFaceKey& key) const {
    return combined(std::hash<std::string>{}(key.family), std::hash<std::string>{}(key.face) + key.has_face);
}

std::size_t FontSetKeyHash::operator()(const SizedFaceKey& key) const {
    std::size_t seed = combined((*this)(key.file), static_cast<std::size_t>(key.pixel_size));
    seed = combined(seed, std::hash<std::string>{}(key.face));
    for (float value : key.coordinates) seed = combined(seed, std::hash<float>{}(value));
    return seed;
}

std::size_t FontSetKeyHash::operator()(const SizeFaceKey& key) const {
    return combined(std::hash<long>{}(key.pixel_size), std::hash<std::string>{}(key.face));
}

std::size_t FontSetKeyHash::operator()(const LegacyEmojiKey& key) const {
    std::size_t seed = combined(std::hash<std::uintptr_t>{}(key.engine), std::hash<std::u32string>{}(key.text));
    seed = combined(seed, static_cast<std::size_t>(key.ascent) * 4 + key.anti_aliased * 2 + key.lowered);
    seed = combined(seed, std::hash<long>{}(key.height));
    for (long value : key.engine_style) seed = combined(seed, std::hash<long>{}(value));
    return combined(seed, std::hash<double>{}(key.offset) ^ std::hash<double>{}(key.size));
}

}  // namespace lumo::font

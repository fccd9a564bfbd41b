// The native memo of font choices; see font_choice_memo_py.h.
#include "font/font_choice_memo_py.h"

#include <new>

#include "font/object_caches_py.h"

namespace lumo::font {

namespace {

// Past these the memo starts afresh rather than grow: a host inventing face
// words or characters without end gets no faster, and no bigger.
constexpr std::size_t kMaxRememberedFaces = 64;
constexpr std::size_t kMaxRememberedChoices = std::size_t{1} << 16;

}  // namespace

FontChoiceMemo::Key FontChoiceMemo::key_of(char32_t code, int face, bool modern_font, Presentation presentation) {
    const std::uint64_t flags = (modern_font ? 1u : 0u) | (static_cast<std::uint64_t>(presentation) << 1);
    return (static_cast<std::uint64_t>(face) << 32) | (static_cast<std::uint64_t>(code) << 8) | flags;
}

int FontChoiceMemo::face_slot(PyObject* face) {
    if (!PyUnicode_CheckExact(face)) return -1;
    for (std::size_t i = 0; i < faces_.size(); ++i)
        if (faces_[i] == face) return static_cast<int>(i);
    for (std::size_t i = 0; i < faces_.size(); ++i) {
        // Exact str against exact str: no host code runs.
        if (PyUnicode_Compare(faces_[i], face) == 0) return static_cast<int>(i);
    }
    // Numbers stay what they are for the memo's life: past the limit a new
    // face word is left to the host's cache.
    if (faces_.size() >= kMaxRememberedFaces) return -1;
    Py_INCREF(face);
    faces_.push_back(face);
    return static_cast<int>(faces_.size() - 1);
}

FontChoiceMemo::Sources FontChoiceMemo::sources_of(LumoFontObject* self) {
    const bool plain = self->path_cache != nullptr && PyDict_CheckExact(self->path_cache);
    return {self->path_cache,   plain ? PyDict_GET_SIZE(self->path_cache) : -1,
            plain ? dict_version(self->path_cache) : 0,
            self->primary_name, self->fallback_name, self->emoji_path, self->intl_font_paths};
}

void FontChoiceMemo::follow(LumoFontObject* self) {
    const Sources now = sources_of(self);
    // A host container of its own is asked every time, as the engine always did.
    if (now.path_cache_size < 0 || !(now == sources_)) clear_choices();
    sources_ = now;
}

PyObject* FontChoiceMemo::find(char32_t code, int face, bool modern_font, Presentation presentation) const {
    if (sources_.path_cache_size < 0 || face < 0) return nullptr;
    const auto found = paths_.find(key_of(code, face, modern_font, presentation));
    return found == paths_.end() ? nullptr : found->second;
}

void FontChoiceMemo::remember(LumoFontObject* self, char32_t code, int face, bool modern_font,
                              Presentation presentation, PyObject* path) {
    const Sources now = sources_of(self);
    if (now.path_cache_size < 0 || face < 0 || face >= static_cast<int>(faces_.size())) return;
    // What the engine itself added to the cache is known: anything else
    // (host code run meanwhile) makes the memo start afresh.
    if (!(now.path_cache == sources_.path_cache && now.primary_name == sources_.primary_name &&
          now.fallback_name == sources_.fallback_name && now.emoji_path == sources_.emoji_path &&
          now.intl_font_paths == sources_.intl_font_paths)) {
        clear_choices();
    }
    if (paths_.size() >= kMaxRememberedChoices) clear_choices();
    sources_ = now;
    auto [entry, added] = paths_.try_emplace(key_of(code, face, modern_font, presentation), nullptr);
    if (!added) return;
    Py_INCREF(path);
    entry->second = path;
}

void FontChoiceMemo::clear_choices() {
    // Released after the map is emptied: a path's destructor may be host code.
    std::unordered_map<Key, PyObject*> paths;
    paths.swap(paths_);
    sources_ = Sources{};
    for (auto& [key, path] : paths) Py_DECREF(path);
}

void FontChoiceMemo::clear() {
    clear_choices();
    std::vector<PyObject*> faces;
    faces.swap(faces_);
    for (PyObject* face : faces) Py_DECREF(face);
}

int FontChoiceMemo::traverse(visitproc visit, void* arg) {
    for (auto& [key, path] : paths_) Py_VISIT(path);
    for (PyObject* face : faces_) Py_VISIT(face);
    return 0;
}

FontChoiceMemo& font_choice_memo(LumoFontObject* self) {
    if (self->font_choices == nullptr) self->font_choices = new FontChoiceMemo();
    return *self->font_choices;
}

}  // namespace lumo::font

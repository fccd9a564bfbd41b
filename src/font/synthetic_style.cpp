// The synthetic style decision; see synthetic_style.h.
#include "font/synthetic_style.h"

namespace lumo::font {

bool lacks_face_file(FamilyFiles& files) {
    // A family with its own file for the face: neither of its files is imitated.
    if (files.has_own_face_file(FamilyRole::primary) &&
        (files.draws_face_file(FamilyRole::primary) || files.draws_regular_file(FamilyRole::primary)))
        return false;
    if (!files.has_own_face_file(FamilyRole::fallback)) return true;
    return !files.draws_face_file(FamilyRole::fallback) && !files.draws_regular_file(FamilyRole::fallback);
}

bool needs_synthesis(bool imitable_word, bool drawn_file_known, bool family_named, FamilyFiles& files) {
    if (!imitable_word) return false;
    if (drawn_file_known) return lacks_face_file(files);
    return family_named && !files.has_own_face_file(FamilyRole::named);
}

}  // namespace lumo::font

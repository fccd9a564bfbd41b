// Whether a face word is imitated by emboldening or slanting: only the words
// of the synthetic face table are, and only when the file drawn is not the
// family's own file for the face.
#pragma once

namespace lumo::font {

enum class FamilyRole {
    primary,   // the object's primary family
    fallback,  // its fallback family
    named,     // a family asked about by name
};

/// What the decision asks about a family's files for one face word (its
/// face file and its regular file, which may be the same file) and about the
/// file being drawn.
class FamilyFiles {
public:
    virtual ~FamilyFiles() = default;
    /// Whether the face word takes the family to another file than its regular face.
    virtual bool has_own_face_file(FamilyRole family) = 0;
    /// Whether the file drawn is the family's face file, or its regular file.
    virtual bool draws_face_file(FamilyRole family) = 0;
    virtual bool draws_regular_file(FamilyRole family) = 0;
};

/// Whether the file drawn is not the family's own file for the face: the
/// files of the primary family, when it has one of its own for the face, and
/// the fallback family's files are its own; any other file is not. A
/// fallback family without a file of its own for the face has none at all.
bool lacks_face_file(FamilyFiles& files);

/// Whether drawing in a face word needs synthesis: the word is one the table
/// imitates (`imitable_word`), and the file drawn (when `drawn_file_known`)
/// is not the family's own for it; without a file drawn, the named family
/// (when `family_named`) has no file of its own for the face.
bool needs_synthesis(bool imitable_word, bool drawn_file_known, bool family_named, FamilyFiles& files);

}  // namespace lumo::font

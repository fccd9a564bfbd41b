// Which file serves a family name in a face word: the object's own font
// files, a file of that name on disk, the font index's face of the family,
// or an installed stand-in for a family the index does not know.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumo::font {

enum class FaceSource {
    primary_record,   // the primary font, given to the object as a file
    fallback_record,  // the fallback font, likewise
    file_on_disk,     // the name is the path of something that exists
    index,            // the index's face of the family
    stand_in,         // the index's face of another family that draws for it
    unresolved,       // nothing found: the name stands for itself
};

struct FaceFile {
    FaceSource source = FaceSource::unresolved;
    int record = -1;       // the index record, as FaceIndex numbered it (index, stand_in)
    std::string stand_in;  // the family that draws instead, as it is written (stand_in)
};

/// What the choice asks of whoever holds the object's font files and the
/// font index, in the order it needs the answers.
class FaceIndex {
public:
    virtual ~FaceIndex() = default;
    /// Whether the object's primary (fallback) font was given as a file whose path is the name.
    virtual bool primary_record_names_family() = 0;
    virtual bool fallback_record_names_family() = 0;
    virtual bool family_exists_on_disk() = 0;
    /// The family name lower-cased: asked when the index is to be searched.
    virtual std::string lower_family() = 0;
    /// The face word as text ("None" when there is none).
    virtual std::string face_text() = 0;
    /// The record the index files under a lower-case full face name, as a
    /// number of the caller's own; -1 when there is none.
    virtual int record_of(std::string_view face_name) = 0;
    /// The full face name a lower-case short name stands for, if any.
    virtual std::optional<std::string> alias_of(std::string_view short_name) = 0;
    /// Every full face name of the index, in its order.
    virtual std::vector<std::string> face_names() = 0;
};

/// The file for the family in the face word. In the index the face is
/// matched as family+blank+face or family+hyphen+face, else the family's
/// default face (through its alias) is taken, whatever the face word was.
FaceFile choose_face_file(FaceIndex& index);

}  // namespace lumo::font

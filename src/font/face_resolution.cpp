// The choice of a family's file in a face word; see face_resolution.h.
#include "font/face_resolution.h"

#include "font/family_substitutes.h"
#include "index/text_rules.h"

namespace lumo::font {
namespace {

class IndexSearch {
public:
    explicit IndexSearch(FaceIndex& index) : index_(index) {}

    /// The record of the lower-case family `low_family` in the face word;
    /// -1 when the index does not know the family.
    int record_of_family(const std::string& low_family) {
        if (!face_text_) face_text_ = index_.face_text();
        for (const char* separator : {" ", "-"}) {
            const int record = index_.record_of(index::strip_text(low_family + separator + *face_text_));
            if (record >= 0) return record;
        }
        const std::optional<std::string> alias = index_.alias_of(low_family);
        return index_.record_of(alias ? *alias : low_family);
    }

private:
    FaceIndex& index_;
    std::optional<std::string> face_text_;
};

}  // namespace

FaceFile choose_face_file(FaceIndex& index) {
    if (index.primary_record_names_family()) return {FaceSource::primary_record, -1, {}};
    if (index.fallback_record_names_family()) return {FaceSource::fallback_record, -1, {}};
    if (index.family_exists_on_disk()) return {FaceSource::file_on_disk, -1, {}};
    const std::string low_family = index.lower_family();
    IndexSearch search(index);
    if (const int record = search.record_of_family(low_family); record >= 0) return {FaceSource::index, record, {}};
    // A family no file answers to: an installed stand-in (its metric twin, a
    // default sans, or else the index's first regular face).
    std::string family = substitute_family(low_family, [&](std::string_view candidate) {
        return search.record_of_family(std::string(candidate)) >= 0;
    });
    if (family.empty()) family = first_regular_face(index.face_names());
    if (family.empty()) return {};
    const int record = search.record_of_family(index::lower_text(family));
    if (record < 0) return {};
    return {FaceSource::stand_in, record, std::move(family)};
}

}  // namespace lumo::font

// The full-name reader over arbitrary font files: single fonts, collections
// and everything that merely starts like one. Every offset and count in the
// input is hostile; a found name must be strict UTF-8 with no blank at its ends.
#include <cstdint>
#include <span>
#include <string>

#include "fuzz_checks.h"
#include "base/byte_source.h"
#include "index/sfnt_names.h"

namespace {

using lumo::index::FullNameResult;
using lumo::index::FullNameStatus;

// Faces of one collection read per input: enough to reach every code path
// while a forged count of thousands does not slow the fuzzer down.
constexpr std::size_t kFacesPerInput = 8;

bool is_ascii_blank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || (c >= '\x1c' && c <= '\x1f'); }

void check(const FullNameResult& result) {
    if (result.status != FullNameStatus::Found) return;
    const std::string& name = result.full_name;
    lumo::fuzz::require(lumo::fuzz::is_strict_utf8(name), "a full name is not strict UTF-8");
    lumo::fuzz::require(name.empty() || (!is_ascii_blank(name.front()) && !is_ascii_blank(name.back())),
                        "a full name keeps white space at an end");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lumo::base::MemoryByteSource source(std::span<const std::uint8_t>(data, size));
    check(lumo::index::read_single_font_full_name(source));
    if (auto offsets = lumo::index::read_collection_face_offsets(source)) {
        for (std::size_t face = 0; face < offsets->size() && face < kFacesPerInput; ++face)
            check(lumo::index::read_collection_face_full_name(source, (*offsets)[face]));
    }
    return 0;
}

// The character-map reader over arbitrary font files. The reader takes a
// path, so each input is written to an in-memory file and read through
// /proc/self/fd. What it returns must be a canonical set within Unicode.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "font/cmap_reader.h"
#include "fuzz_checks.h"

namespace {

/// One in-memory file for the whole run, rewritten for each input.
int font_file() {
    static const int descriptor = memfd_create("fuzz-font", MFD_CLOEXEC);
    return descriptor;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int descriptor = font_file();
    lumo::fuzz::require(descriptor >= 0, "memfd_create failed");
    lumo::fuzz::require(ftruncate(descriptor, 0) == 0, "ftruncate failed");
    lumo::fuzz::require(pwrite(descriptor, data, size, 0) == static_cast<ssize_t>(size), "pwrite failed");
    const std::string path = "/proc/self/fd/" + std::to_string(descriptor);

    // -1 for a single font, and the first two faces of a collection.
    for (int face_index : {-1, 0, 1}) {
        const lumo::font::CodePointSet coverage = lumo::font::read_unicode_coverage(path, face_index);
        auto again = lumo::font::CodePointSet::deserialize(coverage.serialize());
        lumo::fuzz::require(again && *again == coverage, "coverage is not a canonical set");
    }
    return 0;
}

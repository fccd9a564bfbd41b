// One table of FreeType's error codes and descriptions, generated from
// FreeType's own error list so it never drifts from the library.
#include "font/freetype_errors.h"

#include <cstdio>

namespace lumo::font {
namespace {

struct ErrorEntry {
    int code;
    const char* message;
};

// Re-including the error header with these macros expands FreeType's list of
// (name, value, text) into table rows.
#undef FTERRORS_H_
#define FT_ERRORDEF(e, v, s) {v, s},
#define FT_ERROR_START_LIST {
#define FT_ERROR_END_LIST {0, nullptr}};
constexpr ErrorEntry kFreeTypeErrors[] =
#include FT_ERRORS_H

}  // namespace

std::string freetype_error_message(FT_Error error) {
    const int base = FT_ERROR_BASE(error);
    for (const ErrorEntry& entry : kFreeTypeErrors) {
        if (entry.message != nullptr && entry.code == base) return entry.message;
    }
    char unknown[48];
    std::snprintf(unknown, sizeof unknown, "unknown FreeType error 0x%02X", static_cast<unsigned>(error));
    return unknown;
}

}  // namespace lumo::font

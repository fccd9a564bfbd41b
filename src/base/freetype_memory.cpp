// FreeType's memory manager with a cap on single blocks.
#include "base/freetype_memory.h"

#include FT_MODULE_H

#include <cstdlib>

#include "base/limits.h"

namespace lumo::base {
namespace {

thread_local std::uint64_t refused_blocks = 0;

bool over_cap(long size) {
    if (size <= static_cast<long>(kMaxFreeTypeBlockBytes)) return false;
    ++refused_blocks;
    return true;
}

void* capped_alloc(FT_Memory, long size) {
    return over_cap(size) ? nullptr : std::malloc(static_cast<std::size_t>(size));
}

void* capped_realloc(FT_Memory, long, long new_size, void* block) {
    return over_cap(new_size) ? nullptr : std::realloc(block, static_cast<std::size_t>(new_size));
}

void capped_free(FT_Memory, void* block) { std::free(block); }

// Shared by every capped library; FreeType only reads it.
FT_MemoryRec_ capped_memory{nullptr, &capped_alloc, &capped_free, &capped_realloc};

}  // namespace

FT_Error new_capped_freetype_library(FT_Library* library) {
    *library = nullptr;
    if (const FT_Error error = FT_New_Library(&capped_memory, library)) return error;
    FT_Add_Default_Modules(*library);
    FT_Set_Default_Properties(*library);
    return 0;
}

std::uint64_t refused_freetype_blocks() noexcept { return refused_blocks; }

bool machine_out_of_memory(FT_Error error, std::uint64_t refused_before) noexcept {
    return error == FT_Err_Out_Of_Memory && refused_blocks == refused_before;
}

}  // namespace lumo::base

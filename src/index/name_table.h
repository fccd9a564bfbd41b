// The full name of a face from its `name` table: the name-ID-4 records in the
// order the table stores them.
#pragma once

#include "base/byte_source.h"
#include "index/sfnt_directory.h"
#include "index/sfnt_names.h"

namespace lumo::index::detail {

/// Reads the `name` table at `table` and returns its first full-name record,
/// decoded and stripped. Every full-name record is decoded, so one that cannot
/// be is an error for the face even when it is not the first. A record whose
/// string lies outside the table is malformed and skipped.
FullNameResult read_full_name(base::ByteSource& source, TableLocation table);

}  // namespace lumo::index::detail

// Building the font index: every font file below the font directories is
// opened once, the full name of each face read, faces grouped into families
// by their family root, and the name and alias maps filled in scan order.
#pragma once

#include <string>
#include <vector>

#include "index/font_map.h"

namespace lumo::index {

/// Told about the scan's progress; either call may throw to stop the scan.
class ScanObserver {
public:
    virtual ~ScanObserver() = default;
    /// An existing font directory is about to be walked.
    virtual void scanning_directory(const std::string& directory) = 0;
    /// A font file is about to be opened.
    virtual void opening_file(const std::string& path) = 0;
};

/// Scans `directories` (missing ones are passed over) and builds the index.
/// Files and faces that cannot be read are skipped silently. A font installed
/// twice under one name keeps the copy found later (the per-user one).
FontMap scan_fonts(const std::vector<std::string>& directories, ScanObserver& observer);

}  // namespace lumo::index

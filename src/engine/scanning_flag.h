// The scanning flag: set while the font directories are being indexed, so that
// another thread of the host can show progress through is_scanning().
#pragma once

namespace lumo::engine {

bool is_scanning() noexcept;

/// Sets the flag for its lifetime; it is cleared however the scan ends.
class ScanningScope {
public:
    ScanningScope() noexcept;
    ~ScanningScope();
    ScanningScope(const ScanningScope&) = delete;
    ScanningScope& operator=(const ScanningScope&) = delete;
};

}  // namespace lumo::engine

// The scanning flag.
#include "engine/scanning_flag.h"

#include <atomic>

namespace lumo::engine {
namespace {
// Atomic because a scan may run while another host thread asks.
std::atomic<bool> g_scanning{false};
}  // namespace

bool is_scanning() noexcept { return g_scanning.load(std::memory_order_relaxed); }

ScanningScope::ScanningScope() noexcept { g_scanning.store(true, std::memory_order_relaxed); }

// Two overlapping scans share the flag: it reads false as soon as the first ends.
ScanningScope::~ScanningScope() { g_scanning.store(false, std::memory_order_relaxed); }

}  // namespace lumo::engine

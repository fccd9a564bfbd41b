// The scanning flag is set during a scan and cleared however the scan ends.
#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/scanning_flag.h"

using lumo::engine::is_scanning;
using lumo::engine::ScanningScope;

TEST(ScanningFlag, SetOnlyWhileAScopeLives) {
    EXPECT_FALSE(is_scanning());
    {
        ScanningScope scope;
        EXPECT_TRUE(is_scanning());
    }
    EXPECT_FALSE(is_scanning());
}

TEST(ScanningFlag, ClearedWhenTheScanThrows) {
    try {
        ScanningScope scope;
        throw std::runtime_error("unreadable directory");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(is_scanning());
}

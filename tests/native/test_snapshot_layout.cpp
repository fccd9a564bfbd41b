// The layout of a state snapshot: the checksums read, the fields' order and
// the refusal of a snapshot of another layout.
#include <gtest/gtest.h>

#include <array>
#include <string_view>

#include "diagnostics/snapshot_layout.h"

namespace {

using namespace lumo::diagnostics;

TEST(SnapshotLayout, ThisAndEarlierChecksumsOfTheSameLayoutAreRead) {
    for (long accepted : {kLayoutChecksum, 0xf38e25eL, 0x3047d49L}) EXPECT_TRUE(accepted_checksum(accepted));
    for (long refused : {0L, -1L, 0x1234L, kLayoutChecksum + 1}) EXPECT_FALSE(accepted_checksum(refused));
}

TEST(SnapshotLayout, ARefusalNamesTheOfferedAndReadChecksumsAndTheFields) {
    const std::array<std::string_view, 2> fields = {"_anti_alias", "init_face"};
    EXPECT_EQ(incompatible_checksum_message("0x1234", fields),
              "Incompatible checksums (0x1234 vs (0x80baa68, 0xf38e25e, 0x3047d49) = (_anti_alias, init_face))");
}

TEST(SnapshotLayout, AStateIsItsFieldsThenInstanceAttributes) {
    using lumo::diagnostics::StateShape;
    EXPECT_EQ(lumo::diagnostics::state_shape(0, 23), StateShape::too_short);
    EXPECT_EQ(lumo::diagnostics::state_shape(22, 23), StateShape::too_short);
    EXPECT_EQ(lumo::diagnostics::state_shape(23, 23), StateShape::fields);
    EXPECT_EQ(lumo::diagnostics::state_shape(24, 23), StateShape::fields_and_attributes);
    EXPECT_EQ(lumo::diagnostics::state_shape(99, 23), StateShape::fields_and_attributes);
    EXPECT_EQ(lumo::diagnostics::short_state_message(23, 2),
              "LumoFont state must be a tuple of 23 items (24 with instance attributes), got 2 items");
}

TEST(SnapshotLayout, OnlyAnObjectNeverConstructedHandsItsStateToTheReconstructor) {
    EXPECT_TRUE(lumo::diagnostics::state_goes_with_reconstructor(false, false));
    EXPECT_FALSE(lumo::diagnostics::state_goes_with_reconstructor(true, false));
    EXPECT_FALSE(lumo::diagnostics::state_goes_with_reconstructor(false, true));
}

}  // namespace

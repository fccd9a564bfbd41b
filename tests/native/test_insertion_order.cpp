// The order of a first-in-first-out cache answers for the cache only while it
// is the same plain dict, changed by nobody but the engine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "font/insertion_order.h"

namespace {

using lumo::font::DictState;
using Order = lumo::font::KeyOrder<std::string>;

DictState plain_dict(std::uint64_t version, std::size_t size) { return {0x1000, version, size, true}; }

/// An order rebuilt from a dict holding "a", "b", "c".
Order order_of_three() {
    Order order;
    order.rebuild(plain_dict(5, 3), [](auto&& append) {
        for (const char* key : {"a", "b", "c"}) append(key);
    });
    return order;
}

std::vector<std::string> taken_while_mirrored(Order& order, std::uint64_t version, std::size_t size) {
    std::vector<std::string> taken;
    while (std::optional<std::string> oldest = order.take_oldest(plain_dict(version, size))) {
        taken.push_back(*oldest);
        --size;
        order.note_deleted(plain_dict(++version, size));
    }
    return taken;
}

TEST(KeyOrder, GivesTheOldestKeysFirstWhileItMirrorsTheDict) {
    Order order = order_of_three();
    EXPECT_EQ(taken_while_mirrored(order, 5, 3), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(KeyOrder, ANewKeyGoesLastAndAReplacedOneKeepsItsPlace) {
    Order order = order_of_three();
    ASSERT_TRUE(order.note_store(order.mirrors(plain_dict(5, 3)), 3, plain_dict(6, 4), "d"));
    ASSERT_TRUE(order.note_store(order.mirrors(plain_dict(6, 4)), 4, plain_dict(7, 4), "a"));
    EXPECT_EQ(taken_while_mirrored(order, 7, 4), (std::vector<std::string>{"a", "b", "c", "d"}));
}

struct StoreCase {
    const char* label;
    bool mirrored;
    DictState after;
};

class StoreNeedingARebuild : public ::testing::TestWithParam<StoreCase> {};

TEST_P(StoreNeedingARebuild, IsRefused) {
    Order order = order_of_three();
    EXPECT_FALSE(order.note_store(GetParam().mirrored, 3, GetParam().after, "d"));
}

INSTANTIATE_TEST_SUITE_P(
    KeyOrder, StoreNeedingARebuild,
    ::testing::Values(StoreCase{"not_mirrored_before", false, plain_dict(6, 4)},
                      StoreCase{"host_container_now", true, DictState{0x1000, 0, 0, false}},
                      StoreCase{"host_code_added_more", true, plain_dict(7, 5)},
                      StoreCase{"host_code_emptied_it", true, plain_dict(7, 0)}),
    [](const auto& info) { return std::string(info.param.label); });

struct AskedCase {
    const char* label;
    DictState now;
};

class CacheNotMirrored : public ::testing::TestWithParam<AskedCase> {};

TEST_P(CacheNotMirrored, IsAskedAndTheOrderForgotten) {
    Order order = order_of_three();
    EXPECT_EQ(order.take_oldest(GetParam().now), std::nullopt);
    EXPECT_EQ(order.size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(KeyOrder, CacheNotMirrored,
                         ::testing::Values(AskedCase{"changed_by_host", plain_dict(6, 3)},
                                           AskedCase{"other_size", plain_dict(5, 2)},
                                           AskedCase{"other_dict", DictState{0x2000, 5, 3, true}},
                                           AskedCase{"host_container", DictState{0x1000, 5, 3, false}}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(KeyOrder, AHostContainerIsNeverMirrored) {
    Order order;
    order.rebuild(DictState{0x1000, 0, 2, false}, [](auto&& append) { append("a"); });
    EXPECT_EQ(order.size(), 0u);
    EXPECT_FALSE(order.mirrors(DictState{0x1000, 0, 0, false}));
}

}  // namespace

// Composing a changing line against a scripted glyph cache: what is read,
// drawn, recalled or read again, and where each piece goes.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "render/dynamic_line.h"

namespace {

using lumo::render::compose_dynamic_line;
using lumo::render::dynamic_line_size;

/// Entries are advances; a key is its character. The cache holds `stored`;
/// the memo `recalled`; `changes_cache` makes the line height's lookup
/// change the cache (as a host's metrics code may), and `replaced` is what
/// the cache holds after that.
struct ScriptedCache {
    using Key = char32_t;
    using Entry = long;

    std::map<char32_t, long> stored, recalled, replaced;
    bool changes_cache = false;
    int height = 10;
    std::vector<std::string> log;
    std::vector<std::pair<long, long>> placed;  // (entry, pen)
    long width = 0, surface_height = 0;
    bool changed = false;

    bool recall(char32_t code, long& entry) {
        const auto known = recalled.find(code);
        if (known == recalled.end()) return false;
        entry = known->second;
        log.push_back("recall " + std::string(1, static_cast<char>(code)));
        return true;
    }
    char32_t key_of(char32_t code) {
        log.push_back("key " + std::string(1, static_cast<char>(code)));
        return code;
    }
    long look_up(char32_t code, char32_t key) {
        if (const auto known = stored.find(key); known != stored.end()) return known->second;
        log.push_back("draw " + std::string(1, static_cast<char>(code)));
        return stored[key] = 3;
    }
    long advance(long entry) { return entry; }
    void entries_read() { log.push_back("read"); }
    int line_height() {
        if (changes_cache) {
            changed = true;
            stored = replaced;
        }
        return height;
    }
    void start_line(long w, long h) {
        width = w;
        surface_height = h;
    }
    bool entries_unchanged() { return !changed; }
    long read_again(char32_t key) {
        log.push_back("again " + std::string(1, static_cast<char>(key)));
        return stored.at(key);
    }
    long place(long entry, long pen) {
        placed.push_back({entry, pen});
        return entry;
    }
    int finish() {
        log.push_back("finish");
        return 1;
    }
};

TEST(DynamicLine, PiecesSitSideBySideOnALineAsWideAsTheirAdvances) {
    ScriptedCache cache;
    cache.stored = {{U'1', 7}, {U'2', 5}};
    EXPECT_EQ(compose_dynamic_line(U"121", cache), 1);
    EXPECT_EQ(cache.placed, (std::vector<std::pair<long, long>>{{7, 0}, {5, 7}, {7, 12}}));
    EXPECT_EQ(cache.width, 19);
    EXPECT_EQ(cache.surface_height, 15);  // 1.5 line heights
    EXPECT_EQ(cache.log.back(), "finish");
}

TEST(DynamicLine, MissingEntriesAreDrawnAndRecalledOnesNeedNoKey) {
    ScriptedCache cache;
    cache.recalled = {{U'a', 4}};
    compose_dynamic_line(U"ab", cache);
    EXPECT_EQ(cache.log, (std::vector<std::string>{"recall a", "key b", "draw b", "read", "finish"}));
    EXPECT_EQ(cache.width, 7);
}

TEST(DynamicLine, ACacheChangedWhileMeasuringIsReadAgainAndThePenFollowsIt) {
    ScriptedCache cache;
    cache.recalled = {{U'a', 4}};
    cache.stored = {{U'b', 6}};
    cache.replaced = {{U'a', 9}, {U'b', 2}};
    cache.changes_cache = true;
    compose_dynamic_line(U"ab", cache);
    // The width was measured from the entries first read; the pieces are the new ones.
    EXPECT_EQ(cache.width, 10);
    EXPECT_EQ(cache.placed, (std::vector<std::pair<long, long>>{{9, 0}, {2, 9}}));
    // The recalled character's key is made only now, when it must be asked for.
    EXPECT_EQ(cache.log, (std::vector<std::string>{"recall a", "key b", "read", "key a", "again a", "again b",
                                                   "finish"}));
}

TEST(DynamicLine, AnEmptyOrZeroWidthLineIsStillOneColumnWide) {
    ScriptedCache cache;
    compose_dynamic_line(U"", cache);
    EXPECT_EQ(cache.width, 1);
    EXPECT_EQ(dynamic_line_size(-4, 7).width, 1);
    EXPECT_EQ(dynamic_line_size(0, 7).height, 10);  // 10.5 rows cut to whole ones
}

}  // namespace

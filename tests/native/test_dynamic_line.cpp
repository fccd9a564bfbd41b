// Composing a changing line against a scripted glyph cache: what is recalled,
// read, drawn or read again, and where each piece goes.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "render/dynamic_line.h"

namespace {

using lumo::font::DynamicGlyphContext;
using lumo::font::ViewStamp;
using lumo::render::compose_dynamic_line;
using Memo = lumo::font::DynamicGlyphs<long>;

/// Entries are advances; a key is its character; the cache's stamp counts
/// its changes. Drawing gives an advance of 3. `changes_cache` makes the line
/// height's lookup change the cache to `replaced` (as a host's metrics code
/// may).
struct ScriptedCache {
    using Key = char32_t;
    using Entry = long;

    std::map<char32_t, long> stored, replaced;
    std::uint64_t version = 1;
    bool changes_cache = false;
    int height = 10;
    std::vector<std::string> log;
    std::vector<std::pair<long, long>> placed;  // (entry, pen)
    long width = 0, surface_height = 0;
    std::uint64_t version_read = 0;

    static std::string of(char32_t code) { return std::string(1, static_cast<char>(code)); }

    ViewStamp stamp() const { return {0x1000, version}; }
    char32_t key_of(char32_t code) {
        log.push_back("key " + of(code));
        return code;
    }
    std::optional<long> find(char32_t key) {
        const auto known = stored.find(key);
        return known == stored.end() ? std::nullopt : std::optional<long>(known->second);
    }
    long draw(char32_t code) {
        log.push_back("draw " + of(code));
        return 3;
    }
    void store(char32_t key, long entry) {
        stored[key] = entry;
        ++version;
    }
    long advance(long entry) { return entry; }
    void entries_read() {
        log.push_back("read");
        version_read = version;
    }
    int line_height() {
        if (changes_cache) {
            stored = replaced;
            ++version;
        }
        return height;
    }
    void start_line(long w, long h) {
        width = w;
        surface_height = h;
    }
    bool entries_unchanged() { return version == version_read; }
    long read_again(char32_t key) {
        log.push_back("again " + of(key));
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

using Placed = std::vector<std::pair<long, long>>;
using Log = std::vector<std::string>;

TEST(DynamicLine, PiecesSitSideBySideOnALineAsWideAsTheirAdvances) {
    ScriptedCache cache;
    cache.stored = {{U'1', 7}, {U'2', 5}};
    EXPECT_EQ(compose_dynamic_line(U"121", cache, nullptr), 1);
    EXPECT_EQ(cache.placed, (Placed{{7, 0}, {5, 7}, {7, 12}}));
    EXPECT_EQ(cache.width, 19);
    EXPECT_EQ(cache.surface_height, 15);  // 1.5 line heights
    EXPECT_EQ(cache.log, (Log{"key 1", "key 2", "key 1", "read", "finish"}));
    ScriptedCache empty;
    compose_dynamic_line(U"", empty, nullptr);
    EXPECT_EQ(empty.width, 1);  // a surface has a column at least
}

TEST(DynamicLine, TheMemoRecallsWhatTheLastLineReadOrDrewWhileTheCacheIsUnchanged) {
    ScriptedCache cache;
    cache.stored = {{U'a', 4}};
    Memo memo;
    memo.begin(DynamicGlyphContext{}, cache.stamp());
    compose_dynamic_line(U"ab", cache, &memo);
    EXPECT_EQ(cache.log, (Log{"key a", "key b", "draw b", "read", "finish"}));
    // Both are recalled now, "b" too although drawing it changed the cache: the engine made that change.
    cache.log.clear();
    compose_dynamic_line(U"ba", cache, &memo);
    EXPECT_EQ(cache.log, (Log{"read", "finish"}));
    EXPECT_EQ(cache.placed.back(), (std::pair<long, long>{4, 3}));
    // A change the engine did not make (the host's) is read afresh.
    ++cache.version;
    cache.log.clear();
    compose_dynamic_line(U"a", cache, &memo);
    EXPECT_EQ(cache.log, (Log{"key a", "read", "finish"}));
}

TEST(DynamicLine, ACacheChangedWhileMeasuringIsReadAgainAndThePenFollowsIt) {
    ScriptedCache cache;
    cache.stored = {{U'a', 4}, {U'b', 6}};
    Memo memo;
    memo.begin(DynamicGlyphContext{}, cache.stamp());
    compose_dynamic_line(U"a", cache, &memo);  // "a" is learned
    cache.replaced = {{U'a', 9}, {U'b', 2}};
    cache.changes_cache = true;
    cache.log.clear();
    compose_dynamic_line(U"ab", cache, &memo);
    // The width was measured from the entries first read; the pieces are the new ones.
    EXPECT_EQ(cache.width, 10);
    EXPECT_EQ(cache.placed, (Placed{{4, 0}, {9, 0}, {2, 9}}));
    // The recalled character's key is made only now, when it must be asked for.
    EXPECT_EQ(cache.log, (Log{"key b", "read", "key a", "again a", "again b", "finish"}));
}

}  // namespace

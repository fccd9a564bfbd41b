// Loading the font index against a scripted host: when the cache file is
// taken, when fonts are scanned, what is said and what the file then holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "index/font_map_file.h"
#include "index/font_map_loading.h"
#include "temp_directory.h"

namespace {

using lumo::index::FontMap;
using lumo::index::load_or_scan;

struct ScriptedLoading final : public lumo::index::IndexLoading {
    bool cache_current = false;
    std::vector<std::string> said;
    std::vector<std::vector<std::string>> scanned;

    bool take_cached(const std::string&, const std::string& fingerprint) override {
        said.push_back("asked " + fingerprint);
        return cache_current;
    }
    void say(std::string_view line) override { said.emplace_back(line); }
    FontMap scan(const std::vector<std::string>& directories) override {
        scanned.push_back(directories);
        FontMap map;
        map.paths.insert_or_assign("dejavu sans", {"/fonts/DejaVuSans.ttf", -1});
        return map;
    }
    void say_written(const std::string&) override { said.push_back("written"); }
    void say_not_written(const lumo::base::FileError&) override { said.push_back("not written"); }
};

std::string contents_of(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(FontMapLoading, ACurrentFileIsTakenElseFontsAreScannedAndTheFileWritten) {
    lumo::test::TemporaryDirectory directory("lumo-index-loading");
    const std::filesystem::path cache = directory.path() / "font_map.json";
    // A missing file is not asked about: fonts are scanned and the file written.
    ScriptedLoading missing;
    const std::optional<FontMap> scanned = load_or_scan(cache.string(), {"/fonts"}, "f1", missing);
    ASSERT_TRUE(scanned);
    EXPECT_EQ(missing.said, (std::vector<std::string>{"[SYSTEM] Scanning and indexing system fonts... Please wait.",
                                                       "written"}));
    EXPECT_EQ(missing.scanned, (std::vector<std::vector<std::string>>{{"/fonts"}}));
    EXPECT_EQ(contents_of(cache), lumo::index::font_map_json("f1", *scanned));
    // A current file is taken and nothing scanned; a stale one is rewritten.
    ScriptedLoading current;
    current.cache_current = true;
    EXPECT_FALSE(load_or_scan(cache.string(), {"/fonts"}, "f1", current));
    EXPECT_EQ(current.said, (std::vector<std::string>{"asked f1"}));
    EXPECT_TRUE(current.scanned.empty());
    ScriptedLoading stale;
    ASSERT_TRUE(load_or_scan(cache.string(), {"/fonts"}, "f2", stale));
    EXPECT_EQ(contents_of(cache), lumo::index::font_map_json("f2", *scanned));
    // A file that cannot be written is said, and the scan still answers.
    ScriptedLoading unwritable;
    EXPECT_TRUE(load_or_scan((directory.path() / "no-folder" / "font_map.json").string(), {}, "f1", unwritable));
    EXPECT_EQ(unwritable.said.back(), "not written");
}

}  // namespace

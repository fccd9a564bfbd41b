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

TEST(FontMapLoading, ACurrentCacheFileIsTakenAndNothingIsScanned) {
    lumo::test::TemporaryDirectory directory("lumo-index-loading");
    const std::string cache = (directory.path() / "font_map.json").string();
    std::ofstream(cache) << "{}";
    ScriptedLoading host;
    host.cache_current = true;
    EXPECT_FALSE(load_or_scan(cache, {"/fonts"}, "f1", host));
    EXPECT_EQ(host.said, (std::vector<std::string>{"asked f1"}));
    EXPECT_TRUE(host.scanned.empty());
}

TEST(FontMapLoading, AMissingOrStaleFileIsRebuiltFromAScanAndWritten) {
    lumo::test::TemporaryDirectory directory("lumo-index-loading");
    const std::filesystem::path cache = directory.path() / "font_map.json";
    ScriptedLoading missing;
    const std::optional<FontMap> scanned = load_or_scan(cache.string(), {"/fonts"}, "f1", missing);
    ASSERT_TRUE(scanned);
    EXPECT_EQ(scanned->paths.size(), 1u);
    // A missing file is not asked about.
    EXPECT_EQ(missing.said, (std::vector<std::string>{"[SYSTEM] Scanning and indexing system fonts... Please wait.",
                                                       "written"}));
    EXPECT_EQ(missing.scanned, (std::vector<std::vector<std::string>>{{"/fonts"}}));
    EXPECT_EQ(contents_of(cache), lumo::index::font_map_json("f1", *scanned));

    ScriptedLoading stale;
    ASSERT_TRUE(load_or_scan(cache.string(), {"/fonts"}, "f2", stale));
    EXPECT_EQ(stale.said.front(), "asked f2");
    EXPECT_EQ(contents_of(cache), lumo::index::font_map_json("f2", *scanned));
}

TEST(FontMapLoading, AFileThatCannotBeWrittenIsSaidAndTheScanStillAnswers) {
    lumo::test::TemporaryDirectory directory("lumo-index-loading");
    const std::string cache = (directory.path() / "missing-folder" / "font_map.json").string();
    ScriptedLoading host;
    EXPECT_TRUE(load_or_scan(cache, {}, "f1", host));
    EXPECT_EQ(host.said.back(), "not written");
}

TEST(FontMapLoading, OnlyACurrentTimestampAndThisLayoutsRecordsAreTaken) {
    using lumo::index::is_current_index;
    EXPECT_TRUE(is_current_index("f1", "f1", true));
    EXPECT_FALSE(is_current_index("f0", "f1", true));
    EXPECT_FALSE(is_current_index(std::nullopt, "f1", true));
    EXPECT_FALSE(is_current_index("f1", "f1", false));  // empty, or records of an earlier layout
}

TEST(FontMapLoading, PathRecordsNameAFileAndAFaceAScanWrites) {
    using lumo::index::is_written_path_record;
    EXPECT_TRUE(is_written_path_record(12, false, -1));
    EXPECT_TRUE(is_written_path_record(12, false, 3));
    EXPECT_FALSE(is_written_path_record(0, false, 0));   // no path
    EXPECT_FALSE(is_written_path_record(12, true, 0));   // a NUL names no file
    EXPECT_FALSE(is_written_path_record(12, false, std::nullopt));
    EXPECT_FALSE(is_written_path_record(12, false, -2));
    EXPECT_EQ(lumo::index::scan_finished_line(3), "[SUCCESS] Scan Finished 3 Font faces!.");
}

}  // namespace

// A folder of font links kept in step with a list of files: right entries are
// kept, wrong ones replaced, stale ones removed, and copies stand in where
// links cannot be made.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "base/fs_paths.h"
#include "base/platform.h"
#include "index/font_folder.h"
#include "temp_directory.h"

namespace fs = std::filesystem;
using lumo::index::FolderEntryKind;
using lumo::index::FolderEntryNames;
using lumo::index::list_font_folder;
using lumo::index::refresh_font_folder;

namespace {

class FontFolder : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(root / "fonts"); }

    std::string font(const std::string& name, const std::string& contents = "font bytes") {
        std::ofstream(root / "fonts" / name) << contents;
        return (root / "fonts" / name).string();
    }
    std::set<std::string> entries() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
        return names;
    }
    std::string target_of(const std::string& name) const { return fs::read_symlink(fs::path(folder) / name).string(); }
    static std::string contents_of(const fs::path& path) {
        return std::string(std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {});
    }
    /// The entry stands for `source`: a link to it, or on Windows (which
    /// keeps copies) a file with its bytes.
    void expect_entry_for(const std::string& name, const std::string& source) const {
#ifdef _WIN32
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(fs::path(folder) / name)));
        EXPECT_EQ(contents_of(fs::path(folder) / name), contents_of(source));
#else
        EXPECT_EQ(target_of(name), source);
#endif
    }
    std::uint64_t inode_of(const std::string& name) const {
        lumo::base::platform::FileStatus status;
        EXPECT_EQ(lumo::base::platform::file_status((fs::path(folder) / name).string(), false, status), 0);
        return status.inode;
    }

    lumo::test::TemporaryDirectory temporary{"lumo-folder"};
    const fs::path root = temporary.path();
    const std::string folder = (root / "index" / "script_fonts").string();
};

TEST_F(FontFolder, LinksEachExistingSingleFontFileByItsName) {
    const std::string arabic = font("Arabic-Regular.ttf"), hebrew = font("Hebrew-Regular.otf");
    const std::string collection = font("Cjk.ttc");
    const std::string twin = (root / "Arabic-Regular.ttf").string();  // same name elsewhere: the first wins
    std::ofstream(twin) << "other";
    ASSERT_FALSE(refresh_font_folder(folder, {arabic, hebrew, collection, (root / "fonts/gone.ttf").string(), twin}));

    EXPECT_EQ(entries(), (std::set<std::string>{"Arabic-Regular.ttf", "Hebrew-Regular.otf"}));
    expect_entry_for("Arabic-Regular.ttf", arabic);
    expect_entry_for("Hebrew-Regular.otf", hebrew);
}

TEST_F(FontFolder, ARefreshKeepsRightEntriesAndMendsTheRest) {
    const std::string arabic = font("Arabic-Regular.ttf"), hebrew = font("Hebrew-Regular.ttf");
    const std::string thai = font("Thai-Regular.ttf");
    ASSERT_FALSE(refresh_font_folder(folder, {arabic, hebrew, thai}));
    const std::uint64_t arabic_link = inode_of("Arabic-Regular.ttf");

    fs::remove(thai);                                                          // font uninstalled
    fs::remove(fs::path(folder) / "Hebrew-Regular.ttf");
#ifdef _WIN32
    std::ofstream(fs::path(folder) / "Hebrew-Regular.ttf") << "an older copy";  // copy out of date
#else
    fs::create_symlink(root / "elsewhere.ttf", fs::path(folder) / "Hebrew-Regular.ttf");  // link moved away
#endif
    std::ofstream(fs::path(folder) / "Old-Regular.otf") << "a copy left from before";
    std::ofstream(fs::path(folder) / "notes.txt") << "not a font";
    fs::create_directory(fs::path(folder) / "sub.ttf");
    ASSERT_FALSE(refresh_font_folder(folder, {arabic, hebrew, thai}));

    EXPECT_EQ(entries(), (std::set<std::string>{"Arabic-Regular.ttf", "Hebrew-Regular.ttf", "notes.txt", "sub.ttf"}));
    EXPECT_EQ(inode_of("Arabic-Regular.ttf"), arabic_link) << "a right entry is left alone";
    expect_entry_for("Hebrew-Regular.ttf", hebrew);
}

TEST_F(FontFolder, RelativeFilesAreLinkedAsAbsolutePaths) {
    font("Relative-Regular.ttf");
    const fs::path previous = fs::current_path();
    fs::current_path(root);
    const auto error = refresh_font_folder(folder, {"fonts/Relative-Regular.ttf"});
    fs::current_path(previous);
    ASSERT_FALSE(error);
    expect_entry_for("Relative-Regular.ttf", (root / "fonts" / "Relative-Regular.ttf").string());
}

TEST_F(FontFolder, CopiesCarryTheSourceTimeAndFollowItsChanges) {
    const std::string arabic = font("Arabic-Regular.ttf", "first version");
    fs::create_directories(folder);
#ifndef _WIN32
    fs::create_symlink(arabic, fs::path(folder) / "Arabic-Regular.ttf");  // a link becomes a copy too
#endif
    ASSERT_FALSE(refresh_font_folder(folder, {arabic}, FolderEntryKind::copies));
    const fs::path copy = fs::path(folder) / "Arabic-Regular.ttf";
    ASSERT_TRUE(fs::is_regular_file(fs::symlink_status(copy)));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(std::ifstream(copy).rdbuf()), {}), "first version");
    const std::uint64_t first_copy = inode_of("Arabic-Regular.ttf");
    ASSERT_FALSE(refresh_font_folder(folder, {arabic}, FolderEntryKind::copies));
    EXPECT_EQ(inode_of("Arabic-Regular.ttf"), first_copy) << "a current copy is not copied again";

    font("Arabic-Regular.ttf", "second, longer version");
    ASSERT_FALSE(refresh_font_folder(folder, {arabic}, FolderEntryKind::copies));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(std::ifstream(copy).rdbuf()), {}), "second, longer version");

    fs::remove(arabic);
    ASSERT_FALSE(refresh_font_folder(folder, {arabic}, FolderEntryKind::copies));
    EXPECT_TRUE(entries().empty());
}

TEST_F(FontFolder, AFolderThatCannotBeMadeIsAnErrorNamingIt) {
    std::ofstream(root / "a_file") << "in the way";
    const std::string blocked = (root / "a_file" / "script_fonts").string();
    const auto error = refresh_font_folder(blocked, {font("Arabic-Regular.ttf")});
    ASSERT_TRUE(error);
    EXPECT_EQ(error->error_number, ENOTDIR);
    EXPECT_EQ(error->path, blocked);
}

TEST_F(FontFolder, NumberedEntriesListInTheOrderGiven) {
    // Names whose own order is not the list's, as a folder listed by name would try them.
    std::vector<std::string> fonts = {font("Zebra-Regular.ttf"), font("Apple-Regular.ttf"), font("Mango-Regular.otf")};
    ASSERT_FALSE(refresh_font_folder(folder, fonts, FolderEntryKind::links_where_possible, FolderEntryNames::numbered));
    std::ofstream(fs::path(folder) / "notes.txt") << "not a font";
    std::vector<std::string> listed;
    ASSERT_FALSE(list_font_folder(folder, listed));
    EXPECT_EQ(listed, (std::vector<std::string>{"000-Zebra-Regular.ttf", "001-Apple-Regular.ttf",
                                                "002-Mango-Regular.otf"}));
    expect_entry_for("001-Apple-Regular.ttf", fonts[1]);

    // A new order renames the entries; the old names go.
    std::swap(fonts[0], fonts[2]);
    ASSERT_FALSE(refresh_font_folder(folder, fonts, FolderEntryKind::links_where_possible, FolderEntryNames::numbered));
    ASSERT_FALSE(list_font_folder(folder, listed));
    EXPECT_EQ(listed, (std::vector<std::string>{"000-Mango-Regular.otf", "001-Apple-Regular.ttf",
                                                "002-Zebra-Regular.ttf"}));
    EXPECT_TRUE(entries().count("notes.txt"));
}

TEST_F(FontFolder, NumbersGrowWiderForAThousandEntries) {
    std::vector<std::string> fonts;
    for (int number = 0; number < 1001; ++number) fonts.push_back(font("F" + std::to_string(number) + ".ttf", ""));
    ASSERT_FALSE(refresh_font_folder(folder, fonts, FolderEntryKind::links_where_possible, FolderEntryNames::numbered));
    std::vector<std::string> listed;
    ASSERT_FALSE(list_font_folder(folder, listed));
    ASSERT_EQ(listed.size(), 1001u);
    EXPECT_EQ(listed[0], "0000-F0.ttf");
    EXPECT_EQ(listed[999], "0999-F999.ttf");
    EXPECT_EQ(listed[1000], "1000-F1000.ttf");
}

TEST_F(FontFolder, NumberedEntriesComeFirstTheOthersAsListed) {
    fs::create_directories(folder);
    for (const char* name : {"b.ttf", "10-late.otf", "a.ttf", "9-early.ttf", "009-early-too.ttc", "x9-no.ttf",
                             "12345678901234567890-too-long.ttf", "5.ttf", "notes.txt"})
        std::ofstream(fs::path(folder) / name) << "";
    std::vector<std::string> listed;
    ASSERT_FALSE(list_font_folder(folder, listed));
    ASSERT_EQ(listed.size(), 8u);
    EXPECT_EQ(std::vector<std::string>(listed.begin(), listed.begin() + 3),
              (std::vector<std::string>{"009-early-too.ttc", "9-early.ttf", "10-late.otf"}));
    std::vector<std::string> rest;
    lumo::base::list_entry_names(folder, rest);  // the file system's own order
    std::erase_if(rest, [](const std::string& name) {
        return name == "notes.txt" || name == "009-early-too.ttc" || name == "9-early.ttf" || name == "10-late.otf";
    });
    EXPECT_EQ(std::vector<std::string>(listed.begin() + 3, listed.end()), rest);
}

TEST(FolderEntryNumbers, OnlyDigitsAndAHyphenMakeANumber) {
    using lumo::index::entry_number;
    EXPECT_EQ(entry_number("007-Font.ttf"), 7u);
    EXPECT_EQ(entry_number("1000-Font.ttf"), 1000u);
    EXPECT_EQ(entry_number("0-x"), 0u);
    for (const char* name : {"Font.ttf", "-1-Font.ttf", "7.ttf", "7", "7_Font.ttf", "a7-Font.ttf", "",
                             "1234567890123456789-Font.ttf"})
        EXPECT_FALSE(entry_number(name)) << name;
}

TEST_F(FontFolder, AFolderThatCannotBeListedIsAnError) {
    std::vector<std::string> listed{"left over"};
    const auto error = list_font_folder((root / "missing").string(), listed);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->error_number, ENOENT);
}

}  // namespace

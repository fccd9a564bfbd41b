// The directory walk visits font trees in the host's os.walk order, never
// enters links to directories and skips what it cannot list.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "index/dir_walk.h"
#include "index/fingerprint.h"
#include "temp_directory.h"

namespace fs = std::filesystem;

namespace {

class TempTree : public ::testing::Test {
protected:
    // A directory a test closed must open again before the tree can be removed.
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(root_ / "closed", fs::perms::owner_all, ignored);
    }
    void touch(const fs::path& relative) {
        fs::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative) << "x";
    }
    /// Each visited directory relative to the root, with its files in listing order.
    std::vector<std::pair<std::string, std::vector<std::string>>> walk() {
        std::vector<std::pair<std::string, std::vector<std::string>>> visits;
        lumo::index::walk_directory_tree(root_.string(), [&](const std::string& dir, const std::vector<std::string>& files) {
            visits.emplace_back(fs::relative(dir, root_).generic_string(), files);
        });
        return visits;
    }
    lumo::test::TemporaryDirectory temporary_{"lumo-walk"};
    const fs::path root_ = temporary_.path();
};

TEST_F(TempTree, ParentBeforeChildrenAndDepthFirst) {
    touch("top.ttf");
    touch("a/one.ttf");
    touch("a/deep/two.ttf");
    touch("b/three.ttf");
    auto visits = walk();
    ASSERT_EQ(visits.size(), 4u);
    EXPECT_EQ(visits[0].first, ".");
    EXPECT_EQ(visits[0].second, std::vector<std::string>{"top.ttf"});
    // "a/deep" directly follows "a", whichever of a and b is listed first.
    for (std::size_t i = 1; i < visits.size(); ++i)
        if (visits[i].first == "a") EXPECT_EQ(visits[i + 1].first, "a/deep");
}

#ifndef _WIN32
// Symbolic links as POSIX systems make them (Windows needs a privilege).
TEST_F(TempTree, LinksToDirectoriesAreNotEnteredButFileLinksAreFiles) {
    touch("real/inside.ttf");
    fs::create_directory_symlink(root_, root_ / "loop");
    fs::create_symlink(root_ / "real" / "inside.ttf", root_ / "alias.ttf");
    fs::create_symlink(root_ / "missing.ttf", root_ / "dangling.ttf");
    auto visits = walk();
    ASSERT_EQ(visits.size(), 2u);
    auto files = visits[0].second;
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"alias.ttf", "dangling.ttf"}));
    EXPECT_EQ(visits[1].first, "real");
}
#endif

TEST_F(TempTree, AMissingTopVisitsNothing) {
    int visits = 0;
    lumo::index::walk_directory_tree((root_ / "absent").string(),
                                     [&](const std::string&, const std::vector<std::string>&) { ++visits; });
    EXPECT_EQ(visits, 0);
}

#ifndef _WIN32
// Permissions and another user, as POSIX systems have them.
TEST_F(TempTree, UnreadableDirectoryIsSkippedForAnUnprivilegedUser) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to act as an unprivileged user";
    touch("open.ttf");
    touch("closed/hidden.ttf");
    fs::permissions(root_, fs::perms::all);
    fs::permissions(root_ / "closed", fs::perms::owner_all, fs::perm_options::replace);
    pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
        auto visits = walk();
        std::string fingerprint;
        bool skipped = visits.size() == 1 && visits[0].second == std::vector<std::string>{"open.ttf"};
        bool counted = !lumo::index::fonts_fingerprint({root_.string()}, fingerprint) &&
                       fingerprint.substr(fingerprint.find('_')) == "_1";
        _exit(skipped && counted ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
#endif

TEST_F(TempTree, FingerprintCountsFontFilesOfExistingDirectoriesOnly) {
    touch("A.TTF");
    touch("sub/b.otf");
    touch("sub/c.TtC");
    touch("sub/readme.txt");
    touch("sub/d.woff");
    fs::create_directory(root_ / "dir.ttf");
    std::string fingerprint;
    ASSERT_FALSE(lumo::index::fonts_fingerprint({(root_ / "absent").string(), root_.string(),
                                                 (root_ / "sub").string()},
                                                fingerprint));
    auto bar = fingerprint.find('|');
    ASSERT_NE(bar, std::string::npos);
    EXPECT_EQ(fingerprint.substr(fingerprint.find('_'), bar - fingerprint.find('_')), "_3");
    EXPECT_EQ(fingerprint.substr(fingerprint.rfind('_')), "_2");
}

}  // namespace

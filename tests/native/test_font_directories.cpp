// The index directory: found from the platform and the environment, created
// when missing, and the per-user fallback only when permission is lacking.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>

#include "index/font_directories.h"
#include "temp_directory.h"

namespace fs = std::filesystem;
using lumo::index::IndexDirectory;
using lumo::index::prepare_index_directory;

namespace {

std::map<std::string, std::string> g_environment;

std::optional<std::string> test_environment(const char* name) {
    auto found = g_environment.find(name);
    return found == g_environment.end() ? std::nullopt : std::optional<std::string>(found->second);
}

class IndexDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override { g_environment.clear(); }

    lumo::test::TemporaryDirectory temporary{"lumo-index-dir"};
    const fs::path root = temporary.path();
};

TEST_F(IndexDirectoryTest, CreatedWithItsParentsWhereThePlatformKeepsIt) {
    g_environment = {{"XDG_DATA_HOME", (root / "data" / "home").string()}, {"ProgramData", (root / "pd").string()}};
    for (auto [platform, expected] : {std::pair{"linux", root / "data" / "home" / "lumo_font_map"},
                                      std::pair{"win32", root / "pd" / "lumo_font_map"}}) {
        SCOPED_TRACE(platform);
        IndexDirectory directory;
        ASSERT_FALSE(prepare_index_directory(platform, &test_environment, directory));
        EXPECT_EQ(directory.path, expected.string());
        EXPECT_FALSE(directory.is_fallback);
        EXPECT_TRUE(fs::is_directory(expected));
        ASSERT_FALSE(prepare_index_directory(platform, &test_environment, directory)) << "an existing one is used";
    }
}

TEST_F(IndexDirectoryTest, OtherFailuresAreErrorsWithoutTheFallback) {
    std::ofstream(root / "a_file") << "in the way";
    g_environment = {{"XDG_DATA_HOME", (root / "a_file").string()}};
    IndexDirectory directory;
    const auto error = prepare_index_directory("linux", &test_environment, directory);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->error_number, ENOTDIR);
    EXPECT_FALSE(directory.is_fallback);
}

#ifndef _WIN32
// Permissions and another user, as POSIX systems have them.
TEST_F(IndexDirectoryTest, LackOfPermissionFallsBackToTheHomeDirectory) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as an unprivileged user";
    fs::create_directories(root / "home");
    fs::create_directories(root / "locked");
    fs::permissions(root, fs::perms::all);
    fs::permissions(root / "home", fs::perms::all);
    g_environment = {{"XDG_DATA_HOME", (root / "locked" / "data").string()}};
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
        ::setenv("HOME", (root / "home").c_str(), 1);
        IndexDirectory directory;
        const bool created = !prepare_index_directory("linux", &test_environment, directory);
        const bool fallback = directory.is_fallback && directory.path == (root / "home" / ".lumo_font_map").string();
        ::_exit(created && fallback && fs::is_directory(directory.path) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}
#endif

}  // namespace

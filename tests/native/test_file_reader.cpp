// Whole-file reads: what is refused, and with which errno, before anything is allocated.
#include <gtest/gtest.h>


#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/file_reader.h"
#include "non_regular_file.h"
#include "temp_directory.h"

namespace fs = std::filesystem;

namespace {

struct ReadResult {
    int error;
    std::string contents;
    bool storage_asked;
};

ReadResult read(const std::string& path, std::uint64_t max_bytes = 1 << 20) {
    std::vector<std::uint8_t> buffer;
    std::size_t filled = 0;
    bool asked = false;
    int error = lumo::base::read_file(path, max_bytes, [&](std::size_t size) {
        asked = true;
        buffer.resize(size);
        return buffer.data();
    }, filled);
    return {error, std::string(buffer.begin(), buffer.begin() + static_cast<long>(filled)), asked};
}

class FileReader : public ::testing::Test {
protected:
    lumo::test::TemporaryDirectory temporary_{"lumo-read"};
    const fs::path root_ = temporary_.path();
};

TEST_F(FileReader, ReadsAWholeFile) {
    std::ofstream(root_ / "font.ttf") << "abc\0def";
    ReadResult result = read((root_ / "font.ttf").string());
    EXPECT_EQ(result.error, 0);
    EXPECT_EQ(result.contents, std::string("abc"));
}

TEST_F(FileReader, RefusesWhatIsNotAReadableRegularFileWithoutAllocating) {
    const std::string pipe = lumo::test::make_non_regular_file(root_);  // would block a plain open
    ASSERT_FALSE(pipe.empty());
    std::ofstream(root_ / "big.ttf") << std::string(100, 'x');
    const struct {
        std::string path;
        std::uint64_t max_bytes;
        int error;
    } cases[] = {
        {(root_ / "missing.ttf").string(), 1 << 20, ENOENT},
        {root_.string(), 1 << 20, EISDIR},
        {pipe, 1 << 20, EINVAL},
        {(root_ / "big.ttf").string(), 99, EFBIG},
        {std::string("a\0b", 3), 1 << 20, EINVAL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ReadResult result = read(c.path, c.max_bytes);
        EXPECT_EQ(result.error, c.error);
        EXPECT_FALSE(result.storage_asked);
    }
}

}  // namespace

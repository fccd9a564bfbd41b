// Bounds-checked reads from memory and from files: a read either delivers all
// the bytes asked for or fails, and only regular files open.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "base/byte_source.h"
#include "base/platform.h"
#include "non_regular_file.h"

namespace {

using lumo::base::ByteSource;
using lumo::base::FileByteSource;
using lumo::base::MemoryByteSource;

const std::vector<std::uint8_t> kContents = {'l', 'u', 'm', 'o', 0x00, 0x01, 0xFE, 0xFF};

struct ReadCase {
    const char* label;
    std::uint64_t offset;
    std::size_t length;
    bool succeeds;
};

void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.label; }

const ReadCase kReadCases[] = {
    {"Start", 0, 4, true},
    {"Middle", 3, 3, true},
    {"UpToTheEnd", 2, 6, true},
    {"Whole", 0, 8, true},
    {"NothingAtTheEnd", 8, 0, true},
    {"OneBytePastTheEnd", 5, 4, false},
    {"StartsPastTheEnd", 9, 1, false},
    {"NothingPastTheEnd", 9, 0, false},
    {"OffsetThatWouldWrap", std::numeric_limits<std::uint64_t>::max() - 1, 4, false},
};

/// Reads through `source` and checks the bytes against `kContents`.
void expect_read(ByteSource& source, const ReadCase& c) {
    std::vector<std::uint8_t> out(c.length, 0xAA);
    ASSERT_EQ(source.read(c.offset, out), c.succeeds);
    if (c.succeeds) {
        EXPECT_EQ(out, std::vector<std::uint8_t>(kContents.begin() + c.offset, kContents.begin() + c.offset + c.length));
    }
}

class ByteSourceRead : public ::testing::TestWithParam<ReadCase> {
protected:
    // One file per process: the tests may run as parallel processes.
    static std::string file_path() {
        return ::testing::TempDir() + "lumo_byte_source_" + std::to_string(lumo::base::platform::process_id()) + ".bin";
    }
    static void SetUpTestSuite() {
        std::ofstream file(file_path(), std::ios::binary);
        file.write(reinterpret_cast<const char*>(kContents.data()), static_cast<std::streamsize>(kContents.size()));
    }
    static void TearDownTestSuite() { std::filesystem::remove(file_path()); }
};

TEST_P(ByteSourceRead, FromMemory) {
    MemoryByteSource source(kContents);
    EXPECT_EQ(source.size(), kContents.size());
    expect_read(source, GetParam());
}

TEST_P(ByteSourceRead, FromFile) {
    FileByteSource source(file_path());
    ASSERT_TRUE(source.is_open());
    EXPECT_EQ(source.size(), kContents.size());
    expect_read(source, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Ranges, ByteSourceRead, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(FileByteSource, OpensOnlyRegularFiles) {
    const std::string directory = ::testing::TempDir();
    EXPECT_FALSE(FileByteSource(directory).is_open());
    EXPECT_FALSE(FileByteSource(directory + "lumo_no_such_font.ttf").is_open());

    // A FIFO would block a plain open until a writer came; it must be refused at once.
    const std::string pipe = lumo::test::make_non_regular_file(directory);
    ASSERT_FALSE(pipe.empty());
    EXPECT_FALSE(FileByteSource(pipe).is_open());
    if (pipe != "NUL") std::filesystem::remove(pipe);
}

TEST(FileByteSource, EmptyFileOpensWithNothingToRead) {
    const std::string path = ::testing::TempDir() + "lumo_empty_" + std::to_string(lumo::base::platform::process_id()) + ".ttf";
    std::ofstream(path).close();
    FileByteSource source(path);
    ASSERT_TRUE(source.is_open());
    EXPECT_EQ(source.size(), 0u);
    std::uint8_t byte = 0;
    EXPECT_FALSE(source.read(0, std::span<std::uint8_t>(&byte, 1)));
    std::filesystem::remove(path);
}

}  // namespace

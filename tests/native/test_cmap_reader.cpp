// Unicode coverage of real fonts and of files that are not fonts: counts that
// agree with fontTools' getBestCmap, the face-index rules, and empty answers
// for everything unreadable.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "font/cmap_reader.h"

namespace {

using lumo::font::CodePointSet;
using lumo::font::read_unicode_coverage;

const std::string kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const std::string kNotoCjk = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc";
// len(TTFont(path, fontNumber=n, lazy=True).getBestCmap()) for these faces.
constexpr std::size_t kDejaVuSansCodePoints = 5918;
constexpr std::size_t kNotoCjkFace0CodePoints = 44810;
constexpr int kNotoCjkFaces = 10;

constexpr std::uint32_t kLatinCapitalA = 0x41;
constexpr std::uint32_t kCjkIdeographOne = 0x4E00;

void require_font(const std::string& path) {
    if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is not installed";
}

TEST(CmapReader, DejaVuSansCoversLatinAndNotCjk) {
    require_font(kDejaVuSans);
    const CodePointSet coverage = read_unicode_coverage(kDejaVuSans, -1);
    EXPECT_EQ(coverage.size(), kDejaVuSansCodePoints);
    EXPECT_TRUE(coverage.contains(kLatinCapitalA));
    EXPECT_FALSE(coverage.contains(kCjkIdeographOne));
}

TEST(CmapReader, SingleFontIgnoresTheFaceIndex) {
    require_font(kDejaVuSans);
    const CodePointSet as_single = read_unicode_coverage(kDejaVuSans, -1);
    for (int face_index : {0, 1, 7, 0x10000, -2}) EXPECT_EQ(read_unicode_coverage(kDejaVuSans, face_index), as_single);
}

TEST(CmapReader, CjkCollectionFaceIsCompact) {
    require_font(kNotoCjk);
    const CodePointSet coverage = read_unicode_coverage(kNotoCjk, 0);
    EXPECT_EQ(coverage.size(), kNotoCjkFace0CodePoints);
    EXPECT_TRUE(coverage.contains(kCjkIdeographOne));
    EXPECT_TRUE(coverage.contains(kLatinCapitalA));
    EXPECT_LT(coverage.memory_bytes(), 256u * 1024u);
}

struct CollectionIndexCase {
    const char* label;
    int face_index;
    bool covers;
};

void PrintTo(const CollectionIndexCase& c, std::ostream* out) { *out << c.label; }

class CollectionIndex : public ::testing::TestWithParam<CollectionIndexCase> {};

TEST_P(CollectionIndex, NamesOneFaceOrNothing) {
    require_font(kNotoCjk);
    EXPECT_EQ(read_unicode_coverage(kNotoCjk, GetParam().face_index).contains(kCjkIdeographOne), GetParam().covers);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CollectionIndex,
    ::testing::Values(CollectionIndexCase{"First", 0, true}, CollectionIndexCase{"Last", kNotoCjkFaces - 1, true},
                      CollectionIndexCase{"SingleFontMarker", -1, false},
                      CollectionIndexCase{"OtherNegative", -7, false},
                      CollectionIndexCase{"PastTheEnd", kNotoCjkFaces, false},
                      // FreeType would read this as face 0, named instance 1.
                      CollectionIndexCase{"NamedInstanceBits", 0x10000, false}),
    [](const auto& info) { return std::string(info.param.label); });

struct NotAFontCase {
    const char* label;
    std::string contents;
};

void PrintTo(const NotAFontCase& c, std::ostream* out) { *out << c.label; }

class NotAFont : public ::testing::TestWithParam<NotAFontCase> {};

TEST_P(NotAFont, CoversNothing) {
    const std::string path = ::testing::TempDir() + "lumo_cmap_" + GetParam().label;
    {
        std::ofstream file(path, std::ios::binary);
        file << GetParam().contents;
    }
    for (int face_index : {-1, 0}) EXPECT_TRUE(read_unicode_coverage(path, face_index).empty());
    std::filesystem::remove(path);
}

/// The first `length` bytes of DejaVu Sans: a font whose tables run past the end.
std::string truncated_dejavu(std::size_t length) {
    std::ifstream file(kDejaVuSans, std::ios::binary);
    std::string bytes(length, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(length));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NotAFont,
    ::testing::Values(NotAFontCase{"Empty", ""}, NotAFontCase{"Text", "this is not a font at all\n"},
                      NotAFontCase{"SignatureOnly", std::string("\x00\x01\x00\x00", 4)},
                      NotAFontCase{"CollectionHeaderOnly", "ttcf"},
                      NotAFontCase{"TruncatedFont", truncated_dejavu(4096)}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(CmapReader, MissingFileAndDirectoryCoverNothing) {
    EXPECT_TRUE(read_unicode_coverage(::testing::TempDir() + "lumo_no_such_font.ttf", -1).empty());
    EXPECT_TRUE(read_unicode_coverage(::testing::TempDir(), -1).empty());
    EXPECT_TRUE(read_unicode_coverage("", 0).empty());
}

}  // namespace

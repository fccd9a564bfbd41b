// Full names read from SFNT fonts and collections: which name-ID-4 record
// wins, which faces are errors, and that no byte sequence crashes the reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/limits.h"
#include "index/sfnt_names.h"
#include "sfnt_builder.h"

namespace {

using namespace lumo::index;
namespace base = lumo::base;
using lumo::base::ByteSource;
using namespace lumo::test;

std::string describe(const FullNameResult& result) {
    switch (result.status) {
        case FullNameStatus::Found: return "Found \"" + result.full_name + "\"";
        case FullNameStatus::NoFullName: return "NoFullName";
        case FullNameStatus::Error: return "Error";
    }
    return "?";
}

std::string found(const std::string& name) { return "Found \"" + name + "\""; }
const std::string kNoFullName = "NoFullName";
const std::string kError = "Error";

std::string read_single(const Bytes& font) {
    base::MemoryByteSource source(font);
    return describe(read_single_font_full_name(source));
}

/// Every face of a collection, described, or "not a collection".
std::vector<std::string> read_all_faces(const Bytes& file) {
    base::MemoryByteSource source(file);
    auto offsets = read_collection_face_offsets(source);
    if (!offsets) return {"not a collection"};
    std::vector<std::string> faces;
    for (std::uint32_t offset : *offsets) faces.push_back(describe(read_collection_face_full_name(source, offset)));
    return faces;
}

NameRecord record(std::uint16_t platform_id, std::uint16_t encoding_id, std::uint16_t language_id,
                  std::uint16_t name_id, Bytes string) {
    return {platform_id, encoding_id, language_id, name_id, std::move(string)};
}

const Bytes kOddLength = {0x00, 0x41, 0x00};

// ---------------------------------------------------------------------------
// One font, one expected result.

struct FontCase {
    const char* label;
    Bytes font;
    std::string expected;
};

void PrintTo(const FontCase& c, std::ostream* out) { *out << c.label; }
std::string label_of(const ::testing::TestParamInfo<FontCase>& info) { return info.param.label; }

class SingleFont : public ::testing::TestWithParam<FontCase> {};

TEST_P(SingleFont, FullName) { EXPECT_EQ(read_single(GetParam().font), GetParam().expected); }

FontCase names(const char* label, std::vector<NameRecord> records, std::string expected) {
    return {label, font_with_names(records), std::move(expected)};
}

INSTANTIATE_TEST_SUITE_P(FirstStoredRecordWins, SingleFont, ::testing::Values(
    names("FirstOfTwoLanguages", {windows_full_name(u"Alpha Sans"), windows_full_name(u"Alpha JP", 0x411)}, found("Alpha Sans")),
    names("StoredOrderNotPlatformOrder", {windows_full_name(u"Windows"), record(1, 0, 0, 4, bytes_of("Mac"))}, found("Windows")),
    names("MacintoshStoredFirst", {record(1, 0, 0, 4, bytes_of("Mac")), windows_full_name(u"Windows")}, found("Mac")),
    names("OtherNameIdsIgnored", {record(3, 1, 0x409, 1, utf16be(u"Family")), windows_full_name(u"Full")}, found("Full")),
    names("ShiftJis", {record(3, 2, 0x411, 4, {0x93, 0xFA, 0x96, 0x7B, 0x83, 0x53})}, found("日本ゴ")),
    names("OnlyOtherNameIds", {record(3, 1, 0x409, 1, utf16be(u"Family"))}, kNoFullName),
    names("NoRecords", {}, kNoFullName)), label_of);

// One undecodable full-name record makes the face unreadable, wherever it is stored.
INSTANTIATE_TEST_SUITE_P(Undecodable, SingleFont, ::testing::Values(
    names("LaterOddLength", {windows_full_name(u"Good"), record(3, 1, 0x407, 4, kOddLength)}, kError),
    names("FirstUnpairedSurrogate", {record(3, 1, 0x409, 4, {0xD8, 0x00, 0x00, 0x41}), windows_full_name(u"Good")}, kError),
    names("LaterUnknownEncoding", {windows_full_name(u"Good"), record(3, 7, 0x409, 4, utf16be(u"Good"))}, kError),
    names("LaterShiftJisCut", {windows_full_name(u"Good"), record(3, 2, 0x411, 4, {'A', 0x93})}, kError),
    names("UndecodableFamilyNameIgnored", {record(3, 1, 0x409, 1, kOddLength), windows_full_name(u"Good")}, found("Good"))),
    label_of);

// Exactly the characters of the host's str.isspace() are stripped.
INSTANTIATE_TEST_SUITE_P(WhiteSpace, SingleFont, ::testing::Values(
    names("BlankName", {windows_full_name(u" \t ")}, found("")),
    names("BlankFirstWins", {windows_full_name(u"   "), windows_full_name(u"Real Name")}, found("")),
    names("AsciiSpaceAndControls", {windows_full_name(u"\t\n\v\f\r Sans  Bold \x1c\x1d\x1e\x1f")}, found("Sans  Bold")),
    names("UnicodeSpaces", {windows_full_name(u"\u3000\u00A0\u0085\u1680\u2000\u200A Sans \u2028\u2029\u202F\u205F")},
          found("Sans")),
    names("FormatCharactersStay", {windows_full_name(u"\u200B\u180ESans\uFEFF")}, found("\u200B\u180ESans\uFEFF"))),
    label_of);

INSTANTIATE_TEST_SUITE_P(Container, SingleFont, ::testing::Values(
    FontCase{"TrueType", font_with_names({windows_full_name(u"A")}, 0x00010000), found("A")},
    FontCase{"Cff", font_with_names({windows_full_name(u"A")}, tag("OTTO")), found("A")},
    FontCase{"AppleTrueType", font_with_names({windows_full_name(u"A")}, tag("true")), found("A")},
    FontCase{"CollectionHeader", font_with_names({windows_full_name(u"A")}, tag("ttcf")), kError},
    FontCase{"Woff", font_with_names({windows_full_name(u"A")}, tag("wOFF")), kError},
    FontCase{"UnknownVersion", font_with_names({windows_full_name(u"A")}, 0x00020000), kError},
    FontCase{"ZeroBytes", {}, kError},
    FontCase{"RealCollection", collection({{{tag("name"), name_table({windows_full_name(u"A")})}}}), kError}),
    label_of);

// `two_names_font()`: offset table, one directory entry, then at 28 the name
// table with the records "Alpha" and "Beta" and their strings.
constexpr std::size_t kNumTablesAt = 4, kEntryTagAt = 12, kEntryOffsetAt = 20, kEntryLengthAt = 24;
constexpr std::size_t kNameAt = 28, kCountAt = 30, kStorageOffsetAt = 32, kFirstRecordAt = 34, kSecondRecordAt = 46;
constexpr std::size_t kLengthInRecord = 8, kOffsetInRecord = 10;

FontCase damaged(const char* label, const std::function<void(Bytes&)>& damage, std::string expected) {
    Bytes font = font_with_names({windows_full_name(u"Alpha"), windows_full_name(u"Beta", 0x407)});
    damage(font);
    return {label, std::move(font), std::move(expected)};
}

INSTANTIATE_TEST_SUITE_P(Malformed, SingleFont, ::testing::Values(
    damaged("CountFarBeyondTable", [](Bytes& f) { set_u16(f, kCountAt, 0xFFFF); }, found("Alpha")),
    damaged("FirstStringPastStorage", [](Bytes& f) { set_u16(f, kFirstRecordAt + kOffsetInRecord, 0xFFF0); }, found("Beta")),
    damaged("FirstLengthPastStorage", [](Bytes& f) { set_u16(f, kFirstRecordAt + kLengthInRecord, 0xFFFF); }, found("Beta")),
    damaged("BothStringsPastStorage", [](Bytes& f) {
        set_u16(f, kFirstRecordAt + kOffsetInRecord, 0x1000);
        set_u16(f, kSecondRecordAt + kOffsetInRecord, 0x1000);
    }, kNoFullName),
    damaged("StorageOffsetPastTable", [](Bytes& f) { set_u16(f, kStorageOffsetAt, 0xFFFF); }, kNoFullName),
    damaged("FormatOne", [](Bytes& f) { set_u16(f, kNameAt, 1); }, found("Alpha")),
    damaged("UnknownFormat", [](Bytes& f) { set_u16(f, kNameAt, 2); }, kError),
    damaged("NoNameTable", [](Bytes& f) { set_u32(f, kEntryTagAt, tag("nama")); }, kError),
    damaged("NameTablePastEnd", [](Bytes& f) { set_u32(f, kEntryOffsetAt, 0xFFFFFF00); }, kError),
    damaged("NameTableLongerThanFile", [](Bytes& f) { set_u32(f, kEntryLengthAt, std::uint32_t(f.size() - kNameAt + 1)); }, kError),
    damaged("NameTableLengthWraps", [](Bytes& f) { set_u32(f, kEntryLengthAt, 0xFFFFFFFF); }, kError),
    damaged("NameTableShorterThanHeader", [](Bytes& f) { set_u32(f, kEntryLengthAt, 5); }, kError),
    damaged("TableCountBeyondFile", [](Bytes& f) { set_u16(f, kNumTablesAt, 0xFFFF); }, kError)),
    label_of);

TEST(SingleFontLimits, TableCountCap) {
    std::vector<Table> tables(lumo::kMaxSfntTables - 1, Table{tag("pad "), {}});
    tables.push_back({tag("name"), name_table({windows_full_name(u"Alpha")})});
    EXPECT_EQ(read_single(sfnt(tables)), found("Alpha"));
    tables.insert(tables.begin(), Table{tag("pad "), {}});
    EXPECT_EQ(read_single(sfnt(tables)), kError);
}

TEST(SingleFontLimits, NameRecordCap) {
    std::vector<NameRecord> records(lumo::kMaxNameRecords - 1, record(3, 1, 0x409, 1, {}));
    records.push_back(windows_full_name(u"Alpha"));
    EXPECT_EQ(read_single(font_with_names(records)), found("Alpha"));
    records.push_back(record(3, 1, 0x409, 1, {}));
    EXPECT_EQ(read_single(font_with_names(records)), kError);
}

TEST(SingleFontLimits, FullNamesFarApartInTheStorageAreAllRead) {
    const NameRecord padding = record(3, 1, 0x409, 1, Bytes(0xFFF0, 0x20));
    EXPECT_EQ(read_single(font_with_names({windows_full_name(u"Alpha"), padding, windows_full_name(u"Beta")})),
              found("Alpha"));
    EXPECT_EQ(read_single(font_with_names({windows_full_name(u"Alpha"), padding, record(3, 1, 0, 4, kOddLength)})),
              kError);
}

TEST(SingleFontLimits, EveryTruncationIsAnError) {
    // The name table comes last, so any cut leaves it, or the directory, incomplete.
    const Bytes font = sfnt({{tag("head"), Bytes(54, 0)},
                             {tag("name"), name_table({windows_full_name(u"Alpha"), windows_full_name(u"Beta")})}});
    ASSERT_EQ(read_single(font), found("Alpha"));
    for (std::size_t length = 0; length < font.size(); ++length)
        EXPECT_EQ(read_single(Bytes(font.begin(), font.begin() + length)), kError) << "cut at " << length;
}

// ---------------------------------------------------------------------------
// Collections.

std::vector<Table> face_named(std::u16string_view name) { return {{tag("name"), name_table({windows_full_name(name)})}}; }

struct CollectionCase {
    const char* label;
    std::function<void(Bytes&)> damage;  // applied to a collection of "Serif", "Sans", "Mono"
    std::vector<std::string> expected;
};

void PrintTo(const CollectionCase& c, std::ostream* out) { *out << c.label; }

class Collection : public ::testing::TestWithParam<CollectionCase> {};

TEST_P(Collection, FacesInCollectionOrder) {
    Bytes file = collection({face_named(u"Serif"), face_named(u"Sans"), face_named(u"Mono")});
    GetParam().damage(file);
    EXPECT_EQ(read_all_faces(file), GetParam().expected);
}

constexpr std::size_t kFaceCountAt = 8, kSecondFaceOffsetAt = 16;
const std::vector<std::string> kNotACollection{"not a collection"};
const std::vector<std::string> kSecondBroken{found("Serif"), kError, found("Mono")};

/// Where the second face's table directory starts.
std::uint32_t second_face(const Bytes& file) {
    const std::size_t at = kSecondFaceOffsetAt;
    return std::uint32_t(file[at]) << 24 | std::uint32_t(file[at + 1]) << 16 | std::uint32_t(file[at + 2]) << 8 | file[at + 3];
}

INSTANTIATE_TEST_SUITE_P(Headers, Collection, ::testing::Values(
    CollectionCase{"Intact", [](Bytes&) {}, {found("Serif"), found("Sans"), found("Mono")}},
    CollectionCase{"Version2", [](Bytes& f) { set_u32(f, 4, 0x00020000); }, {found("Serif"), found("Sans"), found("Mono")}},
    CollectionCase{"NoFaces", [](Bytes& f) { set_u32(f, kFaceCountAt, 0); }, {}},
    CollectionCase{"UnknownVersion", [](Bytes& f) { set_u32(f, 4, 0x00030000); }, kNotACollection},
    CollectionCase{"FaceCountBeyondFile", [](Bytes& f) { set_u32(f, kFaceCountAt, 1000); }, kNotACollection},
    CollectionCase{"FaceCountOverCap", [](Bytes& f) { set_u32(f, kFaceCountAt, lumo::kMaxCollectionFaces + 1); }, kNotACollection},
    CollectionCase{"FaceCountHuge", [](Bytes& f) { set_u32(f, kFaceCountAt, 0xFFFFFFFF); }, kNotACollection},
    CollectionCase{"CutInOffsets", [](Bytes& f) { f.resize(14); }, kNotACollection},
    CollectionCase{"SingleFont", [](Bytes& f) { f = font_with_names({windows_full_name(u"Serif")}); }, kNotACollection}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(OneBrokenFace, Collection, ::testing::Values(
    CollectionCase{"FaceOffsetPastEnd", [](Bytes& f) { set_u32(f, kSecondFaceOffsetAt, 0xFFFFFFF0); }, kSecondBroken},
    CollectionCase{"FaceAtTheHeader", [](Bytes& f) { set_u32(f, kSecondFaceOffsetAt, 0); }, kSecondBroken},
    CollectionCase{"FaceVersion", [](Bytes& f) { set_u32(f, second_face(f), tag("wOFF")); }, kSecondBroken},
    CollectionCase{"NameTablePastEnd", [](Bytes& f) { set_u32(f, second_face(f) + kEntryOffsetAt, 0x7FFFFFFF); },
                   kSecondBroken}),
    [](const auto& info) { return std::string(info.param.label); });

// ---------------------------------------------------------------------------
// Hostile bytes: never a crash, whatever the file holds.

TEST(HostileBytes, MutatedCollectionsAreReadWithoutCrashing) {
    const Bytes original = collection(
        {face_named(u"Serif"),
         {{tag("head"), Bytes(54, 0)},
          {tag("name"), name_table({record(1, 0, 0, 4, bytes_of("Mac")), windows_full_name(u"Sans"),
                                    record(3, 2, 0x411, 4, {0x93, 0xFA})})}}});
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    auto next = [&state] {  // xorshift64: the same mutations on every run
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    const std::uint8_t extremes[] = {0x00, 0x01, 0x7F, 0x80, 0xFF};
    for (int round = 0; round < 4000; ++round) {
        Bytes file = original;
        for (int change = 0, changes = 1 + int(next() % 4); change < changes; ++change)
            file[next() % file.size()] = next() % 2 ? extremes[next() % 5] : std::uint8_t(next());
        if (next() % 8 == 0) file.resize(next() % file.size());
        base::MemoryByteSource source(file);
        (void)read_single_font_full_name(source);
        (void)read_all_faces(file);
        (void)read_collection_face_full_name(source, std::uint32_t(next()));
    }
}

// ---------------------------------------------------------------------------
// Installed fonts, read from disk with few, small reads.

/// Counts the reads and bytes that pass through to another source.
class CountingSource final : public ByteSource {
public:
    explicit CountingSource(ByteSource& inner) : inner_(inner) {}
    std::uint64_t size() const override { return inner_.size(); }
    bool read(std::uint64_t offset, std::span<std::uint8_t> out) override {
        ++reads;
        bytes += out.size();
        return inner_.read(offset, out);
    }
    int reads = 0;
    std::size_t bytes = 0;

private:
    ByteSource& inner_;
};

TEST(InstalledFonts, DejaVuSans) {
    const char* path = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "DejaVu Sans is not installed";
    base::FileByteSource file(path);
    CountingSource source(file);
    EXPECT_EQ(describe(read_single_font_full_name(source)), found("DejaVu Sans"));
    EXPECT_LE(source.reads, 6);
    EXPECT_LT(source.bytes, 8u * 1024);
}

TEST(InstalledFonts, NotoSansCjkCollection) {
    const char* path = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "Noto Sans CJK is not installed";
    base::FileByteSource file(path);
    CountingSource source(file);
    auto offsets = read_collection_face_offsets(source);
    ASSERT_TRUE(offsets);
    ASSERT_EQ(offsets->size(), 10u);
    // The first name-ID-4 record of each face, as fontTools decodes it.
    const std::pair<std::size_t, const char*> expected[] = {
        {0, "Noto Sans CJK JP"}, {3, "Noto Sans CJK TC"}, {9, "Noto Sans Mono CJK HK"}};
    for (const auto& [face, name] : expected)
        EXPECT_EQ(describe(read_collection_face_full_name(source, (*offsets)[face])), found(name)) << "face " << face;
    EXPECT_LE(source.reads, 2 + 6 * 3);
    EXPECT_EQ(describe(read_single_font_full_name(source)), kError);
}

}  // namespace

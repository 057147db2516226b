#include "plugin/es_read.hpp"

#include "plugin_writer.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

using hw::ScanFault;
using hw::test::le32;
using hw::test::npcRecord;
using hw::test::record;
using hw::test::subrecord;
using hw::test::textSubrecord;

struct ScanCase
{
    std::string name;
    std::string file;
    std::vector<std::string> ids; // none leaves NPCNames holding one empty string
    ScanFault fault = ScanFault::None;
    std::uint64_t offset = 0; // where the record at fault starts
    std::uint64_t unreadable = 0; // bytes the source claims after `file` but cannot read
};

void PrintTo(const ScanCase &c, std::ostream *out)
{
    *out << c.name;
}

// Many records of every size around the block sizes, NPC records among them,
// so that headers, NPC data and large records fall across block edges.
ScanCase mixedSizes()
{
    ScanCase c {"MixedSizes", hw::test::headerRecord(), {}};
    std::mt19937 random(7);
    for (int i = 0; i < 300; ++i) {
        const auto kind = random() % 4;
        if (kind == 0) {
            c.ids.push_back("npc " + std::to_string(i));
            c.file += npcRecord(c.ids.back(), std::string(random() % 300, 'f'));
        } else {
            // Sizes from nothing to well past the default block, with the
            // bytes that an NPC record starts with inside.
            const auto size = kind == 1 ? random() % 200 : random() % 70000;
            std::string data(size, 'x');
            for (std::size_t at = 0; at + 8 < size; at += 4096)
                data.replace(at, 8, "NPC_NAME");
            c.file += record(kind == 3 ? "LAND" : "CELL", data);
        }
    }
    return c;
}

std::vector<ScanCase> scanCases()
{
    using enum ScanFault;
    const auto header = hw::test::headerRecord();
    const auto x = npcRecord("X");
    const auto y = npcRecord("Y");
    const auto cell = record("CELL", textSubrecord("NAME", "Balmora") + textSubrecord("NAME", "X"));
    std::vector<ScanCase> cases = {
        {"EmptyFile", "", {}},
        {"NoNpcRecord", header + cell + record("BOOK", textSubrecord("TEXT", "NPC_ NAME X")), {}},
        {"HeaderNpcOtherNpc", header + x + cell + y, {"X", "Y"}},
        {"FirstRecordIsAnNpc", x + header + y, {"X", "Y"}},
        {"TagCaseMatters", record("npc_", "NAME") + record("NPC ", "NAME") + x, {"X"}},
        {"DuplicateAndEmptyIdsStay", npcRecord("") + x + x + npcRecord(""), {"", "X", "X", ""}},
        {"FirstNameBytesWin",
         record("NPC_", subrecord("MODL", "NAME" + le32(4) + "abc") + textSubrecord("NAME", "no")),
         {"abc"}},
        {"IdKeepsBlanksCaseAndInnerNul",
         record("NPC_", subrecord("NAME", std::string(" Dark elf\0m \0", 13))),
         {std::string(" Dark elf\0m ", 12)}},
        {"IdIsConvertedToUtf8", npcRecord("Fr\xE9\x80\x81"), {"Fr\xC3\xA9\xE2\x82\xAC\xC2\x81"}},
        {"IdCutShortWhereTheRecordEnds",
         record("NPC_", subrecord("NAME", "big", 0xFFFFFFFF)) + y,
         {"big", "Y"}},
        {"NameHeaderEndingTheRecord", record("NPC_", subrecord("NAME", "", 9)) + x, {"", "X"}},
        {"EmptyRecordsAreSkipped", record("GMST", "") + x + record("CELL", ""), {"X"}},
        mixedSizes(),
    };

    // Truncated and malformed files: the scan stops at the record after
    // `before`, and the id in `before` (X, if any) stays.
    struct Stop
    {
        const char *name;
        std::string before, rest;
        ScanFault fault;
        std::uint64_t unreadable = 0;
    };
    const Stop stops[] = {
        {"DataSizePastTheEnd", header + x, record("CELL", "abc", 4), DataCutShort},
        {"HugeNpcDataSize", x, record("NPC_", "NAME", 0x7FFFFFFF), DataCutShort},
        {"EndsInsideAHeader", x, y.substr(0, 15), HeaderCutShort},
        {"NegativeDataSize", header + x, record("CELL", "abcd", -1) + y, NegativeDataSize},
        {"NpcWithoutName", x, record("NPC_", textSubrecord("FNAM", "N")) + y, NoNameSubrecord},
        {"NpcWithoutData", "", record("NPC_", "") + y, NoNameSubrecord},
        {"NameLengthZero", x, record("NPC_", subrecord("NAME", "abc", 0)) + y, ZeroNameLength},
        {"NameInTheLastEightBytes", x, record("NPC_", "NAME" + le32(5).substr(0, 3)) + y,
         NameAtDataEnd},
        {"ReadFails", x, "", CannotRead, 1000},
        {"FileShrinksWhileRead", x, y.substr(0, 40), DataCutShort, 1000},
    };
    for (const auto &s : stops) {
        const auto ids =
            s.before.empty() ? std::vector<std::string> {} : std::vector<std::string> {"X"};
        cases.push_back({s.name, s.before + s.rest, ids, s.fault, s.before.size(), s.unreadable});
    }
    return cases;
}

// A source that counts what it reads; it claims `unreadable` bytes more than
// it has, and reading them fails.
struct TestSource final : hw::ByteSource
{
    TestSource(std::string_view file, std::uint64_t missing)
        : bytes(file)
        , unreadable(missing)
    { }
    std::uint64_t size() const override { return bytes.size() + unreadable; }
    hw::ReadResult read(std::uint64_t offset, std::span<char> into) override
    {
        if (offset >= bytes.size() && unreadable > 0)
            return {0, std::make_error_code(std::errc::io_error)};
        const auto got = hw::MemorySource(bytes).read(offset, into);
        bytesRead += got.count;
        return got;
    }

    std::string_view bytes;
    std::uint64_t unreadable;
    std::uint64_t bytesRead = 0;
};

// Each case at block sizes from the smallest to the default, so that the
// result is seen not to depend on where blocks begin and end.
class ScanTable : public testing::TestWithParam<std::tuple<ScanCase, std::size_t>>
{
};

TEST_P(ScanTable, givesTheIdsAndTheOutcome)
{
    const auto &[c, bufferSize] = GetParam();
    TestSource source(c.file, c.unreadable);
    hw::ESRead reader(bufferSize);
    reader.NPCNames = {"left over", "from before"};
    const auto outcome = reader.ReadNPCNames(source);
    EXPECT_EQ(reader.NPCNames, c.ids.empty() ? std::vector<std::string> {""} : c.ids);
    EXPECT_EQ(outcome.idCount, c.ids.size());
    EXPECT_EQ(outcome.fault, c.fault);
    EXPECT_EQ(outcome.offset, c.offset);
    EXPECT_EQ(outcome.error == std::errc::io_error, c.fault == ScanFault::CannotRead);
    if (outcome.status() == hw::ScanStatus::Truncated) {
        EXPECT_EQ(outcome.endOffset, c.file.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Synthetic, ScanTable,
                         testing::Combine(testing::ValuesIn(scanCases()),
                                          testing::Values(16, 23, 4096,
                                                          hw::ESRead::kDefaultBufferSize)),
                         [](const auto &p) {
                             return std::get<0>(p.param).name + "_" +
                                 std::to_string(std::get<1>(p.param));
                         });

// Only headers and NPC data are read: other records are passed over.
TEST(ESRead, passesOverLargeRecordsWithoutReadingThem)
{
    std::string file = hw::test::headerRecord();
    for (int i = 0; i < 40; ++i)
        file += record("CELL", std::string(200000, 'c')) + npcRecord("id" + std::to_string(i));
    TestSource source(file, 0);
    hw::ESRead reader;
    const auto outcome = reader.ReadNPCNames(source);
    EXPECT_TRUE(outcome.complete());
    EXPECT_EQ(outcome.idCount, 40u);
    EXPECT_LT(source.bytesRead, file.size() / 5);
}

TEST(ESRead, convertsIdsFromTheChosenCodePage)
{
    const auto file = npcRecord("\xC0\xE1");
    hw::MemorySource source(file);
    hw::ESRead reader;
    reader.ReadNPCNames(source, hw::CodePage::Windows1251);
    EXPECT_EQ(reader.NPCNames, std::vector<std::string> {"\xD0\x90\xD0\xB1"}); // "Аб"
}

} // namespace

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
    std::vector<std::string> names; // NPCNames after the scan
    std::size_t idCount = 0;
    ScanFault fault = ScanFault::None;
    std::uint64_t offset = 0; // where the record at fault starts
};

// Many records of every size around the block sizes, NPC records among them,
// so that headers, NPC data and large records fall across block edges.
ScanCase mixedSizes()
{
    ScanCase c {"MixedSizes", hw::test::headerRecord(), {}, 0};
    std::mt19937 random(7);
    for (int i = 0; i < 300; ++i) {
        const auto kind = random() % 4;
        if (kind == 0) {
            c.names.push_back("npc " + std::to_string(i));
            c.file += npcRecord(c.names.back(), std::string(random() % 300, 'f'));
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
    c.idCount = c.names.size();
    return c;
}

std::vector<ScanCase> scanCases()
{
    const auto header = hw::test::headerRecord();
    const auto x = npcRecord("X");
    const auto y = npcRecord("Y");
    const auto cell = record("CELL", textSubrecord("NAME", "Balmora") + textSubrecord("NAME", "X"));
    const auto book = record("BOOK", textSubrecord("TEXT", "NPC_ NAME X"));
    std::vector<ScanCase> cases = {
        {"EmptyFile", "", {""}},
        {"HeaderOnly", header, {""}},
        {"NoNpcRecord", header + cell + book, {""}},
        {"HeaderNpcOtherNpc", header + x + cell + y, {"X", "Y"}, 2},
        {"FirstRecordIsAnNpc", x + header + y, {"X", "Y"}, 2},
        {"TagCaseMatters",
         header + record("npc_", textSubrecord("NAME", "a")) +
             record("Npc_", textSubrecord("NAME", "b")) +
             record("NPC ", textSubrecord("NAME", "c")) + x,
         {"X"},
         1},
        {"DuplicateIds", x + x, {"X", "X"}, 2},
        {"NameAfterOtherSubrecords",
         record("NPC_", textSubrecord("FNAM", "Full") + textSubrecord("NAME", "late_id")),
         {"late_id"},
         1},
        {"FirstNameBytesWin",
         record("NPC_",
                subrecord("MODL", "NAME" + le32(4) + "abc") + textSubrecord("NAME", "real")),
         {"abc"},
         1},
        {"NameBytesAtAnyOffset",
         record("NPC_",
                "xx" + subrecord("NAME", std::string("ok\0", 3)) + textSubrecord("NAME", "no")),
         {"ok"},
         1},
        {"IdsCanBeEmpty", npcRecord("") + x + npcRecord(""), {"", "X", ""}, 3},
        {"OneEmptyIdLeavesOneEmptyString", npcRecord(""), {""}, 1},
        {"IdKeepsBlanksCaseAndInnerNul",
         record("NPC_", subrecord("NAME", std::string(" Dark elf\0m \0", 13))),
         {std::string(" Dark elf\0m ", 12)},
         1},
        {"IdIsConvertedToUtf8", npcRecord("Fr\xE9\x80\x81"), {"Fr\xC3\xA9\xE2\x82\xAC\xC2\x81"}, 1},
        {"IdCutShortWhereTheRecordEnds",
         record("NPC_", subrecord("NAME", "abc", 100)) + y,
         {"abc", "Y"},
         2},
        {"NameHeaderEndingTheRecordGivesEmptyId",
         record("NPC_", subrecord("NAME", "", 9)) + x,
         {"", "X"},
         2},
        {"NameLengthAbove2GiBIsCutShort",
         record("NPC_", subrecord("NAME", "big", 0xFFFFFFFF)),
         {"big"},
         1},
        {"EmptyRecordsAreSkipped", record("GMST", "") + x + record("CELL", ""), {"X"}, 1},
    };

    const auto stopAt = [&](std::string name, std::string before, std::string rest,
                            std::vector<std::string> ids, ScanFault fault) {
        ScanCase c {std::move(name), before + rest, std::move(ids), 0, fault, before.size()};
        c.idCount = c.names.size();
        if (c.names.empty())
            c.names = {""};
        return c;
    };
    // Truncated files: the ids before the fault stay, a cut NPC record gives none.
    cases.push_back(stopAt("DataSizePastTheEnd", header + x, record("CELL", "abc", 4), {"X"},
                           ScanFault::DataCutShort));
    cases.push_back(stopAt("NpcRecordCutAtTheEnd", header + x, npcRecord("Y").substr(0, 40), {"X"},
                           ScanFault::DataCutShort));
    cases.push_back(stopAt("HugeDataSizeInASmallFile", x, record("NPC_", "NAME", 0x7FFFFFFF), {"X"},
                           ScanFault::DataCutShort));
    cases.push_back(stopAt("EndsInsideATag", header + x, "NP", {"X"}, ScanFault::HeaderCutShort));
    cases.push_back(
        stopAt("EndsInsideAHeader", x, y.substr(0, 15), {"X"}, ScanFault::HeaderCutShort));
    // Malformed records: the scan stops at them.
    cases.push_back(stopAt("NegativeDataSize", header + x, record("CELL", "abcd", -4) + y, {"X"},
                           ScanFault::NegativeDataSize));
    cases.push_back(stopAt("NegativeNpcDataSize", x, record("NPC_", "", -1) + y, {"X"},
                           ScanFault::NegativeDataSize));
    cases.push_back(stopAt("NpcWithoutName", x,
                           record("NPC_", textSubrecord("FNAM", "Nameless")) + y, {"X"},
                           ScanFault::NoNameSubrecord));
    cases.push_back(
        stopAt("NpcWithoutData", x, record("NPC_", "") + y, {"X"}, ScanFault::NoNameSubrecord));
    cases.push_back(stopAt("NameLengthZero", x, record("NPC_", subrecord("NAME", "abc", 0)) + y,
                           {"X"}, ScanFault::ZeroNameLength));
    cases.push_back(stopAt("NameInTheLastEightBytes", x,
                           record("NPC_", "NAME" + le32(5).substr(0, 3)) + y, {"X"},
                           ScanFault::NameAtDataEnd));
    cases.push_back(stopAt("NameAtTheVeryEnd", "", record("NPC_", "abcdNAME") + y, {},
                           ScanFault::NameAtDataEnd));
    return cases;
}

// Each case at block sizes from the smallest to the default, so that the
// result is seen not to depend on where blocks begin and end.
class ScanTable : public testing::TestWithParam<std::tuple<ScanCase, std::size_t>>
{
};

void PrintTo(const ScanCase &c, std::ostream *out)
{
    *out << c.name;
}

void expectScan(const ScanCase &c, std::size_t bufferSize)
{
    hw::MemorySource source(c.file);
    hw::ESRead reader(bufferSize);
    reader.NPCNames = {"left over", "from before"};
    const auto outcome = reader.ReadNPCNames(source);
    EXPECT_EQ(reader.NPCNames, c.names);
    EXPECT_EQ(outcome.idCount, c.idCount);
    EXPECT_EQ(outcome.fault, c.fault);
    EXPECT_EQ(outcome.offset, c.offset);
    if (outcome.status() == hw::ScanStatus::Truncated) {
        EXPECT_EQ(outcome.endOffset, c.file.size());
    }
}

const auto kBufferSizes = testing::Values(16, 23, 4096, hw::ESRead::kDefaultBufferSize);

TEST_P(ScanTable, givesTheIdsAndTheOutcome)
{
    const auto &[c, bufferSize] = GetParam();
    expectScan(c, bufferSize);
}

INSTANTIATE_TEST_SUITE_P(Synthetic, ScanTable,
                         testing::Combine(testing::ValuesIn(scanCases()), kBufferSizes),
                         [](const auto &p) {
                             return std::get<0>(p.param).name + "_" +
                                 std::to_string(std::get<1>(p.param));
                         });

class MixedSizes : public testing::TestWithParam<std::size_t>
{
};

TEST_P(MixedSizes, giveTheSameIdsAtEveryBlockSize)
{
    expectScan(mixedSizes(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Synthetic, MixedSizes, kBufferSizes);

// A source that counts what is read, to see that only headers and NPC data
// are: the data of other records must be passed over, not read.
class CountingSource final : public hw::ByteSource
{
public:
    explicit CountingSource(std::string_view bytes)
        : m_inner(bytes)
    { }
    std::uint64_t size() const override { return m_inner.size(); }
    hw::ReadResult read(std::uint64_t offset, std::span<char> into) override
    {
        const auto got = m_inner.read(offset, into);
        bytesRead += got.count;
        return got;
    }
    std::uint64_t bytesRead = 0;

private:
    hw::MemorySource m_inner;
};

TEST(ESRead, passesOverLargeRecordsWithoutReadingThem)
{
    std::string file = hw::test::headerRecord();
    for (int i = 0; i < 40; ++i)
        file += record("CELL", std::string(200000, 'c')) + npcRecord("id" + std::to_string(i));
    CountingSource source(file);
    hw::ESRead reader;
    const auto outcome = reader.ReadNPCNames(source);
    EXPECT_TRUE(outcome.complete());
    EXPECT_EQ(outcome.idCount, 40u);
    EXPECT_LT(source.bytesRead, file.size() / 5);
}

TEST(ESRead, reportsAFailedReadWithTheIdsBeforeIt)
{
    class FailingSource final : public hw::ByteSource
    {
    public:
        explicit FailingSource(std::string bytes)
            : m_bytes(std::move(bytes))
        { }
        std::uint64_t size() const override { return m_bytes.size() + 1000; }
        hw::ReadResult read(std::uint64_t offset, std::span<char> into) override
        {
            if (offset >= m_bytes.size())
                return {0, std::make_error_code(std::errc::io_error)};
            return hw::MemorySource(m_bytes).read(
                offset,
                into.subspan(0, std::min<std::size_t>(into.size(), m_bytes.size() - offset)));
        }

    private:
        std::string m_bytes;
    };
    const auto x = npcRecord("X");
    FailingSource source(x);
    hw::ESRead reader(16);
    const auto outcome = reader.ReadNPCNames(source);
    EXPECT_EQ(outcome.status(), hw::ScanStatus::Unreadable);
    EXPECT_EQ(outcome.fault, ScanFault::CannotRead);
    EXPECT_EQ(outcome.offset, x.size());
    EXPECT_EQ(outcome.error, std::errc::io_error);
    EXPECT_EQ(reader.NPCNames, std::vector<std::string> {"X"});
}

TEST(ESRead, convertsIdsFromTheChosenCodePage)
{
    const auto file = npcRecord("\xC0\xE1");
    hw::MemorySource source(file);
    hw::ESRead reader;
    reader.ReadNPCNames(source, hw::CodePage::Windows1251);
    EXPECT_EQ(reader.NPCNames, std::vector<std::string> {"\xD0\x90\xD0\xB1"}); // "Аб"
    reader.ReadNPCNames(source, hw::CodePage::Windows1250);
    EXPECT_EQ(reader.NPCNames, std::vector<std::string> {"\xC5\x94\xC3\xA1"}); // "Ŕá"
}

} // namespace

#include "data/record_reader.hpp"
#include "plugin/es_read.hpp"

#include "plugin_writer.hpp"
#include "temp_folder.hpp"
#include "test_source.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using hw::ScanFault;
using namespace hw::test;

// Writes down what the reader hands on, one line each.
struct Lines final : hw::RecordSink
{
    std::vector<std::string> lines;
    std::vector<std::string> npcs; ///< the NPC ids alone

    void masters(const std::vector<hw::MasterFile> &masters) override
    {
        std::string line = "masters";
        for (const auto &master : masters)
            line += ' ' + master.name;
        lines.push_back(line);
    }
    void record(const hw::IdRecord &r) override
    {
        std::string line = std::string(hw::recordKindName(r.kind)) + ' ' + std::string(r.id);
        if (r.shown != r.id)
            line += " shown " + std::string(r.shown);
        if (r.flags != 0)
            line += " flags " + std::to_string(r.flags);
        lines.push_back(line + (r.deleted ? " deleted" : ""));
        if (r.kind == hw::RecordKind::Npc)
            npcs.emplace_back(r.id);
    }
    void cell(const hw::CellRecord &c) override
    {
        lines.push_back("cell " + place(c.place) +
                        (c.region.empty() ? "" : " in " + std::string(c.region)) +
                        (c.deleted ? " deleted" : ""));
    }
    void reference(const hw::CellReference &r) override
    {
        char number[16];
        std::snprintf(number, sizeof number, "%08X", r.refNum);
        lines.push_back(std::string("ref ") + number + ' ' + std::string(r.object) +
                        (r.deleted ? " deleted" : "") +
                        (r.movedTo ? " moved to " + place(*r.movedTo) : ""));
    }
    static std::string place(const hw::CellPlace &p)
    {
        return p.interior ? '"' + std::string(p.name) + '"'
                          : "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")" +
                (p.name.empty() ? "" : " \"" + std::string(p.name) + '"');
    }
};

struct ReadCase
{
    const char *name;
    std::string file;
    std::vector<std::string> lines; // after the masters line of the header
    ScanFault fault = ScanFault::None;
    std::uint64_t offset = 0; // where the record at fault starts
    std::size_t npcIds = 0;
    hw::CodePage page = hw::CodePage::Windows1252;
};

// clang-format off
std::vector<ReadCase> readCases()
{
    using enum ScanFault;
    const std::string header = headerRecord({});
    const auto npc = npcRecord("Guard");
    const auto cut = [&](const char *name, const std::string &bad, ScanFault fault) {
        return ReadCase {name, header + npc + bad + npcRecord("Never"), {"npc Guard"}, fault, header.size() + npc.size(), 1};
    };
    // An NPC record's data read alone before another NPC: its id, or the fault
    // that stops the read there, for records the game's editor would never write.
    const auto npcId = [&](const char *name, const std::string &data, const std::string &id) {
        return ReadCase {name, header + record("NPC_", data) + npcRecord("next"), {"npc " + id, "npc next"}, None, 0,
                         id.empty() ? 1u : 2u}; // an empty id is not counted
    };
    const auto npcFault = [&](const char *name, const std::string &data, ScanFault fault) {
        return ReadCase {name, header + record("NPC_", data) + npcRecord("next"), {}, fault, header.size()};
    };
    return {
        {"MastersInOrder", headerRecord({"Morrowind.esm", "Tribunal.esm"}), {}},
        // Each tag's kind shows in the real plugins' index; tags match exactly.
        {"TagsInOtherCaseAreNoKind", header + idRecord("npc_", "x") + idRecord("Door", "y"), {}},
        {"FirstNameUpToItsNul",
         header + record("MISC", subrecord("NAME", std::string("coin\0junk", 9)) + textSubrecord("NAME", "second")),
         {"item coin"}},
        {"FlagsAndADeleteAnywhere",
         header + idRecord("NPC_", "Guard", textSubrecord("FNAM", "G"), 0x2400) +
             idRecord("CREA", "rat", textSubrecord("FNAM", "Rat") + subrecord("DELE", le32(0))),
         {"npc Guard flags 9216", "creature rat deleted"}, None, 0, 1},
        {"RegionShowsItsDisplayName",
         header + idRecord("REGN", "ascadian isles", textSubrecord("FNAM", "Ascadian Isles Region")),
         {"region ascadian isles shown Ascadian Isles Region"}},
        {"CellsAndTheirReferences",
         header + record("CELL", cellHead("Balmora, Inn", 1) + placed(1, "Guard") + placed(0x01000002, "rat", true)) +
             record("CELL", cellHead("", 0, -2, 9, "bitter coast region") + placed(3, "Guard")),
         {"cell \"Balmora, Inn\"", "ref 00000001 Guard", "ref 01000002 rat deleted",
          "cell (-2, 9) in bitter coast region", "ref 00000003 Guard"}},
        // Only the part before the first reference belongs to the cell.
        {"DeleteBeforeTheFirstReferenceDeletesTheCell",
         header + record("CELL", cellHead("Gone", 1) + subrecord("DELE", le32(0)) + placed(4, "x")),
         {"cell \"Gone\" deleted", "ref 00000004 x"}},
        {"MovedReferences",
         header + record("CELL", cellHead("", 0, 1, 1) + subrecord("MVRF", le32(0x01000007)) +
                                     subrecord("CNDT", le32(5) + le32(0xFFFFFFFF)) + placed(0x01000007, "Guard") +
                                     subrecord("MVRF", le32(8)) + textSubrecord("CNAM", "Vivec, Arena") +
                                     placed(8, "rat") + placed(9, "stays")),
         {"cell (1, 1)", "ref 01000007 Guard moved to (5, -1)", "ref 00000008 rat moved to \"Vivec, Arena\"",
          "ref 00000009 stays"}},
        {"IdsInTheGivenCodePage", header + npcRecord("\xC0\xE1"), {"npc \xD0\x90\xD0\xB1"}, None, 0, 1,
         hw::CodePage::Windows1251},
        // A damaged record stops the read; what came before it stays.
        cut("SubrecordPastTheRecord", record("MISC", subrecord("NAME", "coin", 90)), SubrecordCutShort),
        cut("HalfASubrecordHeader", record("SPEL", textSubrecord("NAME", "x") + "FNAM"), SubrecordCutShort),
        cut("ReferencePastTheCell", record("CELL", cellHead("c", 1) + subrecord("FRMR", "", 9)), SubrecordCutShort),
        cut("ItemWithoutId", record("BOOK", textSubrecord("FNAM", "Untitled")), NoNameSubrecord),
        {"DataSizePastTheEnd", header + npc + record("CELL", "abc", 4), {"npc Guard"}, DataCutShort,
         header.size() + npc.size(), 1},
        {"NotAPlugin", npc + header, {}, NotAPlugin},
        npcId("NoClosingNul", subrecord("NAME", "nonul") + textSubrecord("FNAM", "N"), "nonul"),
        npcId("OneByteName", subrecord("NAME", "x"), "x"),
        npcId("NulAlone", textSubrecord("NAME", ""), ""),
        npcId("LengthZero", subrecord("NAME", "") + textSubrecord("FNAM", "N"), ""),
        npcId("UpToTheFirstNul", subrecord("NAME", std::string("ab\0cd\0", 6)), "ab"),
        npcId("NameBytesInsideAnotherSubrecord", subrecord("MODL", "NAME" + le32(4) + "abc") + textSubrecord("NAME", "real"), "real"),
        npcId("NameAfterOthers", textSubrecord("FNAM", "NAME") + textSubrecord("NAME", "later"), "later"),
        npcId("FirstOfTwoNames", textSubrecord("NAME", "first") + textSubrecord("NAME", "second"), "first"),
        npcId("CodePage", textSubrecord("NAME", "Fr\xE9\x80"), "Fr\xC3\xA9\xE2\x82\xAC"),
        npcFault("NoName", textSubrecord("FNAM", "NAME x"), NoNameSubrecord),
        npcFault("NameLongerThanTheRecord", subrecord("NAME", "big", 0xFFFFFFFF), SubrecordCutShort),
        npcFault("NameInTheLastBytes", "NAME" + le32(5).substr(0, 3), SubrecordCutShort),
        npcFault("BrokenAfterTheName", textSubrecord("NAME", "x") + "FNAM", SubrecordCutShort),
    };
}
// clang-format on

// Each case in place and copied at the smallest block size, an odd one and
// the default, so that the result is seen not to depend on where blocks
// begin and end.
TEST(ReadRecords, handsOnIdsCellsAndReferencesInFileOrder)
{
    for (const auto &c : readCases())
        for (const std::size_t bufferSize : {0, 16, 23, 256 * 1024}) {
            SCOPED_TRACE(c.name + std::string(" at ") + std::to_string(bufferSize));
            hw::MemorySource inPlace(c.file);
            CopyingSource copying(c.file);
            hw::ByteSource &source =
                bufferSize == 0 ? static_cast<hw::ByteSource &>(inPlace) : copying;
            Lines sink;
            const auto outcome = hw::readRecords(source, sink, c.page, {}, bufferSize);
            ASSERT_TRUE(outcome);
            if (c.fault != ScanFault::NotAPlugin) {
                ASSERT_FALSE(sink.lines.empty());
                sink.lines.erase(sink.lines.begin());
            }
            EXPECT_EQ(sink.lines, c.lines);
            EXPECT_EQ(std::tuple(outcome->fault, outcome->offset, outcome->idCount),
                      std::tuple(c.fault, c.offset, c.npcIds));
            // The Load button's NPC reader takes the same ids and stops
            // where the index does, though it takes nothing from the records at fault.
            hw::ESRead npcs(std::max<std::size_t>(bufferSize, 16));
            const auto npcOutcome = npcs.ReadNPCNames(source, c.page);
            npcs.NPCNames.resize(npcOutcome.idCount);
            EXPECT_EQ(npcs.NPCNames, sink.npcs);
            EXPECT_EQ(std::tuple(npcOutcome.fault, npcOutcome.offset),
                      std::tuple(c.fault, c.offset));
        }
}

// A file mapped a page at a time gives what its copied bytes give, wherever
// its records cross from one window to the next.
TEST(ReadRecords, readsAFileInWindowsAsItsCopiedBytes)
{
    for (const char *name : {"Antares_Big_Mod_1.2.esp", "firemoth.esm", "all_types.esp"}) {
        SCOPED_TRACE(name);
        const auto file = std::filesystem::path(HW_TEST_PLUGINS) / name;
        const std::string bytes = fileBytes(file);
        std::error_code error;
        const auto mapped = hw::FileSource::open(file, error, 1);
        ASSERT_NE(mapped, nullptr) << error.message();
        CopyingSource copying(bytes);
        Lines inWindows, copied;
        const auto outcome = hw::readRecords(*mapped, inWindows);
        hw::readRecords(copying, copied, hw::CodePage::Windows1252, {}, 23);
        EXPECT_TRUE(outcome && outcome->complete());
        EXPECT_GT(inWindows.lines.size(), 50u);
        EXPECT_EQ(inWindows.lines, copied.lines);
    }
}

} // namespace

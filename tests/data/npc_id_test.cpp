// One NPC record's id as the Load button's reader (ESRead) and the game
// index's reader (readRecords) take it: the same id from both, or the same
// fault, for records the game's editor would never write.
#include "data/record_reader.hpp"
#include "plugin/es_read.hpp"

#include "plugin_writer.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using hw::ScanFault;
using namespace hw::test;
using Strings = std::vector<std::string>;

struct NpcIds final : hw::RecordSink
{
    Strings ids;

    void masters(const std::vector<std::string> &) override { }
    void record(const hw::IdRecord &r) override
    {
        if (r.kind == hw::RecordKind::Npc)
            ids.emplace_back(r.id);
    }
    void cell(const hw::CellRecord &) override { }
    void reference(const hw::CellReference &) override { }
};

TEST(NpcId, isTheSameForTheLoadButtonAndTheGameIndex)
{
    using enum ScanFault;
    // the NPC record's data; its id (UTF-8), or the fault that stops both readers
    // clang-format off
    const std::tuple<const char *, std::string, std::string, ScanFault> cases[] = {
        {"NoClosingNul", subrecord("NAME", "nonul") + textSubrecord("FNAM", "N"), "nonul", None},
        {"OneByteName", subrecord("NAME", "x"), "x", None},
        {"NulAlone", textSubrecord("NAME", ""), "", None},
        {"LengthZero", subrecord("NAME", "") + textSubrecord("FNAM", "N"), "", None},
        {"UpToTheFirstNul", subrecord("NAME", std::string("ab\0cd\0", 6)), "ab", None},
        {"NameBytesInsideAnotherSubrecord",
         subrecord("MODL", "NAME" + le32(4) + "abc") + textSubrecord("NAME", "real"), "real", None},
        {"NameAfterOthers", textSubrecord("FNAM", "NAME") + textSubrecord("NAME", "later"), "later", None},
        {"FirstOfTwoNames", textSubrecord("NAME", "first") + textSubrecord("NAME", "second"), "first", None},
        {"CodePage", textSubrecord("NAME", "Fr\xE9\x80"), "Fr\xC3\xA9\xE2\x82\xAC", None},
        {"NoName", textSubrecord("FNAM", "NAME x"), "", NoNameSubrecord},
        {"NameLongerThanTheRecord", subrecord("NAME", "big", 0xFFFFFFFF), "", SubrecordCutShort},
        {"NameInTheLastBytes", "NAME" + le32(5).substr(0, 3), "", SubrecordCutShort},
        {"BrokenAfterTheName", textSubrecord("NAME", "x") + "FNAM", "", SubrecordCutShort},
    };
    // clang-format on
    const std::string header = headerRecord({});
    for (const auto &[name, data, id, fault] : cases) {
        SCOPED_TRACE(name);
        const std::string file = header + record("NPC_", data) + npcRecord("next");
        const Strings expected = fault == None ? Strings {id, "next"} : Strings {};

        hw::MemorySource forLoad(file);
        hw::ESRead reader;
        const auto loaded = reader.ReadNPCNames(forLoad);
        reader.NPCNames.resize(loaded.idCount);
        EXPECT_EQ(reader.NPCNames, expected);
        EXPECT_EQ(loaded.fault, fault);

        hw::MemorySource forIndex(file);
        NpcIds sink;
        const auto indexed = hw::readRecords(forIndex, sink);
        ASSERT_TRUE(indexed);
        EXPECT_EQ(sink.ids, expected);
        EXPECT_EQ(indexed->fault, fault);
        EXPECT_EQ(indexed->offset, loaded.offset);
    }
}

} // namespace

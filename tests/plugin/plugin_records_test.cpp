#include "plugin/plugin_header.hpp"
#include "plugin/record_layout.hpp"
#include "plugin/script_record.hpp"
#include "plugin/script_text.hpp"

#include "plugin_writer.hpp"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using namespace hw;
using Names = std::vector<std::string>;

std::string_view dataOf(std::string_view record)
{
    EXPECT_EQ(loadLe32(record.data() + 4), record.size() - kRecordHeaderSize);
    return record.substr(kRecordHeaderSize);
}

TEST(ScriptText, declaredLocalsAreFoundByKindInOrder)
{
    const std::tuple<std::string_view, ScriptLocals> cases[] = {
        {"Begin a\r\nShort hrw_hour\r\nshort B ; note\r\n\tFLOAT f\r\nlong l,x\r\nShort "
         "hrw_hour\r\n"
         "End",
         {{"hrw_hour", "B"}, {"l"}, {"f"}}},
        // Only a line's first word declares; a keyword alone declares nothing.
        {"Set short to 1\n; Short c\nShort\nShorter d\nIf ( x )\n  Long inside\nEndIf",
         {{}, {"inside"}, {}}},
        {"", {}},
    };
    for (const auto &[text, locals] : cases)
        EXPECT_EQ(scriptLocals(text), locals) << text;
}

TEST(ScriptRecord, holdsTheNameCountsLocalsAnEmptyCompiledPartAndTheText)
{
    using test::le32, test::subrecord;
    const std::string text = "Begin Ab\xE9\r\nShort s\r\nFloat f\r\nLong l\r\nShort t\r\nEnd";
    const std::string names("s\0t\0l\0f\0", 8);
    const std::string record = scriptRecord("Ab\xE9", text, 0x400);
    // SCHD: the name in 32 bytes, the counts of shorts, longs and floats, the
    // sizes of SCDT and SCVR; SCTX without a closing NUL.
    const std::string head =
        "Ab\xE9" + std::string(29, '\0') + le32(2) + le32(1) + le32(1) + le32(0) + le32(8);
    EXPECT_EQ(record,
              test::record("SCPT",
                           subrecord("SCHD", head) + subrecord("SCVR", names) +
                               subrecord("SCDT", "") + subrecord("SCTX", text),
                           std::nullopt, 0x400));
    const auto read = readScriptRecord(dataOf(record));
    ASSERT_TRUE(read);
    EXPECT_EQ(std::tie(read->name, read->text, read->localNames, read->compiled),
              std::make_tuple("Ab\xE9", text, names, ""));
    EXPECT_EQ(std::tie(read->numShorts, read->numLongs, read->numFloats),
              std::make_tuple(2u, 1u, 1u));
    EXPECT_EQ(dataOf(scriptRecord("x", "Begin x\r\nEnd")).find("SCVR"), std::string_view::npos)
        << "a script without locals has no SCVR";
}

TEST(ScriptRecord, damagedRecordsAreNotRead)
{
    const std::string header = test::subrecord("SCHD", std::string(52, '\0'));
    EXPECT_TRUE(readScriptRecord(header));
    for (const std::string &damaged :
         {test::subrecord("SCHD", std::string(51, '\0')), test::subrecord("SCTX", "x"),
          header + test::subrecord("SCTX", "x", 2)})
        EXPECT_FALSE(readScriptRecord(damaged)) << testing::PrintToString(damaged);
    EXPECT_FALSE(readStartScriptRecord(test::subrecord("DATA", "1")));
}

TEST(StartScriptRecord, namesTheScriptAfterANumberMadeFromIt)
{
    const std::string number = startScriptNumber("Town_Guard_sched_sc_01");
    EXPECT_EQ(number, startScriptNumber("town_guard_SCHED_sc_01"));
    EXPECT_NE(number, startScriptNumber("town_guard_sched_sc_02"));
    EXPECT_EQ(number.find_first_not_of("0123456789"), std::string::npos);
    const std::string record = startScriptRecord(number, "a");
    EXPECT_EQ(dataOf(record), test::subrecord("DATA", number) + test::textSubrecord("NAME", "a"));
    const auto read = readStartScriptRecord(dataOf(record));
    ASSERT_TRUE(read);
    EXPECT_EQ(std::tie(read->script, read->number), std::make_tuple("a", number));
}

TEST(PluginHeader, aNewHeaderReadsBackAndAChangedOneKeepsWhatItDoesNotKnow)
{
    const PluginHeader header {
        0, "Me", "What it does", 7, {{"Morrowind.esm", 79837557}, {"B.esp", 1}}};
    const std::string record = headerRecord(header);
    EXPECT_EQ(loadLe32(dataOf(record).data() + 4), 300u);
    EXPECT_EQ(readHeader(dataOf(record)), header);

    // A header with a sub-record the writer does not know, and a MAST without DATA.
    const std::string hedr(dataOf(record).substr(8, 300));
    const std::string old = test::subrecord("FORM", test::le32(1)) + test::subrecord("HEDR", hedr) +
        test::textSubrecord("MAST", "A.esm") + test::subrecord("GMDT", "xyz");
    const auto changed = changedHeaderData(old, {9, std::nullopt, "New", {{"C.esm", 5}}});
    ASSERT_TRUE(changed);
    const auto read = readHeader(*changed);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->recordCount, 9u);
    EXPECT_EQ(read->author, "Me");
    EXPECT_EQ(read->description, "New");
    EXPECT_EQ(read->masters, (std::vector<MasterFile> {{"A.esm", 0}, {"C.esm", 5}}));
    EXPECT_TRUE(changed->starts_with(test::subrecord("FORM", test::le32(1))));
    EXPECT_TRUE(changed->ends_with(test::subrecord("GMDT", "xyz")));

    EXPECT_FALSE(readHeader(test::subrecord("HEDR", std::string(299, '\0'))));
    EXPECT_FALSE(changedHeaderData(test::textSubrecord("MAST", "A.esm"), {}));
}

TEST(ScriptText, startScriptLinesAreFoundAndMissingOnesAddedWhereTheyBelong)
{
    const std::string central = "Begin c\r\n\r\nShort hrw_hour\r\nIf ( hrw_last != hrw_hour )\r\n"
                                "       ;StartScript MyScriptName\r\n"
                                "       Set hrw_last to hrw_hour\r\nEndIf\r\n\r\nEnd";
    const std::string started = "Begin c\n  startscript \"A b\" ; mine\n  ;StartScript off\n"
                                "\tStartScript x\nset  HRW_LAST to hrw_hour\nEnd\n";
    EXPECT_TRUE(startsScript(started, "a B"));
    EXPECT_TRUE(startsScript(started, "OFF")) << "a line made a comment stays the author's choice";
    EXPECT_TRUE(startsScript(started, "x"));
    EXPECT_FALSE(startsScript(started, "c"));

    const std::tuple<std::string, Names, std::optional<std::string>> cases[] = {
        // Before the hour-set line, with its indent and CR LF.
        {central,
         {"a", "b"},
         "Begin c\r\n\r\nShort hrw_hour\r\nIf ( hrw_last != hrw_hour )\r\n"
         "       ;StartScript MyScriptName\r\n       StartScript a\r\n       StartScript b\r\n"
         "       Set hrw_last to hrw_hour\r\nEndIf\r\n\r\nEnd"},
        // After the last StartScript line the author left in, with its indent and LF.
        {started,
         {"n"},
         "Begin c\n  startscript \"A b\" ; mine\n  ;StartScript off\n\tStartScript x\n"
         "\tStartScript n\nset  HRW_LAST to hrw_hour\nEnd\n"},
        {"StartScript x", {"n"}, "StartScript x\nStartScript n"},
        {"Begin c\r\nSet hrw_last to hrw_hour + 1\r\nEnd", {"n"}, std::nullopt},
    };
    for (const auto &[text, names, expected] : cases)
        EXPECT_EQ(withStartScripts(text, names), expected) << text;
}

} // namespace

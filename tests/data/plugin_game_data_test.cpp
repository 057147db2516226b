#include "data/plugin_game_data.hpp"

#include "data/load_order.hpp"
#include "model/caseless.hpp"
#include "plugin/plugin_header.hpp"
#include "plugin/script_record.hpp"
#include "plugin_writer.hpp"
#include "temp_folder.hpp"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

using namespace hw;
using namespace hw::test;

PluginScript scriptFor(std::string npc)
{
    PluginScript script;
    script.name = lowerCase(npc) + "_sched_sc_01";
    script.npcId = std::move(npc);
    return script;
}

std::string header(std::vector<MasterFile> masters)
{
    return headerRecord({0, "", "", 0, std::move(masters)});
}

// The files that define each NPC, the masters those need (one not among the
// files), deletions and ids in other ASCII letter case, scripts with the ids to
// be written, and the plugin itself among the files.
TEST(PluginGameData, theDefiningFilesAndTheirMastersComeInLoadOrderWithTheirSizes)
{
    const TempFolder dir;
    const auto write = [&](std::string_view name, const std::string &bytes) {
        return dir.write(name, bytes);
    };
    const std::string base = header({}) + npcRecord("Guard") + npcRecord("Smith") +
        npcRecord("\xC0rvs") + // Àrvs, whom the game does not take for àrvs
        scriptRecord("other_script", "Begin other_script\r\nEnd");
    const std::uint64_t baseSize = base.size();
    const std::vector<fs::path> files = {
        write("Base.esm", base),
        write("Mod.esp", header({{"Base.esm", 1}, {"Missing.esm", 123}}) + npcRecord("Cook")),
        write("Del.esp",
              header({{"Base.esm", 1}}) +
                  record("NPC_", textSubrecord("NAME", "smith") + subrecord("DELE", le32(0)))),
        write("Re.esp",
              header({{"BASE.ESM", 1}, {"Del.esp", 1}}) + npcRecord("SMITH") + npcRecord("Guard")),
        write("Other.esp",
              header({}) + scriptRecord("GUARD_sched_sc_01", "x") +
                  scriptRecord("hrw_central_ABC", "x") + scriptRecord("unrelated", "x")),
        write("Sched.esp", header({}) + npcRecord("Self") + scriptRecord("cook_sched_sc_01", "x")),
        write("Needs.esp", header({{"sched.esp", 1}}) + npcRecord("Needy")),
        dir / "Gone.esp",
    };
    const std::vector<PluginScript> scripts = {
        scriptFor("guard"),  scriptFor("Smith"), scriptFor("Cook"),       scriptFor("Self"),
        scriptFor("Nobody"), scriptFor("Needy"), scriptFor("\xC3\xA0rvs")};
    const PluginGameDataRead read =
        readPluginGameData(files, scripts, dir / "Sched.esp", CodePage::Windows1252);
    const auto sizeOf = [&](std::string_view name) { return fs::file_size(dir / name); };
    EXPECT_EQ(read.data.masters,
              (std::vector<MasterFile> {{"Base.esm", baseSize},
                                        {"Missing.esm", 123},
                                        {"Mod.esp", sizeOf("Mod.esp")},
                                        {"Del.esp", sizeOf("Del.esp")},
                                        {"Re.esp", sizeOf("Re.esp")},
                                        {"Sched.esp", sizeOf("Sched.esp")},
                                        {"Needs.esp", sizeOf("Needs.esp")}}));
    EXPECT_EQ(read.data.unknownNpcs, (std::vector<std::string> {"Nobody", "\xC3\xA0rvs"}));
    ASSERT_EQ(read.data.scripts.size(), 2u);
    EXPECT_EQ(read.data.scripts[0].id, "GUARD_sched_sc_01");
    EXPECT_EQ(read.data.scripts[1].id, "hrw_central_ABC");
    EXPECT_EQ(read.data.scripts[1].file, files[4]);
    ASSERT_EQ(read.faults.size(), 1u);
    EXPECT_EQ(read.faults[0].file, files.back());
    EXPECT_EQ(read.faults[0].outcome.fault, ScanFault::CannotOpen);
}

} // namespace

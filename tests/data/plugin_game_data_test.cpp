#include "data/plugin_game_data.hpp"

#include "data/game_index_builder.hpp"
#include "data/load_order.hpp"
#include "model/caseless.hpp"
#include "plugin/plugin_header.hpp"
#include "plugin/script_record.hpp"
#include "plugin_writer.hpp"
#include "temp_folder.hpp"

#include <gtest/gtest.h>

#include <functional>

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

using Way = std::function<PluginGameDataRead(const std::vector<fs::path> &,
                                             const std::vector<PluginScript> &, const fs::path &)>;

// The files read for the plan alone, and the index the window built of them.
const std::pair<const char *, Way> kWays[] = {
    {"reading the files",
     [](const auto &files, const auto &scripts, const auto &plugin) {
         return readPluginGameData(files, scripts, plugin, CodePage::Windows1252);
     }},
    {"from the index",
     [](const auto &files, const auto &scripts, const auto &plugin) {
         return pluginGameDataOf(*buildGameIndex(files), scripts, plugin);
     }},
};

std::string lines(const PluginGameData &data)
{
    std::string text;
    for (const auto &master : data.masters)
        text += "master " + master.name + ' ' + std::to_string(master.size) + '\n';
    for (const auto &npc : data.unknownNpcs)
        text += "unknown " + npc + '\n';
    for (const auto &script : data.scripts)
        text += "script " + script.id + ' ' + script.file.string() + '\n';
    return text;
}

// The files that define each NPC (the first after the last deletion, not the
// last), the masters those need (one not among the files), deletions and ids in
// other ASCII letter case, scripts with the ids to be written, and the plugin
// itself among the files; the same whether the files are read or indexed.
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
              header({}) + npcRecord("Cook") + scriptRecord("GUARD_sched_sc_01", "x") +
                  scriptRecord("hrw_central_ABC", "x") + scriptRecord("unrelated", "x")),
        write("Sched.esp", header({}) + npcRecord("Self") + scriptRecord("cook_sched_sc_01", "x")),
        write("Needs.esp", header({{"sched.esp", 1}}) + npcRecord("Needy")),
        dir / "Gone.esp",
    };
    const std::vector<PluginScript> scripts = {
        scriptFor("guard"),  scriptFor("Smith"), scriptFor("Cook"),       scriptFor("Self"),
        scriptFor("Nobody"), scriptFor("Needy"), scriptFor("\xC3\xA0rvs")};
    for (const auto &[wayName, way] : kWays) {
        SCOPED_TRACE(wayName);
        const PluginGameDataRead read = way(files, scripts, dir / "Sched.esp");
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
}

// Both ways give the same on every real plugin, for each of its NPCs and
// each of its scripts.
TEST(PluginGameData, isTheSameFromTheIndexAsFromTheRealPlugins)
{
    std::size_t scriptsFound = 0;
    for (const fs::path folder : {HW_TEST_PLUGINS, HW_EXTRA_TEST_PLUGINS}) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; ++it) {
            const std::vector<fs::path> files = {it->path()};
            if (files[0].extension() == ".ids" || files[0].extension() == ".md")
                continue;
            SCOPED_TRACE(files[0].string());
            const auto index = buildGameIndex(files);
            std::vector<PluginScript> scripts;
            for (const auto npc : index->inOrder(RecordKind::Npc))
                scripts.push_back(scriptFor(std::string(npc)));
            for (const auto &script : index->scripts()) {
                scripts.push_back(scriptFor("Not An NPC"));
                scripts.back().name = script.id;
            }
            for (const fs::path &plugin : {fs::path("Sched.esp"), files[0]}) {
                const auto read = readPluginGameData(files, scripts, plugin, CodePage::Windows1252);
                const auto fromIndex = pluginGameDataOf(*index, scripts, plugin);
                EXPECT_EQ(lines(fromIndex.data), lines(read.data));
                EXPECT_EQ(fromIndex.faults.size(), read.faults.size());
                scriptsFound += read.data.scripts.size();
            }
        }
    }
    EXPECT_GT(scriptsFound, 0u);
}

} // namespace

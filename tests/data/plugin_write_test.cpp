// The planning step that a preview shows and a write writes: what the preview
// says is what the write then does, and the preview itself writes nothing.
#include "data/plugin_write.hpp"

#include "data/load_order.hpp"
#include "plugin/plugin_header.hpp"
#include "plugin_files.hpp"
#include "plugin_writer.hpp"
#include "temp_folder.hpp"

#include <gtest/gtest.h>

#include <map>

namespace fs = std::filesystem;

namespace {

using namespace hw;
using namespace hw::test;

// Every file of `folder` and its bytes.
std::map<std::string, std::string> contents(const fs::path &folder)
{
    std::map<std::string, std::string> files;
    for (const auto &entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = fileBytes(entry.path());
    return files;
}

struct Step
{
    const char *what;
    std::vector<ScheduleList> lists;
    std::string plugin; ///< in the folder
    bool gameData = true; ///< Base.esm, and Bad.esm when `badData`
    bool badData = false;
    std::string preview; ///< "BAD" stands for Bad.esm's path
};

const std::vector<std::string> kDay = {"06:00 > Appear", "20:00 > Disappear"};

// Steps in turn in one folder that holds Base.esm (defining hw_guard and
// hw_smith) and Mod.esp (an author's plugin with an NPC of its own).
TEST(PluginWrite, thePreviewSaysWhatTheWriteThenDoesAndWritesNothing)
{
    const TempFolder dir;
    const std::string base =
        headerRecord({0, "", "", 2, {}}) + npcRecord("hw_guard") + npcRecord("hw_smith");
    dir.write("Base.esm", base);
    dir.write("Mod.esp",
              headerRecord({0, "Me", "", 1, {{"Base.esm", base.size()}}}) + npcRecord("my_own"));
    dir.write("Bad.esm", "Hello, world");
    const ScheduleList guard = scheduleList("hw_guard", false, kDay);
    const ScheduleList smith = scheduleList("hw_smith", true, kDay);
    const ScheduleList nobody = scheduleList("nobody", false, kDay);
    const ScheduleList unnamed = scheduleList("", false, kDay, "unnamed.hwtasks");
    // A script of the same length as the first, which differs only inside.
    const ScheduleList guardLater =
        scheduleList("hw_guard", false, {"07:00 > Appear", "20:00 > Disappear"});
    const std::string nothing = "nothing changes: the plugin holds these schedules already";
    // clang-format off
    const Step steps[] = {
        {"new", {guard}, "New.omwaddon", true, false,
         "adds script hw_guard_sched_sc_01 and a start script; 1 master"},
        {"again", {guard}, "New.omwaddon", true, false, nothing},
        {"changed", {guardLater}, "New.omwaddon", true, false,
         "replaces script hw_guard_sched_sc_01"},
        {"global", {guardLater, smith}, "New.omwaddon", false, false,
         "adds script hw_smith_sched_sc_01; adds the central script hrw_central_53844B74, which "
         "starts 1 script once an hour, and its start script\n"
         "Without game data the plugin names no new masters: the game must load it after the "
         "files that define its NPCs."},
        {"author's plugin", {guard}, "Mod.esp", true, false,
         "adds script hw_guard_sched_sc_01 and a start script; keeps the old file as Mod.esp.bak"},
        {"author's plugin again", {guardLater}, "Mod.esp", true, false,
         "replaces script hw_guard_sched_sc_01"},
        {"unknown NPC", {nobody}, "Other.esp", true, false,
         "No file of the game data defines the NPC \"nobody\"."},
        {"no NPC", {guard, unnamed}, "Other.esp", true, false,
         "The task list unnamed.hwtasks names no NPC: its header needs a line \"; NPC: ID\"."},
        {"bad game data", {guard}, "Other.esp", true, true,
         "The file \"BAD\" is not a Morrowind plugin or master file.\n"
         "It begins with \"Hell\", not with the \"TES3\" record of a plugin.\n"
         "The game data cannot be read whole, so the plugin is not written."},
    };
    // clang-format on
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        PluginWriteRequest request {{.file = dir / step.plugin}};
        if (step.gameData)
            request.gameFiles = {dir / "Base.esm"};
        if (step.badData)
            request.gameFiles->push_back(dir / "Bad.esm");
        const auto before = contents(dir.path());
        const PluginPlan plan = planPluginWrite(step.lists, request);
        std::string expected = step.preview;
        if (const auto at = expected.find("BAD"); at != std::string::npos)
            expected.replace(at, 3, utf8Path(dir / "Bad.esm"));
        EXPECT_EQ(previewPluginWrite(plan), expected);
        EXPECT_EQ(contents(dir.path()), before);
        if (!plan.ok())
            continue;
        // The write does all that was shown and no more: the same lists
        // planned again find nothing to change.
        const PluginWritten written = writePlugin(plan);
        EXPECT_EQ(written.written, step.preview != nothing) << written.problem;
        EXPECT_EQ(written.backup, plan.changes.backup);
        const PluginPlan after = planPluginWrite(step.lists, request);
        EXPECT_EQ(describeChanges(after.changes), nothing);
    }
}

} // namespace

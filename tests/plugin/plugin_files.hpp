#pragma once

// What the plugin writer's tests share: task lists, the writer's steps in one
// call, and a written plugin read back record by record through the
// project's own reader.

#include "plugin/record_walk.hpp"
#include "plugin/schedule_plugin.hpp"
#include "plugin/script_record.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hw::test {

inline ScheduleList scheduleList(std::string npc, bool global, std::vector<std::string> entries,
                                 std::string source = {}, bool visibility = true)
{
    TaskListFile list;
    list.npcId = std::move(npc);
    list.global = global;
    list.visibility = visibility;
    list.entries = std::move(entries);
    return {source.empty() ? list.npcId + ".hwtasks" : std::move(source), std::move(list)};
}

/// The writer's steps for `lists` into `request.file`: the plan, and what
/// writing it gave (nothing written when the plan was refused).
struct PluginRun
{
    PluginPlan plan;
    PluginWritten written;
};

inline PluginRun runPlugin(const PluginRequest &request, const std::vector<ScheduleList> &lists,
                           const std::optional<PluginGameData> &gameData = std::nullopt,
                           bool laterReplaces = false)
{
    PluginRun run;
    PreparedScripts scripts = prepareScripts(lists, laterReplaces);
    if (!scripts.ok()) {
        run.plan.problem = scripts.problem;
        return run;
    }
    run.plan = planPlugin(request, std::move(scripts.scripts), gameData);
    run.written = writePlugin(run.plan);
    return run;
}

/// A plugin read back: its header and every record after it, whole.
struct ReadPlugin
{
    PluginHeader header;
    std::vector<std::string> records;

    std::string tags() const
    {
        std::string tags;
        for (const auto &record : records)
            tags += (tags.empty() ? "" : " ") + record.substr(0, 4);
        return tags;
    }
};

inline ReadPlugin readPlugin(const std::string &bytes)
{
    ReadPlugin plugin;
    MemorySource source(bytes);
    RecordWalk walk(source, 4096);
    while (walk.next()) {
        const auto data = walk.data();
        if (!data)
            break;
        if (walk.header().offset == 0)
            plugin.header = readHeader(*data).value_or(PluginHeader {});
        else
            plugin.records.push_back(
                bytes.substr(walk.header().offset, kRecordHeaderSize + data->size()));
    }
    EXPECT_TRUE(walk.outcome().complete());
    return plugin;
}

/// The script record `record` holds (which must be one).
inline ScriptRecordData scriptOf(std::string_view record)
{
    const auto script = readScriptRecord(record.substr(kRecordHeaderSize));
    EXPECT_TRUE(script) << record.substr(0, 4);
    return script.value_or(ScriptRecordData {});
}

} // namespace hw::test

#include "data/plugin_write.hpp"

#include "data/plugin_game_data.hpp"

namespace hw {

PluginPlan planPluginWrite(std::vector<ScheduleList> lists, const PluginWriteRequest &request)
{
    PreparedScripts prepared = prepareScripts(std::move(lists), request.laterReplaces);
    if (!prepared.ok()) {
        PluginPlan refused;
        refused.file = request.plugin.file;
        refused.problem = std::move(prepared.problem);
        return refused;
    }
    std::optional<PluginGameData> gameData;
    if (request.gameIndex || request.gameFiles) {
        PluginGameDataRead read = request.gameIndex
            ? pluginGameDataOf(*request.gameIndex, prepared.scripts, request.plugin.file)
            : readPluginGameData(*request.gameFiles, prepared.scripts, request.plugin.file,
                                 request.plugin.page);
        if (!read.faults.empty()) {
            PluginPlan refused;
            refused.file = request.plugin.file;
            for (const auto &fault : read.faults)
                refused.problem += scanMessage(fault.file, fault.outcome).text() + '\n';
            refused.problem += "The game data cannot be read whole, so the plugin is not written.";
            return refused;
        }
        gameData = std::move(read.data);
    }
    return planPlugin(request.plugin, std::move(prepared.scripts), gameData);
}

std::string previewPluginWrite(const PluginPlan &plan)
{
    std::string text = plan.ok() ? describeChanges(plan.changes) : plan.problem;
    for (const std::string &note : plan.notes)
        text += "\n" + note;
    return text;
}

} // namespace hw

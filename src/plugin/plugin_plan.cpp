#include "plugin/plugin_planner.hpp"

#include "plugin/code_page.hpp"
#include "plugin/script_record.hpp"

#include <algorithm>

namespace hw::planning {

namespace {

std::string lineOf(std::string_view text, std::size_t at)
{
    return std::to_string(1 + std::count(text.begin(), text.begin() + at, '\n'));
}

} // namespace

PluginPlan Planner::run()
{
    m_plan.file = m_request.file;
    std::error_code error;
    if (std::filesystem::is_symlink(m_plan.file, error)) {
        const auto target = std::filesystem::canonical(m_plan.file, error);
        if (!error)
            m_plan.file = target;
    }
    if (!encodeTexts() || !checkGameData())
        return m_plan;
    m_old = readExistingPlugin(m_plan.file, m_request.page);
    if (!m_old.problem.empty())
        return refuse(m_old.problem);
    index();
    if (!checkScriptIds() || !planScripts() || !planCentral() || !planHeader())
        return m_plan;
    assemble();
    return m_plan;
}

PluginPlan Planner::refuse(std::string problem)
{
    m_plan.problem = std::move(problem);
    m_plan.pieces.clear();
    return m_plan;
}

std::optional<std::string> Planner::encode(std::string_view text, std::string_view what)
{
    CodePageText bytes = fromUtf8(text, m_request.page);
    if (bytes.ok())
        return std::move(bytes.bytes);
    refuse(std::string(what) + " cannot be written in " +
           std::string(codePageName(m_request.page)) + ": " + bytes.problem + ".");
    return std::nullopt;
}

bool Planner::encodeTexts()
{
    for (const PluginScript &script : m_scripts) {
        const auto name = encode(script.name, "The script name " + script.name);
        if (!name)
            return false;
        if (name->size() > kMaxScriptNameBytes) {
            refuse("The script name " + script.name + " is longer than the " +
                   std::to_string(kMaxScriptNameBytes) + " characters the game allows.");
            return false;
        }
        const CodePageText text = fromUtf8(script.text, m_request.page);
        if (!text.ok()) {
            refuse("The schedule of the NPC \"" + script.npcId + "\" cannot be written in " +
                   std::string(codePageName(m_request.page)) + ".\nLine " +
                   lineOf(script.text, text.at) + ": " + text.problem);
            return false;
        }
        m_encoded.push_back({&script, *name});
    }
    const auto field = [&](const std::optional<std::string> &text, std::string_view what,
                           std::size_t limit, std::optional<std::string> &into) {
        if (!text)
            return true;
        into = encode(*text, "The " + std::string(what));
        if (into && into->size() > limit)
            refuse("The " + std::string(what) + " is longer than the " + std::to_string(limit) +
                   " bytes the plugin's header holds.");
        return into && m_plan.ok();
    };
    return field(m_request.author, "author", kMaxAuthorBytes, m_author) &&
        field(m_request.description, "description", kMaxDescriptionBytes, m_description);
}

bool Planner::checkGameData()
{
    if (!m_gameData) {
        m_plan.notes.push_back(
            "Without game data the plugin names no new masters: the game must load it after "
            "the files that define its NPCs.");
        return true;
    }
    for (const std::string &id : m_gameData->unknownNpcs) {
        const std::string text = "No file of the game data defines the NPC \"" + id + "\"";
        if (!m_request.force) {
            m_plan.unknownNpcs = true;
            refuse(text + ".");
            return false;
        }
        m_plan.notes.push_back(text +
                               ": the plugin names no master for it, and the game "
                               "must load the file that defines it first.");
    }
    const auto name = m_plan.file.filename().u8string();
    for (const MasterFile &master : m_gameData->masters) {
        if (asciiCaselessEqual(master.name, std::string(name.begin(), name.end()))) {
            refuse("The plugin " + quotedFile(m_plan.file.filename()) +
                   " is one of the masters it would need for its NPCs: a plugin cannot be "
                   "its own master.");
            return false;
        }
    }
    return true;
}

std::string Planner::taken(std::string_view id, const std::filesystem::path &file,
                           bool othersInPlugin)
{
    return "The script id " + std::string(id) + " already belongs to a script in " +
        quotedFile(file) + (othersInPlugin ? " that HourWright did not write." : ".");
}

std::string Planner::othersScript(std::string_view id) const
{
    for (const ExistingScript &script : m_old.scripts)
        if (!script.ours && asciiCaselessEqual(script.id, id))
            return taken(id, m_plan.file, true);
    if (m_gameData)
        for (const auto &script : m_gameData->scripts)
            if (asciiCaselessEqual(script.id, id))
                return taken(id, script.file, false);
    return {};
}

bool Planner::checkScriptIds()
{
    for (const ExistingScript &script : m_old.scripts)
        if (const Encoded *e = script.ours ? nullptr : writes(script.id)) {
            refuse(taken(e->script->name, m_plan.file, true));
            return false;
        }
    if (m_gameData)
        for (const auto &script : m_gameData->scripts)
            if (const Encoded *e = writes(script.id)) {
                refuse(taken(e->script->name, script.file, false));
                return false;
            }
    return true;
}

void Planner::index()
{
    for (std::size_t i = 0; i < m_encoded.size(); ++i)
        m_writes.emplace(asciiLowerCase(m_encoded[i].script->name), i);
    for (const ExistingScript &script : m_old.scripts)
        m_oldScripts.insert(asciiLowerCase(script.id));
    for (const ExistingStart &start : m_old.starts)
        m_oldStarts.insert(asciiLowerCase(start.script));
}

std::string Planner::textOf(const Encoded &e) const
{
    return fromUtf8(e.script->text, m_request.page).bytes;
}

} // namespace hw::planning

namespace hw {

PluginPlan planPlugin(const PluginRequest &request, std::span<const PluginScript> scripts,
                      const std::optional<PluginGameData> &gameData)
{
    return planning::Planner(request, scripts, gameData).run();
}

} // namespace hw

#include "plugin/plugin_planner.hpp"

#include "model/entry_line.hpp"
#include "model/task_entry.hpp"
#include "model/utf8.hpp"
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
    if (encodeTexts() && checkGameData()) {
        m_old = readExistingPlugin(m_plan.file, m_request.page);
        if (!m_old.problem.empty()) {
            refuse(m_old.problem);
        } else {
            index();
            if (checkScriptIds() && planScripts() && planCentral() && planHeader())
                assemble();
        }
    }
    // A thousand lists' entries are not copied.
    return std::move(m_plan);
}

void Planner::refuse(std::string problem)
{
    m_plan.problem = std::move(problem);
    m_plan.pieces.clear();
    m_plan.bytes.clear();
    m_plan.scripts.clear();
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
    m_encoded.reserve(m_plan.scripts.size());
    for (std::size_t i = 0; i < m_plan.scripts.size(); ++i) {
        const PluginScript &script = m_plan.scripts[i];
        const auto name = encode(script.name, "The script name " + script.name);
        if (!name)
            return false;
        if (name->size() > kMaxScriptNameBytes) {
            refuse("The script name " + script.name + " is longer than the " +
                   std::to_string(kMaxScriptNameBytes) + " characters the game allows.");
            return false;
        }
        if (!checkText(script))
            return false;
        m_encoded.push_back({i, *name});
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

bool Planner::checkText(const PluginScript &script)
{
    // A line break in an entry would split its command and let the rest of
    // it stand as a line of the script of its own.
    const auto broken =
        std::find_if(script.entries.begin(), script.entries.end(),
                     [](const std::string &entry) { return hasControlCharacter(entry); });
    if (broken != script.entries.end()) {
        refuse((script.source.empty() ? std::string("A task list")
                                      : "The task list " + script.source) +
               ": the entry " + quotedForMessage(*broken) +
               " holds a line break or another control character.");
        return false;
    }
    // Every character of a schedule script that is not ASCII comes from its
    // NPC id, its name or its entries: when these fit the code page, so does
    // the text, which then need not be made here. Otherwise the text is made
    // to find the line that does not fit, if one does.
    const auto fits = [&](std::string_view text) {
        return isAscii(text) || fromUtf8(text, m_request.page).ok();
    };
    if (fits(script.npcId) && std::all_of(script.entries.begin(), script.entries.end(), fits))
        return true;
    const std::string text = scriptText(script);
    const CodePageText bytes = fromUtf8(text, m_request.page);
    if (bytes.ok())
        return true;
    refuse("The schedule of the NPC \"" + script.npcId + "\" cannot be written in " +
           std::string(codePageName(m_request.page)) + ".\nLine " + lineOf(text, bytes.at) + ": " +
           bytes.problem);
    return false;
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
            refuse(taken(scriptOf(*e).name, m_plan.file, true));
            return false;
        }
    if (m_gameData)
        for (const auto &script : m_gameData->scripts)
            if (const Encoded *e = writes(script.id)) {
                refuse(taken(scriptOf(*e).name, script.file, false));
                return false;
            }
    return true;
}

void Planner::index()
{
    for (std::size_t i = 0; i < m_encoded.size(); ++i)
        m_writes.emplace(asciiLowerCase(scriptOf(m_encoded[i]).name), i);
    for (const ExistingScript &script : m_old.scripts)
        m_oldScripts.insert(asciiLowerCase(script.id));
    for (const ExistingStart &start : m_old.starts)
        m_oldStarts.insert(asciiLowerCase(start.script));
}

} // namespace hw::planning

namespace hw {

PluginPlan planPlugin(const PluginRequest &request, std::vector<PluginScript> scripts,
                      const std::optional<PluginGameData> &gameData)
{
    return planning::Planner(request, std::move(scripts), gameData).run();
}

} // namespace hw

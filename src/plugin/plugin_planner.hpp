#pragma once

// The plugin writer's planning, shared by the files that make it: what the
// task lists' scripts, the old plugin and the game data decide.

#include "model/caseless.hpp"
#include "plugin/byte_source.hpp"
#include "plugin/existing_plugin.hpp"
#include "plugin/schedule_plugin.hpp"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace hw::planning {

/// A schedule script (by its place in the plan's scripts) and its name in the
/// plugin's code page. Its text is made where it is needed, so that a
/// thousand scripts are never held as text at once.
struct Encoded
{
    std::size_t index = 0;
    std::string name;
};

/// A record of the old file that is replaced (or dropped, with nothing).
struct Edit
{
    std::uint64_t offset = 0, size = 0;
    std::optional<PluginPiece> with;
};

class Planner
{
public:
    Planner(const PluginRequest &request, std::vector<PluginScript> scripts,
            const std::optional<PluginGameData> &gameData)
        : m_request(request)
        , m_gameData(gameData)
    {
        m_plan.scripts = std::move(scripts);
        m_plan.page = request.page;
    }

    /// Reads the plugin and decides every byte of the write.
    PluginPlan run();

private:
    void refuse(std::string problem);

    std::optional<std::string> encode(std::string_view text, std::string_view what);

    bool encodeTexts();

    bool checkText(const PluginScript &script);

    bool checkGameData();

    static std::string taken(std::string_view id, const std::filesystem::path &file,
                             bool othersInPlugin);

    // The message when `id` is a script that HourWright did not write; empty
    // when it is not.
    std::string othersScript(std::string_view id) const;

    bool checkScriptIds();

    // The ids of the scripts to write, and of the old file's scripts and
    // start scripts, letter case ignored, so that a thousand scripts are
    // looked up at once.
    void index();

    const PluginScript &scriptOf(const Encoded &e) const { return m_plan.scripts[e.index]; }

    const Encoded *writes(std::string_view id) const
    {
        const auto found = m_writes.find(asciiLowerCase(id));
        return found == m_writes.end() ? nullptr : &m_encoded[found->second];
    }

    bool hasScript(std::string_view id) const
    {
        return m_oldScripts.count(asciiLowerCase(id)) != 0;
    }
    bool hasStart(std::string_view id) const { return m_oldStarts.count(asciiLowerCase(id)) != 0; }

    // `bytes` kept in the plan, as a piece of the file.
    PluginPiece own(std::string_view bytes);

    void add(std::string_view record);

    void addStart(const std::string &encodedName);

    // Reads `into.size()` bytes of the old file from `offset` on, opening it
    // into `source` the first time; refuses when it cannot.
    bool readOld(std::unique_ptr<FileSource> &source, std::uint64_t offset, std::string &into);

    bool planScripts();

    bool planCentral();

    bool planHeader();

    void assemble();

    const PluginRequest &m_request;
    const std::optional<PluginGameData> &m_gameData;
    PluginPlan m_plan;
    ExistingPlugin m_old;
    std::vector<Encoded> m_encoded;
    std::optional<std::string> m_author, m_description;
    std::vector<Edit> m_edits;
    std::vector<PluginPiece> m_added; ///< new records, in order
    std::uint64_t m_addedCount = 0;
    std::set<std::string> m_numbers; ///< of the start scripts
    std::unordered_map<std::string, std::size_t> m_writes; ///< into m_encoded
    std::unordered_set<std::string> m_oldScripts, m_oldStarts;
    std::uint64_t m_dropped = 0;
    std::string m_header;
};

} // namespace hw::planning

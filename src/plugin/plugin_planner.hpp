#pragma once

// The plugin writer's planning, shared by the files that make it: what the
// task lists' scripts, the old plugin and the game data decide.

#include "model/caseless.hpp"
#include "plugin/existing_plugin.hpp"
#include "plugin/schedule_plugin.hpp"

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace hw::planning {

inline constexpr std::string_view kCentralPrefix = "hrw_central_";

/// A schedule script and its name in the plugin's code page. Its text is
/// converted where it is written, so that a thousand scripts are not held twice.
struct Encoded
{
    const PluginScript *script;
    std::string name;
};

/// A record of the old file that is replaced (or dropped, with no bytes).
struct Edit
{
    std::uint64_t offset = 0, size = 0;
    std::optional<std::string> bytes;
};

class Planner
{
public:
    Planner(const PluginRequest &request, std::span<const PluginScript> scripts,
            const std::optional<PluginGameData> &gameData)
        : m_request(request)
        , m_scripts(scripts)
        , m_gameData(gameData)
    { }

    /// Reads the plugin and decides every byte of the write.
    PluginPlan run();

private:
    PluginPlan refuse(std::string problem);

    std::optional<std::string> encode(std::string_view text, std::string_view what);

    bool encodeTexts();

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

    // The script's text in the code page, which encodeTexts() found it fits.
    std::string textOf(const Encoded &e) const;

    void add(const std::string &record)
    {
        m_added += record;
        ++m_addedCount;
    }

    void addStart(const std::string &encodedName);

    bool planScripts();

    bool planCentral();

    bool planHeader();

    void assemble();

    const PluginRequest &m_request;
    std::span<const PluginScript> m_scripts;
    const std::optional<PluginGameData> &m_gameData;
    PluginPlan m_plan;
    ExistingPlugin m_old;
    std::vector<Encoded> m_encoded;
    std::optional<std::string> m_author, m_description;
    std::vector<Edit> m_edits;
    std::string m_added; ///< new records, in order
    std::uint64_t m_addedCount = 0;
    std::set<std::string> m_numbers; ///< of the start scripts
    std::unordered_map<std::string, std::size_t> m_writes; ///< into m_encoded
    std::unordered_set<std::string> m_oldScripts, m_oldStarts;
    std::uint64_t m_dropped = 0;
    std::string m_header;
};

} // namespace hw::planning

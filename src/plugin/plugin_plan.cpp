#include "plugin/schedule_plugin.hpp"

#include "generator/central_script.hpp"
#include "model/caseless.hpp"
#include "plugin/existing_plugin.hpp"
#include "plugin/record_layout.hpp"
#include "plugin/script_record.hpp"
#include "plugin/script_text.hpp"

#include <algorithm>
#include <charconv>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace hw {

namespace {

constexpr std::string_view kCentralPrefix = "hrw_central_";

// A schedule script and its name in the plugin's code page. Its text is
// converted where it is written, so that a thousand scripts are not held twice.
struct Encoded
{
    const PluginScript *script;
    std::string name;
};

// A record of the old file that is replaced (or dropped, with no bytes).
struct Edit
{
    std::uint64_t offset = 0, size = 0;
    std::optional<std::string> bytes;
};

std::string lineOf(std::string_view text, std::size_t at)
{
    return std::to_string(1 + std::count(text.begin(), text.begin() + at, '\n'));
}

// The central script's name when the plugin has none yet: made from the
// plugin's file name, so that it is the same for every write into that
// plugin and differs from another plugin's.
std::string centralNameFor(const std::filesystem::path &file)
{
    const auto name = file.filename().u8string();
    std::uint32_t hash = 0x811C9DC5u;
    for (const auto c : name) {
        hash ^= static_cast<unsigned char>(asciiLower(static_cast<char>(c)));
        hash *= 0x01000193u;
    }
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(hash));
    return std::string(kCentralPrefix) + digits;
}

// `number`, or the next one up that `used` does not hold, which it then holds.
std::string uniqueNumber(std::string number, std::set<std::string> &used)
{
    std::uint64_t value = 0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    while (used.count(number) != 0)
        number = std::to_string(++value);
    used.insert(number);
    return number;
}

class Planner
{
public:
    Planner(const PluginRequest &request, std::span<const PluginScript> scripts,
            const std::optional<PluginGameData> &gameData)
        : m_request(request)
        , m_scripts(scripts)
        , m_gameData(gameData)
    { }

    PluginPlan run()
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

private:
    PluginPlan refuse(std::string problem)
    {
        m_plan.problem = std::move(problem);
        m_plan.pieces.clear();
        return m_plan;
    }

    std::optional<std::string> encode(std::string_view text, std::string_view what)
    {
        CodePageText bytes = fromUtf8(text, m_request.page);
        if (bytes.ok())
            return std::move(bytes.bytes);
        refuse(std::string(what) + " cannot be written in " +
               std::string(codePageName(m_request.page)) + ": " + bytes.problem + ".");
        return std::nullopt;
    }

    bool encodeTexts()
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

    bool checkGameData()
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

    static std::string taken(std::string_view id, const std::filesystem::path &file,
                             bool othersInPlugin)
    {
        return "The script id " + std::string(id) + " already belongs to a script in " +
            quotedFile(file) + (othersInPlugin ? " that HourWright did not write." : ".");
    }

    // The message when `id` is a script that HourWright did not write; empty
    // when it is not.
    std::string othersScript(std::string_view id) const
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

    bool checkScriptIds()
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

    // The ids of the scripts to write, and of the old file's scripts and
    // start scripts, letter case ignored, so that a thousand scripts are
    // looked up at once.
    void index()
    {
        for (std::size_t i = 0; i < m_encoded.size(); ++i)
            m_writes.emplace(asciiLowerCase(m_encoded[i].script->name), i);
        for (const ExistingScript &script : m_old.scripts)
            m_oldScripts.insert(asciiLowerCase(script.id));
        for (const ExistingStart &start : m_old.starts)
            m_oldStarts.insert(asciiLowerCase(start.script));
    }

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
    std::string textOf(const Encoded &e) const
    {
        return fromUtf8(e.script->text, m_request.page).bytes;
    }

    void add(const std::string &record)
    {
        m_added += record;
        ++m_addedCount;
    }

    void addStart(const std::string &encodedName)
    {
        add(startScriptRecord(uniqueNumber(startScriptNumber(encodedName), m_numbers),
                              encodedName));
    }

    bool planScripts()
    {
        std::size_t bytes = 0;
        for (const Encoded &e : m_encoded)
            bytes += e.script->text.size() + 256; // the record's other parts and its start script
        m_added.reserve(bytes);
        for (const ExistingStart &start : m_old.starts)
            m_numbers.insert(start.number);
        for (const ExistingScript &old : m_old.scripts) {
            const Encoded *match = old.ours ? writes(old.id) : nullptr;
            if (!match)
                continue;
            std::string record = scriptRecord(match->name, textOf(*match), old.flags);
            auto &named = record == old.record ? m_plan.changes.unchangedScripts
                                               : m_plan.changes.replacedScripts;
            if (std::find(named.begin(), named.end(), match->script->name) == named.end())
                named.push_back(match->script->name);
            if (record != old.record)
                m_edits.push_back({old.offset, old.size, std::move(record)});
        }
        // A script now started by the central script loses the start script
        // HourWright gave it, or it would run at the start of a game as well.
        for (const ExistingStart &start : m_old.starts) {
            const Encoded *script = writes(start.script);
            if (script && script->script->global && hasScript(start.script)) {
                m_edits.push_back({start.offset, start.size, std::nullopt});
                ++m_plan.changes.startScriptsRemoved;
                ++m_dropped;
            }
        }
        for (const Encoded &e : m_encoded) {
            if (!hasScript(e.script->name)) {
                appendScriptRecord(m_added, e.name, textOf(e));
                ++m_addedCount;
                m_plan.changes.addedScripts.push_back(e.script->name);
            }
            if (!e.script->global && !hasStart(e.script->name)) {
                addStart(e.name);
                ++m_plan.changes.startScriptsAdded;
            }
        }
        return true;
    }

    bool planCentral()
    {
        std::vector<const Encoded *> global;
        for (const Encoded &e : m_encoded)
            if (e.script->global)
                global.push_back(&e);
        if (global.empty())
            return true;
        const auto old = std::find_if(m_old.scripts.begin(), m_old.scripts.end(), [&](auto &s) {
            return s.ours && asciiCaselessStartsWith(s.id, kCentralPrefix) && !writes(s.id);
        });
        PluginChanges &changes = m_plan.changes;
        if (old != m_old.scripts.end()) {
            changes.central = old->id;
            std::vector<std::string> missing;
            for (const Encoded *e : global)
                if (!startsScript(old->text, e->name))
                    missing.push_back(e->name);
            if (!missing.empty()) {
                const auto text = withStartScripts(old->text, missing);
                if (!text) {
                    refuse("The central script " + old->id + " in " + quotedFile(m_plan.file) +
                           " has no line \"Set hrw_last to hrw_hour\" before which to start the "
                           "schedule scripts. Add a line \"StartScript NAME\" for each by hand.");
                    return false;
                }
                const auto name = encode(old->id, "The central script's name");
                if (!name)
                    return false;
                m_edits.push_back({old->offset, old->size, scriptRecord(*name, *text, old->flags)});
                changes.centralLinesAdded = missing.size();
            }
        } else {
            changes.central = centralNameFor(m_plan.file);
            if (std::string problem = othersScript(changes.central); !problem.empty()) {
                refuse(std::move(problem));
                return false;
            }
            std::vector<std::string> names;
            for (const Encoded *e : global)
                names.push_back(e->name);
            // The name is ASCII, the names started are in the code page already.
            add(scriptRecord(changes.central, centralScript(changes.central, names)));
            changes.centralAdded = true;
            changes.centralLinesAdded = names.size();
        }
        if (!hasStart(changes.central)) {
            addStart(*encode(changes.central, "The central script's name"));
            changes.centralStartAdded = !changes.centralAdded;
        }
        return true;
    }

    bool planHeader()
    {
        PluginChanges &changes = m_plan.changes;
        std::vector<MasterFile> added;
        if (m_gameData) {
            for (const MasterFile &master : m_gameData->masters) {
                const bool named = std::any_of(
                    m_old.fields.masters.begin(), m_old.fields.masters.end(), [&](auto &old) {
                        return asciiCaselessEqual(toUtf8(old.name, m_request.page), master.name);
                    });
                if (named)
                    continue;
                const auto name = encode(master.name, "The master file name " + master.name);
                if (!name)
                    return false;
                added.push_back({*name, master.size});
                changes.addedMasters.push_back(master.name);
            }
        }
        changes.masterCount = m_old.fields.masters.size() + added.size();
        const std::uint64_t count = m_old.records - m_dropped + m_addedCount;
        if (count > 0xFFFFFFFFu) {
            refuse("The plugin would hold more records than its header can count.");
            return false;
        }
        HeaderChange change {static_cast<std::uint32_t>(count), m_author, m_description, added};
        if (!m_old.exists) {
            m_header = headerRecord(
                {0, m_author.value_or(""), m_description.value_or(""), change.recordCount, added});
            changes.newFile = true;
            return true;
        }
        const auto data =
            changedHeaderData(std::string_view(m_old.header).substr(kRecordHeaderSize), change);
        // The old header's own fields (the unused one and the flags) stay.
        m_header = m_old.header.substr(0, kRecordHeaderSize);
        std::string size;
        appendLe(size, data->size(), 4);
        m_header.replace(4, 4, size);
        m_header += *data;
        changes.countCorrected = m_old.fields.recordCount != m_old.records;
        changes.authorChanged = m_author && *m_author != m_old.fields.author;
        changes.descriptionChanged = m_description && *m_description != m_old.fields.description;
        return true;
    }

    void assemble()
    {
        m_plan.oldFile = m_old.exists;
        m_plan.oldSize = m_old.size;
        m_plan.oldHeader = m_old.header;
        if (m_old.exists && m_header == m_old.header && m_edits.empty() && m_added.empty())
            return; // nothing to write
        m_plan.backup = m_old.exists && m_old.othersRecords;
        auto &pieces = m_plan.pieces;
        pieces.push_back({std::move(m_header)});
        std::sort(m_edits.begin(), m_edits.end(),
                  [](const Edit &a, const Edit &b) { return a.offset < b.offset; });
        std::uint64_t cursor = m_old.header.size();
        const auto keep = [&](std::uint64_t end) {
            if (end > cursor)
                pieces.push_back({{}, cursor, end - cursor});
        };
        for (Edit &edit : m_edits) {
            keep(edit.offset);
            if (edit.bytes)
                pieces.push_back({std::move(*edit.bytes)});
            cursor = edit.offset + edit.size;
        }
        if (m_old.exists)
            keep(m_old.size);
        if (!m_added.empty())
            pieces.push_back({std::move(m_added)});
    }

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

} // namespace

PluginPlan planPlugin(const PluginRequest &request, std::span<const PluginScript> scripts,
                      const std::optional<PluginGameData> &gameData)
{
    return Planner(request, scripts, gameData).run();
}

} // namespace hw

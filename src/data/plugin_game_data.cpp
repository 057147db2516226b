#include "data/plugin_game_data.hpp"

#include "model/caseless.hpp"
#include "plugin/plugin_header.hpp"
#include "plugin/record_walk.hpp"
#include "plugin/script_record.hpp"
#include "plugin/subrecords.hpp"

#include <algorithm>
#include <set>
#include <unordered_map>

namespace hw {

namespace {

constexpr std::size_t npos = ~std::size_t {0};

std::string utf8Name(const std::filesystem::path &path)
{
    const auto utf8 = path.filename().u8string();
    return {utf8.begin(), utf8.end()};
}

// What the game data says that the plan needs, however it was learnt: from
// the files themselves or from the index the window built of them.
struct GameFacts
{
    struct File
    {
        std::filesystem::path path;
        std::string name; ///< UTF-8
        std::uint64_t size = 0;
        std::vector<MasterFile> masters; ///< names UTF-8, sizes as this file gives them
    };
    struct Script
    {
        std::string id; ///< UTF-8
        std::size_t file = 0;
    };
    std::vector<File> files;
    std::vector<std::size_t> definers; ///< by script to write: the file that defines its NPC
    std::vector<Script> scripts; ///< the script records of the files, in load order
};

// Reads what GameFacts holds from the content files.
class Reader
{
public:
    Reader(std::span<const PluginScript> scripts, CodePage page, GameFacts &facts)
        : m_page(page)
        , m_facts(facts)
    {
        for (std::size_t i = 0; i < scripts.size(); ++i)
            m_npcs.emplace(asciiLowerCase(scripts[i].npcId), i);
        m_facts.definers.assign(scripts.size(), npos);
    }

    void read(const std::filesystem::path &path, PluginGameDataRead &out)
    {
        GameFacts::File file {path, utf8Name(path), 0, {}};
        std::error_code error;
        const auto source = FileSource::open(path, error);
        if (!source) {
            ScanOutcome outcome;
            outcome.fault = ScanFault::CannotOpen;
            outcome.error = error;
            out.faults.push_back({path, outcome});
            return;
        }
        file.size = source->size();
        const std::size_t index = m_facts.files.size();
        RecordWalk walk(*source, RecordWalk::kDefaultBufferSize);
        while (walk.next()) {
            const std::uint32_t tag = walk.header().tag;
            const bool header = walk.header().offset == 0;
            if (!header && tag != fourCC("NPC_") && tag != fourCC("SCPT"))
                continue;
            const auto data = walk.data();
            if (!data)
                break;
            if (header) {
                if (const auto fields = readHeader(*data))
                    for (const MasterFile &master : fields->masters)
                        file.masters.push_back({toUtf8(master.name, m_page), master.size});
            } else if (tag == fourCC("SCPT")) {
                if (const auto script = readScriptRecord(*data))
                    m_facts.scripts.push_back({toUtf8(script->name, m_page), index});
            } else {
                takeNpc(*data, index);
            }
        }
        if (!walk.outcome().complete())
            out.faults.push_back({path, walk.outcome()});
        m_facts.files.push_back(std::move(file));
    }

private:
    void takeNpc(std::string_view data, std::size_t file)
    {
        // The id as every reader of NPC ids takes it.
        const IdFields fields = readIdFields(data);
        if (fields.fault != ScanFault::None)
            return;
        bool ascii = true;
        const auto found =
            m_npcs.find(asciiLowerCase(toUtf8(untilNul(fields.name, ascii), m_page)));
        if (found == m_npcs.end())
            return;
        std::size_t &definer = m_facts.definers[found->second];
        if (fields.deleted)
            definer = npos;
        else if (definer == npos)
            definer = file;
    }

    CodePage m_page;
    GameFacts &m_facts;
    std::unordered_map<std::string, std::size_t> m_npcs;
};

// What the plugin needs of the game data, from the facts alone.
class Resolution
{
public:
    Resolution(const GameFacts &facts, const std::filesystem::path &plugin)
        : m_facts(facts)
        , m_plugin(utf8Name(plugin))
    { }

    PluginGameData resolve(std::span<const PluginScript> scripts)
    {
        PluginGameData data;
        for (std::size_t i = 0; i < scripts.size(); ++i) {
            const std::size_t definer = m_facts.definers[i];
            if (definer == npos)
                data.unknownNpcs.push_back(scripts[i].npcId);
            else if (!isPlugin(definer))
                need(definer);
        }
        std::stable_sort(m_needed.begin(), m_needed.end(),
                         [](const Needed &a, const Needed &b) { return a.key < b.key; });
        for (Needed &needed : m_needed)
            data.masters.push_back(std::move(needed.master));

        std::set<std::string> names;
        for (const PluginScript &script : scripts)
            names.insert(asciiLowerCase(script.name));
        // The plugin's own scripts are the ones it replaces.
        for (const GameFacts::Script &script : m_facts.scripts)
            if (!isPlugin(script.file) &&
                (names.count(asciiLowerCase(script.id)) != 0 ||
                 asciiCaselessStartsWith(script.id, "hrw_central_")))
                data.scripts.push_back({script.id, m_facts.files[script.file].path});
        return data;
    }

private:
    struct Needed
    {
        MasterFile master;
        std::size_t key; // twice the load-order place; one less right before a file
    };

    bool isPlugin(std::size_t file) const
    {
        return asciiCaselessEqual(m_facts.files[file].name, m_plugin);
    }

    // The last file before `before` named `name`.
    std::size_t fileNamed(std::string_view name, std::size_t before) const
    {
        for (std::size_t i = before; i-- > 0;)
            if (asciiCaselessEqual(m_facts.files[i].name, name))
                return i;
        return npos;
    }

    // The file, after the masters it names, each once: one among the files
    // with what it needs in turn, one that is not right before the file.
    void need(std::size_t file)
    {
        if (!m_taken.insert(file).second)
            return;
        const GameFacts::File &facts = m_facts.files[file];
        for (const MasterFile &master : facts.masters) {
            if (const std::size_t found = fileNamed(master.name, file); found != npos) {
                need(found);
            } else if (std::none_of(m_needed.begin(), m_needed.end(), [&](const Needed &n) {
                           return asciiCaselessEqual(n.master.name, master.name);
                       })) {
                m_needed.push_back({master, 2 * file});
            }
        }
        m_needed.push_back({{facts.name, facts.size}, 2 * file + 1});
    }

    const GameFacts &m_facts;
    std::string m_plugin;
    std::set<std::size_t> m_taken;
    std::vector<Needed> m_needed;
};

} // namespace

PluginGameDataRead readPluginGameData(std::span<const std::filesystem::path> files,
                                      std::span<const PluginScript> scripts,
                                      const std::filesystem::path &plugin, CodePage page)
{
    PluginGameDataRead result;
    GameFacts facts;
    Reader reader(scripts, page, facts);
    for (const auto &file : files)
        reader.read(file, result);
    result.data = Resolution(facts, plugin).resolve(scripts);
    return result;
}

PluginGameDataRead pluginGameDataOf(const GameIndex &index, std::span<const PluginScript> scripts,
                                    const std::filesystem::path &plugin)
{
    PluginGameDataRead result;
    GameFacts facts;
    for (const IndexedFile &file : index.files()) {
        if (!file.outcome.complete())
            result.faults.push_back({file.path, file.outcome});
        facts.files.push_back({file.path, utf8Name(file.path), file.size, file.masters});
    }
    for (const PluginScript &script : scripts)
        facts.definers.push_back(index.definingFile(script.npcId).value_or(npos));
    for (const IndexedScript &script : index.scripts())
        facts.scripts.push_back({std::string(script.id), script.file});
    result.data = Resolution(facts, plugin).resolve(scripts);
    return result;
}

} // namespace hw

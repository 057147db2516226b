#include "data/plugin_game_data.hpp"

#include "model/caseless.hpp"
#include "plugin/plugin_header.hpp"
#include "plugin/record_walk.hpp"
#include "plugin/script_record.hpp"
#include "plugin/subrecords.hpp"

#include <algorithm>
#include <functional>
#include <set>
#include <unordered_map>

namespace hw {

namespace {

std::string utf8Name(const std::filesystem::path &path)
{
    const auto utf8 = path.filename().u8string();
    return {utf8.begin(), utf8.end()};
}

// One content file as far as the plugin is concerned.
struct FileFacts
{
    std::string name; ///< UTF-8
    std::uint64_t size = 0;
    std::vector<MasterFile> masters; ///< names UTF-8, sizes as this file gives them
    bool isPlugin = false;
};

class Reader
{
public:
    Reader(std::span<const PluginScript> scripts, const std::filesystem::path &plugin,
           CodePage page)
        : m_plugin(utf8Name(plugin))
        , m_page(page)
    {
        for (std::size_t i = 0; i < scripts.size(); ++i) {
            m_npcs.emplace(asciiLowerCase(scripts[i].npcId), i);
            m_scriptNames.emplace(asciiLowerCase(scripts[i].name), i);
        }
        m_definer.assign(scripts.size(), npos);
    }

    void read(const std::filesystem::path &path, PluginGameDataRead &out)
    {
        FileFacts facts;
        facts.name = utf8Name(path);
        facts.isPlugin = asciiCaselessEqual(facts.name, m_plugin);
        std::error_code error;
        const auto source = FileSource::open(path, error);
        if (!source) {
            ScanOutcome outcome;
            outcome.fault = ScanFault::CannotOpen;
            outcome.error = error;
            out.faults.push_back({path, outcome});
            return;
        }
        facts.size = source->size();
        const std::size_t index = m_files.size();
        RecordWalk walk(*source, RecordWalk::kDefaultBufferSize);
        while (walk.next()) {
            const std::uint32_t tag = walk.header().tag;
            const bool header = walk.header().offset == 0;
            if (!header && tag != fourCC("NPC_") && (tag != fourCC("SCPT") || facts.isPlugin))
                continue;
            const auto data = walk.data();
            if (!data)
                break;
            if (header) {
                if (const auto fields = readHeader(*data))
                    for (const MasterFile &master : fields->masters)
                        facts.masters.push_back({toUtf8(master.name, m_page), master.size});
            } else if (tag == fourCC("SCPT")) {
                takeScript(*data, path, out.data);
            } else {
                takeNpc(*data, index);
            }
        }
        if (!walk.outcome().complete())
            out.faults.push_back({path, walk.outcome()});
        m_files.push_back(std::move(facts));
    }

    void finish(std::span<const PluginScript> scripts, PluginGameData &data)
    {
        for (std::size_t i = 0; i < scripts.size(); ++i) {
            if (m_definer[i] == npos)
                data.unknownNpcs.push_back(scripts[i].npcId);
            else if (!m_files[m_definer[i]].isPlugin)
                need(m_definer[i]);
        }
        std::stable_sort(m_needed.begin(), m_needed.end(),
                         [](const Needed &a, const Needed &b) { return a.key < b.key; });
        for (Needed &needed : m_needed)
            data.masters.push_back(std::move(needed.master));
    }

private:
    static constexpr std::size_t npos = ~std::size_t {0};

    struct Needed
    {
        MasterFile master;
        std::size_t key; // twice the load-order place; one less right before a file
    };

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
        std::size_t &definer = m_definer[found->second];
        if (fields.deleted)
            definer = npos;
        else if (definer == npos)
            definer = file;
    }

    void takeScript(std::string_view data, const std::filesystem::path &path, PluginGameData &out)
    {
        const auto script = readScriptRecord(data);
        if (!script)
            return;
        std::string id = toUtf8(script->name, m_page);
        if (m_scriptNames.count(asciiLowerCase(id)) != 0 ||
            asciiCaselessStartsWith(id, "hrw_central_"))
            out.scripts.push_back({std::move(id), path});
    }

    // The last file before `before` named `name`.
    std::size_t fileNamed(std::string_view name, std::size_t before) const
    {
        for (std::size_t i = before; i-- > 0;)
            if (asciiCaselessEqual(m_files[i].name, name))
                return i;
        return npos;
    }

    void need(std::size_t file)
    {
        if (!m_taken.insert(file).second)
            return;
        for (const MasterFile &master : m_files[file].masters) {
            if (const std::size_t found = fileNamed(master.name, file); found != npos) {
                need(found);
            } else if (std::none_of(m_needed.begin(), m_needed.end(), [&](const Needed &n) {
                           return asciiCaselessEqual(n.master.name, master.name);
                       })) {
                m_needed.push_back({master, 2 * file});
            }
        }
        m_needed.push_back({{m_files[file].name, m_files[file].size}, 2 * file + 1});
    }

    std::string m_plugin;
    CodePage m_page;
    std::unordered_map<std::string, std::size_t> m_npcs, m_scriptNames;
    std::vector<std::size_t> m_definer; ///< by script: the file that defines its NPC
    std::vector<FileFacts> m_files;
    std::set<std::size_t> m_taken;
    std::vector<Needed> m_needed;
};

} // namespace

PluginGameDataRead readPluginGameData(std::span<const std::filesystem::path> files,
                                      std::span<const PluginScript> scripts,
                                      const std::filesystem::path &plugin, CodePage page)
{
    PluginGameDataRead result;
    Reader reader(scripts, plugin, page);
    for (const auto &file : files)
        reader.read(file, result);
    reader.finish(scripts, result.data);
    return result;
}

} // namespace hw

#include "plugin/plugin_planner.hpp"

#include "generator/central_script.hpp"
#include "plugin/record_layout.hpp"
#include "plugin/script_record.hpp"
#include "plugin/script_text.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace hw::planning {

namespace {

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

} // namespace

PluginPiece Planner::own(std::string_view bytes)
{
    PluginPiece piece {PluginPiece::From::Plan, 0, 0, m_plan.bytes.size(), bytes.size()};
    m_plan.bytes.append(bytes);
    return piece;
}

void Planner::add(std::string_view record)
{
    // Records that follow each other in the plan's bytes make one piece.
    PluginPiece *last = m_added.empty() ? nullptr : &m_added.back();
    if (last && last->from == PluginPiece::From::Plan &&
        last->offset + last->size == m_plan.bytes.size()) {
        m_plan.bytes.append(record);
        last->size += record.size();
    } else {
        m_added.push_back(own(record));
    }
    ++m_addedCount;
}

bool Planner::readOld(std::unique_ptr<FileSource> &source, std::uint64_t offset, std::string &into)
{
    std::error_code error;
    if (!source)
        source = FileSource::open(m_plan.file, error);
    const ReadResult got = source ? source->read(offset, into) : ReadResult {};
    if (!source || got.error || got.count < into.size()) {
        refuse("The file " + quotedFile(m_plan.file) +
               " cannot be read again; nothing was written.");
        return false;
    }
    return true;
}

void Planner::addStart(const std::string &encodedName)
{
    add(startScriptRecord(uniqueNumber(startScriptNumber(encodedName), m_numbers), encodedName));
}

bool Planner::planScripts()
{
    for (const ExistingStart &start : m_old.starts)
        m_numbers.insert(start.number);
    std::unique_ptr<FileSource> source;
    std::string oldRecord;
    for (const ExistingScript &old : m_old.scripts) {
        const Encoded *match = old.ours ? writes(old.id) : nullptr;
        if (!match)
            continue;
        const std::string &name = scriptOf(*match).name;
        std::string record;
        appendScheduleRecord(record, scriptOf(*match), m_request.page, old.flags);
        bool same = record.size() == old.size;
        if (same && !readOld(source, old.offset, oldRecord.assign(old.size, '\0')))
            return false;
        same = same && record == oldRecord;
        auto &named = same ? m_plan.changes.unchangedScripts : m_plan.changes.replacedScripts;
        if (std::find(named.begin(), named.end(), name) == named.end())
            named.push_back(name);
        if (!same)
            m_edits.push_back({old.offset, old.size,
                               PluginPiece {PluginPiece::From::Script, old.flags, match->index}});
    }
    // A script now started by the central script loses the start script
    // HourWright gave it, or it would run at the start of a game as well.
    for (const ExistingStart &start : m_old.starts) {
        const Encoded *script = writes(start.script);
        if (script && scriptOf(*script).global && hasScript(start.script)) {
            m_edits.push_back({start.offset, start.size, std::nullopt});
            ++m_plan.changes.startScriptsRemoved;
            ++m_dropped;
        }
    }
    for (const Encoded &e : m_encoded) {
        const PluginScript &script = scriptOf(e);
        if (!hasScript(script.name)) {
            m_added.push_back({PluginPiece::From::Script, 0, e.index});
            ++m_addedCount;
            m_plan.changes.addedScripts.push_back(script.name);
        }
        if (!script.global && !hasStart(script.name)) {
            addStart(e.name);
            ++m_plan.changes.startScriptsAdded;
        }
    }
    return true;
}

bool Planner::planCentral()
{
    std::vector<const Encoded *> global;
    for (const Encoded &e : m_encoded)
        if (scriptOf(e).global)
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
            m_edits.push_back(
                {old->offset, old->size, own(scriptRecord(*name, *text, old->flags))});
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

bool Planner::planHeader()
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

void Planner::assemble()
{
    m_plan.oldFile = m_old.exists;
    m_plan.oldSize = m_old.size;
    m_plan.oldHeader = m_old.header;
    if (m_old.exists && m_header == m_old.header && m_edits.empty() && m_added.empty()) {
        m_plan.bytes.clear();
        m_plan.scripts.clear();
        return; // nothing to write
    }
    m_plan.backup = m_old.exists && m_old.othersRecords;
    if (m_plan.backup) {
        std::filesystem::path backup = m_plan.file;
        backup += ".bak";
        std::error_code error;
        if (std::filesystem::symlink_status(backup, error).type() ==
            std::filesystem::file_type::not_found)
            m_plan.changes.backup = std::move(backup);
    }
    auto &pieces = m_plan.pieces;
    pieces.push_back(own(m_header));
    std::sort(m_edits.begin(), m_edits.end(),
              [](const Edit &a, const Edit &b) { return a.offset < b.offset; });
    std::uint64_t cursor = m_old.header.size();
    const auto keep = [&](std::uint64_t end) {
        if (end > cursor)
            pieces.push_back({PluginPiece::From::OldFile, 0, 0, cursor, end - cursor});
    };
    for (const Edit &edit : m_edits) {
        keep(edit.offset);
        if (edit.with)
            pieces.push_back(*edit.with);
        cursor = edit.offset + edit.size;
    }
    if (m_old.exists)
        keep(m_old.size);
    pieces.insert(pieces.end(), m_added.begin(), m_added.end());
}

} // namespace hw::planning

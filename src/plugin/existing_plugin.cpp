#include "plugin/existing_plugin.hpp"

#include "model/caseless.hpp"
#include "plugin/byte_source.hpp"
#include "plugin/record_walk.hpp"
#include "plugin/scan_outcome.hpp"
#include "plugin/script_record.hpp"
#include "plugin/script_text.hpp"

#include <algorithm>

namespace hw {

namespace {

bool declaresHourVariable(std::string_view text)
{
    const ScriptLocals locals = scriptLocals(text);
    return std::any_of(locals.shorts.begin(), locals.shorts.end(), [](const std::string &name) {
        return asciiCaselessEqual(name, "hrw_hour");
    });
}

} // namespace

std::string quotedFile(const std::filesystem::path &file)
{
    const auto utf8 = file.u8string();
    return '"' + std::string(utf8.begin(), utf8.end()) + '"';
}

ExistingPlugin readExistingPlugin(const std::filesystem::path &file, CodePage page)
{
    ExistingPlugin plugin;
    std::error_code error;
    const auto status = std::filesystem::symlink_status(file, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return plugin;
    const auto source = FileSource::open(file, error);
    if (!source) {
        ScanOutcome outcome;
        outcome.fault = ScanFault::CannotOpen;
        outcome.error = error;
        plugin.problem = scanMessage(file, outcome).text();
        return plugin;
    }
    plugin.exists = true;
    plugin.size = source->size();
    const auto damaged = [&](std::string what, std::uint64_t offset) {
        plugin.problem = "The file " + quotedFile(file) + " is damaged: " + what + " at offset " +
            hexOffset(offset) + " cannot be read.";
        return plugin;
    };
    // The records the writer looks into are read whole, headers included, so
    // that they can be kept or compared byte for byte; the walk passes over
    // the others.
    std::string bytes;
    const auto readWhole = [&](const RecordHeader &record) {
        bytes.resize(kRecordHeaderSize + record.dataSize);
        const ReadResult got = source->read(record.offset, bytes);
        if (got.error || got.count < bytes.size()) {
            ScanOutcome outcome;
            outcome.fault = got.error ? ScanFault::CannotRead : ScanFault::DataCutShort;
            outcome.error = got.error;
            outcome.offset = record.offset;
            outcome.endOffset = record.offset + got.count;
            outcome.tag = bytes.substr(0, std::min<std::size_t>(4, got.count));
            outcome.dataSize = static_cast<std::int64_t>(record.dataSize);
            plugin.problem = scanMessage(file, outcome).text();
            return false;
        }
        return true;
    };
    RecordWalk walk(*source, RecordWalk::kDefaultBufferSize);
    while (walk.next()) {
        const RecordHeader &record = walk.header();
        const bool header = record.offset == 0;
        if (!header && record.tag != fourCC("SCPT") && record.tag != fourCC("SSCR")) {
            ++plugin.records;
            plugin.othersRecords = true;
            continue;
        }
        if (!readWhole(record))
            return plugin;
        const std::string_view data = std::string_view(bytes).substr(kRecordHeaderSize);
        if (header) {
            const auto fields = readHeader(data);
            if (!fields)
                return damaged("its header record", 0);
            plugin.fields = *fields;
            plugin.header = bytes;
            continue;
        }
        ++plugin.records;
        if (record.tag == fourCC("SSCR")) {
            const auto start = readStartScriptRecord(data);
            if (!start)
                return damaged("a start-script record", record.offset);
            plugin.starts.push_back({record.offset, bytes.size(), toUtf8(start->script, page),
                                     std::string(start->number)});
            continue;
        }
        const auto script = readScriptRecord(data);
        if (!script)
            return damaged("a script record", record.offset);
        ExistingScript existing;
        existing.offset = record.offset;
        existing.size = bytes.size();
        existing.flags = record.flags;
        existing.id = toUtf8(script->name, page);
        existing.ours = !script->deleted && declaresHourVariable(script->text);
        if (existing.ours && asciiCaselessStartsWith(existing.id, kCentralPrefix))
            existing.text = script->text;
        plugin.othersRecords = plugin.othersRecords || !existing.ours;
        plugin.scripts.push_back(std::move(existing));
    }
    if (!walk.outcome().complete()) {
        plugin.problem = scanMessage(file, walk.outcome()).text();
        return plugin;
    }
    // A start script of a script that is not HourWright's is the author's.
    for (const ExistingStart &start : plugin.starts) {
        const bool ofOurs =
            std::any_of(plugin.scripts.begin(), plugin.scripts.end(), [&](const auto &script) {
                return script.ours && asciiCaselessEqual(script.id, start.script);
            });
        plugin.othersRecords = plugin.othersRecords || !ofOurs;
    }
    return plugin;
}

} // namespace hw

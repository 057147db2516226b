#include "plugin/es_read.hpp"

#include "plugin/record_tags.hpp"
#include "plugin/record_walk.hpp"
#include "plugin/subrecords.hpp"

#include <cstdint>
#include <string_view>

namespace hw {

namespace {

constexpr std::uint32_t kNpcTag = fourCC("NPC_");

// Takes the id out of the data of an NPC record, as the game index reads it,
// and appends it to `names`.
ScanFault takeId(std::string_view data, CodePage page, std::vector<std::string> &names)
{
    const IdFields fields = readIdFields(data);
    if (fields.fault != ScanFault::None)
        return fields.fault;
    bool ascii = true;
    const std::string_view id = untilNul(fields.name, ascii);
    names.back() = ascii ? std::string(id) : toUtf8(id, page);
    names.emplace_back();
    return ScanFault::None;
}

ScanOutcome walk(ByteSource &source, std::size_t bufferSize, CodePage page,
                 std::vector<std::string> &names)
{
    RecordWalk records(source, bufferSize);
    while (records.next()) {
        // The records the index reads are checked as it checks them, so that
        // a file this reader takes whole is whole for the index too.
        const auto &header = records.header();
        if (!readForIds(header))
            continue;
        const auto data = records.data();
        if (!data)
            break;
        const bool npc = header.tag == kNpcTag;
        const auto fault = npc ? takeId(*data, page, names) : checkRecord(header, *data);
        if (fault != ScanFault::None) {
            records.fail(fault);
            break;
        }
        records.outcome().idCount += npc ? 1 : 0;
    }
    return records.outcome();
}

} // namespace

ESRead::ESRead(std::size_t bufferSize)
    : m_bufferSize(bufferSize)
{ }

ScanOutcome ESRead::ReadNPCNames(const std::filesystem::path &path, CodePage page)
{
    std::error_code error;
    const auto file = FileSource::open(path, error);
    if (!file) {
        NPCNames.assign(1, std::string());
        ScanOutcome outcome;
        outcome.fault = ScanFault::CannotOpen;
        outcome.error = error;
        return outcome;
    }
    return ReadNPCNames(*file, page);
}

ScanOutcome ESRead::ReadNPCNames(ByteSource &source, CodePage page)
{
    // The list always ends in one empty slot that waits for the next id; the
    // slot goes at the end unless it is the only one.
    NPCNames.assign(1, std::string());
    const auto outcome = walk(source, m_bufferSize, page, NPCNames);
    if (NPCNames.size() > 1)
        NPCNames.pop_back();
    return outcome;
}

} // namespace hw

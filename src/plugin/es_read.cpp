#include "plugin/es_read.hpp"

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
        if (records.header().tag != kNpcTag)
            continue;
        const auto data = records.data();
        if (!data)
            break;
        if (const auto fault = takeId(*data, page, names); fault != ScanFault::None) {
            records.fail(fault);
            break;
        }
        ++records.outcome().idCount;
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

#include "plugin/es_read.hpp"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>

namespace hw {

namespace {

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kNameHeaderSize = 8;

// The walk reads a whole buffer at a time while records are small. Where a
// record runs on past the buffer by at least kPassOverGap, the rest of it is
// passed over, and since large records (CELL, LAND) tend to follow each other
// only kProbeSize bytes are read at the next header. A read call costs about
// as much as copying eight to ten pages (see bench/), so passing over less
// than that would not pay.
constexpr std::size_t kPassOverGap = 32 * 1024;
constexpr std::size_t kProbeSize = 16 * 1024;

constexpr std::uint32_t fourCC(const char (&tag)[5])
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(tag[0])) |
        static_cast<std::uint32_t>(static_cast<unsigned char>(tag[1])) << 8 |
        static_cast<std::uint32_t>(static_cast<unsigned char>(tag[2])) << 16 |
        static_cast<std::uint32_t>(static_cast<unsigned char>(tag[3])) << 24;
}

constexpr std::uint32_t kNpcTag = fourCC("NPC_");
constexpr std::string_view kHeaderTag = "TES3";

std::uint32_t loadLe32(const char *bytes)
{
    const auto *b = reinterpret_cast<const unsigned char *>(bytes);
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
        static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

// The file as seen through one buffer: `view` hands out bytes at any offset,
// reading a block there when they are not in the buffer yet.
class Blocks
{
public:
    Blocks(ByteSource &source, std::size_t capacity)
        : m_source(source)
        , m_capacity(std::max(capacity, kHeaderSize))
        , m_buffer(std::make_unique_for_overwrite<char[]>(m_capacity))
    { }

    // Up to `length` bytes from `offset` on, fewer only where the source
    // ends early; `error` is set when a read fails. The caller asks for no
    // more than the bytes left in the source. The view stays valid until the
    // next call.
    std::string_view view(std::uint64_t offset, std::size_t length, std::error_code &error)
    {
        const std::uint64_t end = m_start + m_length;
        if (offset >= m_start && offset <= end && length <= end - offset)
            return {m_buffer.get() + (offset - m_start), length};
        if (length > m_capacity) {
            // Only the data of an unusually large NPC record gets here.
            m_large.resize(length);
            const auto got = m_source.read(offset, m_large);
            error = got.error;
            return {m_large.data(), got.count};
        }
        const bool passedOver = offset >= end + kPassOverGap;
        std::uint64_t wanted = passedOver ? std::min(kProbeSize, m_capacity) : m_capacity;
        const std::uint64_t left = m_source.size() > offset ? m_source.size() - offset : 0;
        wanted = std::min(std::max<std::uint64_t>(wanted, length),
                          std::max<std::uint64_t>(left, length));
        const auto got = m_source.read(offset, {m_buffer.get(), static_cast<std::size_t>(wanted)});
        m_start = offset;
        m_length = got.count;
        error = got.error;
        return {m_buffer.get(), std::min(length, got.count)};
    }

private:
    ByteSource &m_source;
    std::size_t m_capacity;
    std::unique_ptr<char[]> m_buffer;
    std::vector<char> m_large;
    std::uint64_t m_start = 0;
    std::size_t m_length = 0;
};

// Takes the id out of the data of an NPC record and appends it to `names`.
ScanFault takeId(std::string_view data, CodePage page, std::vector<std::string> &names)
{
    const auto name = data.find("NAME");
    if (name == std::string_view::npos)
        return ScanFault::NoNameSubrecord;
    if (data.size() - name < kNameHeaderSize)
        return ScanFault::NameAtDataEnd;
    const std::uint32_t length = loadLe32(data.data() + name + 4);
    if (length == 0)
        return ScanFault::ZeroNameLength;
    // The length counts the closing NUL; an id longer than the record is cut
    // where the record ends.
    names.back() = toUtf8(data.substr(name + kNameHeaderSize, length - 1), page);
    names.emplace_back();
    return ScanFault::None;
}

ScanOutcome walk(ByteSource &source, std::size_t bufferSize, CodePage page,
                 std::vector<std::string> &names)
{
    ScanOutcome outcome;
    Blocks blocks(source, bufferSize);
    const std::uint64_t fileSize = source.size();
    std::uint64_t offset = 0;
    const auto stop = [&](ScanFault fault) {
        outcome.fault = fault;
        outcome.offset = offset;
        return outcome;
    };
    // Every plugin and master file begins with its "TES3" header record; a file
    // that does not (a text file named .esp, an empty file) is not read on.
    if (fileSize == 0)
        return stop(ScanFault::NotAPlugin);
    std::error_code error;
    while (offset < fileSize) {
        const auto header = blocks.view(
            offset,
            static_cast<std::size_t>(std::min<std::uint64_t>(kHeaderSize, fileSize - offset)),
            error);
        outcome.tag.assign(header.substr(0, 4));
        if (error) {
            outcome.error = error;
            return stop(ScanFault::CannotRead);
        }
        if (offset == 0 && header.substr(0, 4) != kHeaderTag)
            return stop(ScanFault::NotAPlugin);
        if (header.size() < kHeaderSize) {
            outcome.endOffset = offset + header.size();
            return stop(ScanFault::HeaderCutShort);
        }
        const auto dataSize = static_cast<std::int32_t>(loadLe32(header.data() + 4));
        outcome.dataSize = dataSize;
        if (dataSize < 0)
            return stop(ScanFault::NegativeDataSize);
        const std::uint64_t dataStart = offset + kHeaderSize;
        const std::uint64_t next = dataStart + static_cast<std::uint64_t>(dataSize);
        if (next > fileSize) {
            outcome.endOffset = fileSize;
            return stop(ScanFault::DataCutShort);
        }
        if (loadLe32(header.data()) == kNpcTag) {
            const auto size = static_cast<std::size_t>(dataSize);
            const auto data = blocks.view(dataStart, size, error);
            if (error) {
                outcome.error = error;
                return stop(ScanFault::CannotRead);
            }
            if (data.size() < size) {
                // The file got shorter while it was read.
                outcome.endOffset = dataStart + data.size();
                return stop(ScanFault::DataCutShort);
            }
            if (const auto fault = takeId(data, page, names); fault != ScanFault::None)
                return stop(fault);
            ++outcome.idCount;
        }
        offset = next;
    }
    outcome.tag.clear();
    outcome.dataSize = 0;
    return outcome;
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

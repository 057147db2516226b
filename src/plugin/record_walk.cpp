#include "plugin/record_walk.hpp"

#include <algorithm>
#include <vector>

namespace hw {

namespace {

constexpr std::uint64_t kHeaderSize = 16;

// The walk reads a whole buffer at a time while records are small. Where a
// record runs on past the buffer by at least kPassOverGap, the rest of it is
// passed over, and since large records (CELL, LAND) tend to follow each other
// only kProbeSize bytes are read at the next header. A read call costs about
// as much as copying eight to ten pages (see bench/), so passing over less
// than that would not pay.
constexpr std::size_t kPassOverGap = 32 * 1024;
constexpr std::size_t kProbeSize = 16 * 1024;

constexpr std::string_view kHeaderTag = "TES3";

// Eight cache lines 512 bytes apart: the next few KiB, where the next headers
// of small records lie.
constexpr std::size_t kPrefetchLines = 8;
constexpr std::size_t kPrefetchStride = 512;

} // namespace

// The file as seen in place where the source can show it (a mapped file,
// bytes in memory), and otherwise through one buffer: `view` hands out bytes
// at any offset, asking the source only when they are not at hand yet.
class BlockBuffer
{
public:
    BlockBuffer(ByteSource &source, std::size_t capacity)
        : m_source(source)
        , m_capacity(std::max<std::size_t>(capacity, kHeaderSize))
    { }

    // Up to `length` bytes from `offset` on, fewer only where the source
    // ends early; `error` is set when a read fails. The caller asks for no
    // more than the bytes left in the source. The view stays valid until the
    // next call.
    std::string_view view(std::uint64_t offset, std::size_t length, std::error_code &error)
    {
        const std::uint64_t end = m_start + m_length;
        if (offset >= m_start && offset <= end && length <= end - offset)
            return {m_bytes + (offset - m_start), length};
        return fetch(offset, length, error);
    }

private:
    std::string_view fetch(std::uint64_t offset, std::size_t length, std::error_code &error)
    {
        if (!m_copying) {
            if (const auto bytes = m_source.view(offset, length)) {
                m_bytes = bytes->data();
                m_start = offset;
                m_length = bytes->size();
                return bytes->substr(0, length);
            }
            m_copying = true;
            m_buffer = std::make_unique_for_overwrite<char[]>(m_capacity);
            m_bytes = m_buffer.get();
            m_length = 0;
        }
        if (length > m_capacity) {
            // Only the data of an unusually large record gets here.
            m_large.resize(length);
            const auto got = m_source.read(offset, m_large);
            error = got.error;
            return {m_large.data(), got.count};
        }
        const std::uint64_t end = m_start + m_length;
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

    ByteSource &m_source;
    std::size_t m_capacity;
    bool m_copying = false;
    // The bytes at hand: a view of the source, or the buffer's.
    const char *m_bytes = nullptr;
    std::uint64_t m_start = 0;
    std::size_t m_length = 0;
    std::unique_ptr<char[]> m_buffer;
    std::vector<char> m_large;
};

RecordWalk::RecordWalk(ByteSource &source, std::size_t bufferSize)
    : m_source(source)
    , m_blocks(std::make_unique<BlockBuffer>(source, bufferSize))
    , m_fileSize(source.size())
{ }

RecordWalk::~RecordWalk() = default;

bool RecordWalk::stop(ScanFault fault)
{
    // Whatever else went wrong, bytes that vanished under the walk come first:
    // the zeros in their place may have made any other fault.
    if (m_source.changedSinceOpened())
        fault = ScanFault::ChangedWhileRead;
    m_outcome.fault = fault;
    m_outcome.offset = m_header.offset;
    m_outcome.tag.assign(m_tag, m_tagLength);
    m_stopped = true;
    return false;
}

void RecordWalk::fail(ScanFault fault)
{
    stop(fault);
}

bool RecordWalk::next()
{
    if (m_stopped)
        return false;
    // What the last record gave counts only if its bytes were really there.
    if (m_started && m_source.changed())
        return stop(ScanFault::ChangedWhileRead);
    const std::uint64_t fileSize = m_fileSize;
    // Every plugin and master file begins with its "TES3" header record; a file
    // that does not (a text file named .esp, an empty file) is not read on.
    if (fileSize == 0)
        return stop(ScanFault::NotAPlugin);
    const std::uint64_t offset = m_started ? m_next : 0;
    if (offset >= fileSize) {
        // Told at the last record, whose bytes may have been the zeros.
        if (m_source.changedSinceOpened())
            return stop(ScanFault::ChangedWhileRead);
        m_outcome.dataSize = 0;
        m_outcome.offset = 0;
        m_stopped = true;
        return false;
    }
    m_started = true;
    m_header = RecordHeader {0, 0, offset, 0};
    const auto header = m_blocks->view(
        offset, static_cast<std::size_t>(std::min(kHeaderSize, fileSize - offset)), m_error);
    m_tagLength = std::min<std::size_t>(header.size(), 4);
    std::copy_n(header.data(), m_tagLength, m_tag);
    if (m_source.changed())
        return stop(ScanFault::ChangedWhileRead);
    if (m_error) {
        m_outcome.error = m_error;
        return stop(ScanFault::CannotRead);
    }
    if (offset == 0 && header.substr(0, 4) != kHeaderTag)
        return stop(ScanFault::NotAPlugin);
    if (header.size() < kHeaderSize) {
        m_outcome.endOffset = offset + header.size();
        return stop(ScanFault::HeaderCutShort);
    }
    const auto dataSize = static_cast<std::int32_t>(loadLe32(header.data() + 4));
    m_outcome.dataSize = dataSize;
    if (dataSize < 0)
        return stop(ScanFault::NegativeDataSize);
    if (static_cast<std::uint64_t>(dataSize) > kMaxDataSize)
        return stop(ScanFault::RecordTooLarge);
    m_next = offset + kHeaderSize + static_cast<std::uint64_t>(dataSize);
    if (m_next > fileSize) {
        m_outcome.endOffset = fileSize;
        return stop(ScanFault::DataCutShort);
    }
    // The walk goes from header to header through memory it has not touched
    // yet, each one known only from the one before: asking for the lines
    // ahead of the next header while this record is handled spares most of
    // the wait for them (see bench/).
    for (std::size_t line = 0; line < kPrefetchLines; ++line)
        prefetchAhead(header.data(),
                      kHeaderSize + static_cast<std::size_t>(dataSize) + line * kPrefetchStride);
    m_header.tag = loadLe32(header.data());
    m_header.flags = loadLe32(header.data() + 12);
    m_header.dataSize = static_cast<std::size_t>(dataSize);
    return true;
}

std::optional<std::string_view> RecordWalk::data()
{
    const std::uint64_t dataStart = m_header.offset + kHeaderSize;
    const auto data = m_blocks->view(dataStart, m_header.dataSize, m_error);
    if (m_error) {
        m_outcome.error = m_error;
        stop(ScanFault::CannotRead);
        return std::nullopt;
    }
    if (data.size() < m_header.dataSize) {
        // The file got shorter while it was read.
        m_outcome.endOffset = dataStart + data.size();
        stop(ScanFault::DataCutShort);
        return std::nullopt;
    }
    return data;
}

} // namespace hw

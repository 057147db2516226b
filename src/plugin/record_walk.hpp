#pragma once

#include "plugin/byte_source.hpp"
#include "plugin/record_layout.hpp"
#include "plugin/scan_outcome.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>

namespace hw {

/// Asks the processor for the memory `ahead` bytes past `at`, which may lie
/// past anything the reader holds: a prefetch never faults. (The address is
/// worked out as a number, as pointers may not point past their object.)
inline void prefetchAhead(const char *at, std::size_t ahead)
{
    __builtin_prefetch(
        reinterpret_cast<const void *>(reinterpret_cast<std::uintptr_t>(at) + ahead));
}

/// One record's header as the walk found it.
struct RecordHeader
{
    std::uint32_t tag = 0;
    std::uint32_t flags = 0; ///< the header's last field: persistent 0x400, blocked 0x2000, ...
    std::uint64_t offset = 0; ///< where the record starts
    std::size_t dataSize = 0;
};

class BlockBuffer;

/// Walks the records of a master or plugin file from offset 0 to its end.
///
/// Each record is a 4-byte tag, a signed 32-bit little-endian data size S, a
/// field that is not used, the flags, then S bytes of data; the first record
/// must be "TES3" (a file without it is refused as not a plugin). Headers and
/// the data asked for are seen in place where the source shows its bytes
/// (view()), and are otherwise read through one block buffer, together with
/// the small records between them; large records that nobody asks for are
/// passed over without reading them. Memory use stays at that buffer, plus
/// the data of a record too large for it, which is never more than the bytes
/// left in the file nor more than kMaxDataSize, whatever a data size says.
class RecordWalk
{
public:
    /// The block size that suits real files; see bench/.
    static constexpr std::size_t kDefaultBufferSize = 256 * 1024;

    /// The largest data size a record may give. The game's records stay far
    /// below it: a LAND record is about 30 KB, the largest cells and scripts
    /// of real plugins a few hundred KB, and a path grid, whose format
    /// bounds it, 65,535 points (1 MiB) with their links. A larger size is
    /// damage, and refusing it spares the reading (or, where bytes are
    /// copied, the memory) of a record that cannot be right.
    static constexpr std::size_t kMaxDataSize = 64 << 20;

    /// `bufferSize` is the largest block read at once (at least 16 bytes).
    RecordWalk(ByteSource &source, std::size_t bufferSize);
    ~RecordWalk();
    RecordWalk(const RecordWalk &) = delete;
    RecordWalk &operator=(const RecordWalk &) = delete;

    /// Moves to the next record and checks its header. False at the end of
    /// the file and when the walk has stopped at a fault (see outcome()).
    bool next();

    /// The header of the record that next() moved to.
    const RecordHeader &header() const { return m_header; }

    /// The whole data of the current record, valid until the next call; nothing
    /// when it cannot be read, and the walk has then stopped with the reason.
    std::optional<std::string_view> data();

    /// Stops the walk at the current record with `fault`.
    void fail(ScanFault fault);

    /// How the walk went: complete once next() has returned false at the end
    /// of the file; otherwise where and why it stopped. The caller keeps its
    /// own count in `idCount`.
    ScanOutcome &outcome() { return m_outcome; }

private:
    bool stop(ScanFault fault);

    ByteSource &m_source;
    std::unique_ptr<BlockBuffer> m_blocks;
    std::uint64_t m_fileSize; ///< as it was when the walk began
    std::error_code m_error; ///< of the last read, kept to spare its making per record
    ScanOutcome m_outcome;
    RecordHeader m_header;
    char m_tag[4] = {}; ///< the tag's bytes as they stand, for the outcome
    std::size_t m_tagLength = 0;
    std::uint64_t m_next = 0;
    bool m_started = false;
    bool m_stopped = false;
};

} // namespace hw

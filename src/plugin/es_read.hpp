#pragma once

#include "plugin/byte_source.hpp"
#include "plugin/code_page.hpp"
#include "plugin/record_walk.hpp"
#include "plugin/scan_outcome.hpp"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace hw {

/// Reads the NPC ids of one of the game's master or plugin files (ESM, ESP).
///
/// The file is a flat sequence of records from offset 0 to its end, the first
/// of them the "TES3" header record (a file without it is refused as not a
/// plugin); each record is a 4-byte tag, a signed 32-bit little-endian data size
/// S, 8 bytes that are not used here, then S bytes of data. The id of a record
/// tagged exactly "NPC_" is read as the game index reads it (readIdFields):
/// its sub-records are walked one by one, and the id is the data of the first
/// NAME sub-record up to its first NUL. The other records that the index
/// reads (the header, CELL, the records of other ids) are checked as it
/// checks them (checkRecord): a record without NAME, or whose sub-records
/// run past its end, stops the scan, so that a file is whole here exactly
/// when it is whole for the index.
///
/// Bytes are seen in place where the source shows them (a mapped file) and
/// are otherwise read through one block buffer (see RecordWalk); records that
/// nobody reads are passed over. The whole file is never held in memory.
class ESRead
{
public:
    static constexpr std::size_t kDefaultBufferSize = RecordWalk::kDefaultBufferSize;

    /// `bufferSize` is the largest block read at once (at least 16 bytes; the
    /// result does not depend on it).
    explicit ESRead(std::size_t bufferSize = kDefaultBufferSize);

    /// The ids of the last scan in file order, as UTF-8. After a scan it holds
    /// the ids found (also when the scan stopped early), or exactly one empty
    /// string when there were none; it is never empty. Duplicates and empty
    /// ids are kept as they stand.
    std::vector<std::string> NPCNames;

    /// Scans the file at `path`, converting ids from `page` to UTF-8. The file
    /// is open only during the call.
    ScanOutcome ReadNPCNames(const std::filesystem::path &path,
                             CodePage page = CodePage::Windows1252);

    /// Scans the bytes of `source`, as above.
    ScanOutcome ReadNPCNames(ByteSource &source, CodePage page = CodePage::Windows1252);

private:
    std::size_t m_bufferSize;
};

} // namespace hw

#pragma once

#include "data/record_kind.hpp"
#include "plugin/byte_source.hpp"
#include "plugin/code_page.hpp"
#include "plugin/plugin_header.hpp"
#include "plugin/record_walk.hpp"
#include "plugin/scan_outcome.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// A record that gives an id of a kind other than Cell.
struct IdRecord
{
    RecordKind kind = RecordKind::Npc;
    /// The record's id: its first NAME sub-record up to the first NUL.
    std::string_view id;
    /// What the author is offered: the id, or for a region its display name (FNAM).
    std::string_view shown;
    /// The record header's flags: references persist 0x400, blocked 0x2000.
    std::uint32_t flags = 0;
    /// The record holds its own DELE sub-record: it deletes the id.
    bool deleted = false;
};

/// A cell as a record or a reference names it: an interior by its name, an
/// exterior by its grid position (its name, if any, is only shown).
struct CellPlace
{
    std::string_view name;
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool interior = false;
};

/// The part of a CELL record before its first reference.
struct CellRecord
{
    CellPlace place;
    std::string_view region; ///< RGNN: the id of an exterior's region
    bool deleted = false;
};

/// One placed reference (FRMR ... NAME) inside the CELL record read last.
struct CellReference
{
    /// FRMR as stored: the low 24 bits number the reference, the top byte
    /// says whose it is (0 this file, n the file's n-th master).
    std::uint32_t refNum = 0;
    std::string_view object; ///< the id of what is placed
    bool deleted = false; ///< a DELE among the reference's sub-records
    /// Where the reference moved to (MVRF, then CNDT or CNAM before the FRMR).
    std::optional<CellPlace> movedTo;
};

/// Takes what the reader finds, in file order. Texts are UTF-8 and stay
/// valid only during the call.
class RecordSink
{
public:
    virtual ~RecordSink() = default;
    /// The master files named in the file's header (MAST), in order, each
    /// with the size its DATA gives (0 without one); names are UTF-8.
    virtual void masters(const std::vector<MasterFile> &masters) = 0;
    virtual void record(const IdRecord &record) = 0;
    virtual void cell(const CellRecord &cell) = 0;
    /// A reference inside the cell last given to cell().
    virtual void reference(const CellReference &reference) = 0;
};

/// What a long read asks of its caller. Both are optional; they are called
/// between records about once per MiB of the file.
struct ReadHooks
{
    /// True stops the read.
    std::function<bool()> cancelled;
    /// Bytes of the file read so far.
    std::function<void(std::uint64_t)> progress;
};

/// Reads the records of one master or plugin file in one pass and hands the
/// ids, cells and references to `sink`, converting texts from `page`.
///
/// Record headers and the data of the records that give ids (NPC_, CREA,
/// LEVC, the items, SPEL, ACTI, CONT, DOOR, REGN, CELL) are read through one
/// block buffer (see RecordWalk); other records are passed over. Sub-records
/// are walked one by one, each a 4-byte tag and a 32-bit length, bounded by
/// their record. The outcome's idCount counts the NPC ids given.
/// Nothing when `hooks.cancelled` stopped the read.
std::optional<ScanOutcome> readRecords(ByteSource &source, RecordSink &sink,
                                       CodePage page = CodePage::Windows1252,
                                       const ReadHooks &hooks = {},
                                       std::size_t bufferSize = RecordWalk::kDefaultBufferSize);

class RecordCombiner;

/// The same for the index's own sink, called directly instead of through
/// RecordSink: the same results, at less cost per reference. It also takes
/// the id of each script record (SCPT).
std::optional<ScanOutcome> readRecords(ByteSource &source, RecordCombiner &sink,
                                       CodePage page = CodePage::Windows1252,
                                       const ReadHooks &hooks = {},
                                       std::size_t bufferSize = RecordWalk::kDefaultBufferSize);

/// What readRecordsSplit gave.
struct SplitRead
{
    /// As readRecords gives it, unless `redo` is set.
    std::optional<ScanOutcome> outcome;
    /// The file holds what only readRecords takes exactly (a moved reference,
    /// a cell whose sub-records run past it, bytes that changed while they
    /// were read), or no second thread could be started: the sink holds part
    /// of the file, and must be put back as it was before the file is read
    /// again with readRecords.
    bool redo = false;
};

/// readRecords for the index, with the references of CELL records walked on
/// a second thread while this one reads on: on two cores the walk of a
/// master's references, much of its reading, runs beside the rest. The
/// index comes out the same. Both threads see the bytes in place through
/// sources of their own (ByteSource::another()); where the source has none,
/// nothing is read and `redo` is set. The sink must take references, and the
/// file must not have been read into it before (RecordCombiner::ownReadBefore()).
SplitRead readRecordsSplit(ByteSource &source, RecordCombiner &sink,
                           CodePage page = CodePage::Windows1252, const ReadHooks &hooks = {});

} // namespace hw
